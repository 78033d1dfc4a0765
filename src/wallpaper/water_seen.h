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

// Looks at a grid of 48 points of each frame's area, those at which the screen shows the water
// itself or the icons' view it lies under (icons may cover a few: most must match, not all),
// each read from the composed screen and compared with the frame within a small tolerance
// for colour management. Unknown when fewer than 8 points could be looked at (other windows
// over every monitor).
WaterSeen watersSeen(const std::vector<ShownFrame>& frames, HWND icons);

// Whether a pixel read from the screen shows the one drawn, within the tolerance.
bool pixelShown(uint32_t onScreen, uint32_t drawn);
