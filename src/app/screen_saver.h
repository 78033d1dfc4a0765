// Pluvette as a Windows screen saver (the same program file, named pluvette.scr): the show
// straight away, ended by any input, or a small preview inside a window of the screen-saver
// settings.
#pragma once

#include <windows.h>

// Runs the show as the screen saver until input ends it; returns the exit code.
int runScreenSaver(HINSTANCE instance);

// Fills the parent's client area with rain over a scaled-down picture until the parent goes
// away. Takes no focus, plays no music and shows no box; returns the exit code.
int runPreview(HINSTANCE instance, HWND parent);
