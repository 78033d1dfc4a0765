// Fading top-level windows in and out through layered opacity, and fonts sized in points.
#pragma once

#include <windows.h>

#include "win32/handles.h"

// Makes the window layered and shows it at opacities 0, 5, 10, ... below alphaBound, one
// step every stepDelayMs, painting between steps; it stays at the last step. With a bound of
// 0 or less it only makes the window layered. Blocks the calling thread throughout.
void fadeIn(HWND window, int stepDelayMs, int alphaBound);

// Makes the window layered and lowers it through opacities startAlpha, startAlpha - 10, ...
// above 0, one step every stepDelayMs; the window is neither hidden nor destroyed.
void fadeOut(HWND window, int stepDelayMs, int startAlpha);

// A font whose characters are the given points high at the given pixels per inch (ANSI
// character set, defaults otherwise).
win32::Font createPointFont(const char* faceName, int points, int weight, int escapement,
                            int pixelsPerInch);
