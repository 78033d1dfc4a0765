// The "RippleImage" child window: shows a RippleSurface and drives it with two timers, rain,
// the mouse and the close keys.
#pragma once

#include <windows.h>

#include <vector>

#include "ripple/rain.h"
#include "ripple/ripple_surface.h"

inline constexpr const char* rippleClassName = "RippleImage";

// Program-wide state the show sets for the water it holds, declared here, with the lowest
// layer that reads it: the show's window receives the water's close requests (none while
// null).
extern HWND effectWindow;

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

// Backspace, Enter, Escape, the input method's accept key (30), Space and End end the show.
inline constexpr UINT closeKeys[] = {VK_BACK, VK_RETURN, VK_ESCAPE, VK_ACCEPT, VK_SPACE, VK_END};
bool isCloseKey(WPARAM virtualKey);

// How much it rains on every water; set by the show.
extern RainAmount rainAmount;

// How the window answers the mouse and the keyboard: the show's ripples under the pointer,
// clicks and close keys; a screen saver's end on any key, any button or the pointer moving
// away from where it was (no ripples from the pointer); or, for a preview, not at all.
enum class RippleInput { interactive, endOnInput, none };
extern RippleInput rippleInput;

// How far the pointer may move from where it was at the start before a screen saver ends.
inline constexpr int pointerSlackPixels = 4;
// Notes where the pointer is said to be as a screen saver starts; pointerMovedAway, for a
// mouse message, then tells whether it has gone past the slack since its first move.
void rememberPointerStart();
bool pointerMovedAway();
// Whether the message ends a screen saver: any key, any mouse button or wheel, or a pointer
// move past the slack.
bool endsScreenSaver(UINT message);

// Registers the window class once per process; true when the platform gave it an atom.
bool registerRippleClass(HINSTANCE instance);

LRESULT CALLBACK rippleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window of a surface takes it over: the surface lives until the window is destroyed.
// Returns the surface, now the window's.
RippleSurface* adoptRippleSurface(OwnedRippleSurface surface);

// Steps over which a new picture comes in under the water: about a second.
inline constexpr int32_t pictureFadeSteps = 1000 / rippleStepIntervalMs;

// Brings a new picture (the surface's width x height, 0x00RRGGBB, rows top first) in under the
// window's water over pictureFadeSteps steps. False, changing nothing, when it does not fit.
bool fadeInPicture(HWND window, std::vector<uint32_t> picture);

// Fades the picture under the window's water to itself with every channel scaled by
// keep / 256, over pictureFadeSteps steps.
void dimPicture(HWND window, uint32_t keep);

// Allocates a surface of width x height, copies the background bitmap (may be null) into its
// source and creates its window at (x, y) in the parent, which then owns the surface. The
// window runs the first step while it is created. Returns the window's surface, or null,
// with everything released, when any of it fails.
RippleSurface* createRippleSurface(int32_t x, int32_t y, int32_t width, int32_t height,
                                   unsigned controlId, HWND parent, HINSTANCE instance,
                                   HBITMAP background);
