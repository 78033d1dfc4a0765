// The "RippleImage" child window: shows a RippleSurface and drives it with two timers, rain,
// the mouse and the close keys.
#pragma once

#include <windows.h>

#include "ripple/ripple_surface.h"

inline constexpr const char* rippleClassName = "RippleImage";

inline constexpr UINT_PTR rippleStepTimerId = 1;
inline constexpr UINT rippleStepIntervalMs = 25;
inline constexpr UINT_PTR rippleRainTimerId = 2;
inline constexpr UINT rippleRainIntervalMs = 200;

struct DropKind {
    int32_t radius;
    int32_t strength;
};
inline constexpr DropKind rainDrop{12, 42};
inline constexpr DropKind mouseMoveDrop{18, 15};
inline constexpr DropKind mouseClickDrop{50, 70};

// Backspace, Enter, Escape, 30, Space and End end the show.
inline constexpr UINT closeKeys[] = {VK_BACK, VK_RETURN, VK_ESCAPE, 30, VK_SPACE, VK_END};
bool isCloseKey(WPARAM virtualKey);

// Registers the window class once per process; true when the platform gave it an atom.
bool registerRippleClass(HINSTANCE instance);

LRESULT CALLBACK rippleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Allocates a surface of width x height, copies the background bitmap (may be null) into its
// source and creates its window at (x, y) in the parent. The window runs the first step while
// it is created. Returns null, with everything released, when any of it fails.
RippleSurface* createRippleSurface(int32_t x, int32_t y, int32_t width, int32_t height,
                                   unsigned controlId, HWND parent, HINSTANCE instance,
                                   HBITMAP background);
