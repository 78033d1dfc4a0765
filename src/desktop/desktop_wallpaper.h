// The desktop's own wallpaper: what the water shows when it lies on the desktop and the
// screen is chosen, since a capture would hold the windows and icons over it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How the desktop lays its picture over a monitor.
enum class WallpaperFit { centre, tile, stretch, fit, fill, span };

struct DesktopPicture {
    std::string path; // UTF-8; empty when the desktop shows its colour alone
    WallpaperFit fit = WallpaperFit::fill;
    COLORREF colour = RGB(0, 0, 0); // around the picture, or everywhere without one
};

// For each monitor given (areas of the virtual screen), the picture the desktop shows there:
// each monitor's own where the system keeps one per monitor, else the one picture, else the
// background colour.
std::vector<DesktopPicture> desktopPictures(const std::vector<RECT>& monitors);

// The fit that Control Panel\Desktop's WallpaperStyle and TileWallpaper values name.
WallpaperFit fitOfStyle(int wallpaperStyle, bool tiled);

// Has the desktop draw its own wallpaper again, as it was, over whatever covered it, without
// touching the wallpaper setting itself.
void repaintDesktopWallpaper();
