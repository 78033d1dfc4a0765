// Whether the water's pixels reach the screen. Windows composes the desktop's windows itself,
// and may leave a window that one program puts inside the shell's undrawn (a layered child
// drawn with GDI on Windows 11 24H2, by one report), which no call says beforehand: the
// program looks, reading points of the composed screen where the water is what the user
// should see, and comparing them with the frame it drew there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

enum class WaterSeen { yes, no, unknown };

struct ShownFrame {
    HWND window;            // the water
    RECT area;              // on the virtual screen
    const uint32_t* pixels; // the frame it shows, 0x00RRGGBB, rows top first, the area's size
};

// A point to look at: where on the virtual screen, which water should show there, and the
// pixel it drew.
struct LookPoint {
    POINT at;
    HWND water;
    uint32_t drawn;
};

// A grid of 48 points of each frame's area with the pixels drawn there, taken while the
// frames are held still.
std::vector<LookPoint> pointsToLook(const std::vector<ShownFrame>& frames);

// Looks at the points at which the screen shows the water itself or the icons' view it lies
// under (icons may cover a few: most must match, not all), each read from the composed
// screen and compared with the pixel drawn within a small tolerance for colour management.
// Unknown when fewer than 8 points could be looked at (other windows over every monitor).
// Reading the screen waits for whatever composes it: a window's thread leaves this to
// another.
WaterSeen watersSeen(const std::vector<LookPoint>& points, HWND icons);

// Whether a pixel read from the screen shows the one drawn, within the tolerance.
bool pixelShown(uint32_t onScreen, uint32_t drawn);
