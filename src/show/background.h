// The picture under the water: a capture of the screen, and a decoded picture laid on a screen.
// Every bitmap comes back in an owner that deletes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture_decoder.h"
#include "pictures/placement.h"
#include "win32/handles.h"

// What the display shows now in an area of the virtual screen, or on the primary monitor,
// as a bottom-up 24-bit DIB section; null on failure.
win32::Bitmap captureScreen(const RECT& area);
win32::Bitmap captureScreen();

// A new bitmap of exactly width x height holding the source stretched over it (proportions
// not kept); null on failure. The source stays as it is.
win32::Bitmap stretchBitmap(HBITMAP source, uint16_t width, uint16_t height);

// A new bitmap of the screen's size, black, with the source drawn over it at the placement's
// scaled size and place (parts off the screen cut off), averaging its pixels; null on failure.
win32::Bitmap drawScaled(HBITMAP source, int32_t screenWidth, int32_t screenHeight,
                         const PicturePlacement& place);

// Draws the picture scaled to the rectangle `to` (which may reach off the canvas) on a 32-bit
// top-down canvas of width x height by averaging areas, as the work says; false, with nothing
// drawn, when the picture is no 24- or 32-bit DIB section or `to` is larger than it either
// way (the platform's stretch then draws it).
bool drawByAreaAveraging(HBITMAP picture, void* canvasBits, int32_t width, int32_t height,
                         const RECT& to, PictureWork work);

// The picture as the placement lays it over a screen of width x height: a new bitmap of the
// screen's size when it is scaled or stretched (empty on failure), else the picture itself,
// to be shown at its own size from the placement's corner.
struct PlacedPicture {
    HBITMAP shown;
    POINT corner;
    win32::Bitmap made; // the bitmap made for the screen, which shown then is
};
PlacedPicture placedPicture(HBITMAP picture, int32_t screenWidth, int32_t screenHeight,
                            const PicturePlacement& place);
