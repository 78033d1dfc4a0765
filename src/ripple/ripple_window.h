// The "RippleImage" child window: shows a RippleSurface and drives it with two timers and the
// rain, makes ripples where the pointer moves and clicks, and reports its input and its end to
// whoever hosts it. It knows nothing of what the host does with them. Calm water rests: its
// step timer stops until a drop falls or a picture comes in, so that still water costs
// nothing.
#pragma once

#include <windows.h>

#include <vector>

#include "ripple/rain.h"
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

// What a water window tells the window that hosts it. Called on the window's thread.
class RippleHost {
  public:
    // A key, a mouse button, the wheel or a pointer move reached the water; true when the host
    // took it, so that the water makes no ripple of it.
    virtual bool waterInput(HWND water, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The water's window is being destroyed, and its surface with it.
    virtual void waterGone(HWND water) = 0;
    // The water is about to step: the host may add drops first.
    virtual void waterStepping(HWND water) { static_cast<void>(water); }

  protected:
    ~RippleHost() = default;
};

// How one water behaves, fixed when its window is made.
struct RippleOptions {
    RainAmount rain = RainAmount::normal;
    bool pointerRipples = true;  // the pointer's moves and left clicks make ripples
    bool takesActivation = true; // false for a window inside another program's (a preview)
    RippleHost* host = nullptr;  // told of input and of the end; none when null
    // The window's styles: a child by default; a top-level water is a popup.
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    bool staysAtBottom = false;  // a top-level water never comes above another window
    bool pictureAtEdges = false; // the ring no step writes shows the picture, not black
    // A rain tick steps the water as well as dropping the rain, as the show always has; when
    // false the drops wait for the next step, and the water steps 40 times a second, not 45.
    bool rainSteps = true;
};

// Registers the window class once per process; true when the platform gave it an atom.
bool registerRippleClass(HINSTANCE instance);

LRESULT CALLBACK rippleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The surface a water window shows, or null for any other window.
RippleSurface* rippleSurfaceOf(HWND window);

// Stops the window's water where it is (no timer runs, the window still paints), or starts
// it again from there. Nothing for any other window.
void pauseWater(HWND window, bool paused);

// Whether the window's water is stopped by pauseWater.
bool waterPaused(HWND window);

// Has the rain given fall on the window's water from now on.
void setWaterRain(HWND window, RainAmount rain);

// Starts the steps of a water that rests because it is calm (not of a paused one), as a drop
// does: its host follows the pointer as it steps.
void wakeWater(HWND window);

// Drops a ripple of the kind at (x, y) in the window's water, as the pointer does.
void dropOnWater(HWND window, int32_t x, int32_t y, DropKind kind);

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
                                   HBITMAP background, const RippleOptions& options = {});
