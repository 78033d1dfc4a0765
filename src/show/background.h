// The picture under the water: a capture of the screen or a picture file, and scaling.
// Every bitmap comes back in an owner that deletes it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "show/placement.h"
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

// A picture file, read and checked by readPictureFile, through the decoder its first bytes
// name: a PNG through the program's own decoder; a JPEG, GIF or BMP through the platform's
// picture service or, where that fails, the Windows Imaging Component, which reads the other
// formats; null when the file cannot be loaded (a path longer than the platform's limit, and a
// file in which any image is too large to show safely, among them).
win32::Bitmap loadBackground(const char* path);

// As loadBackground, for a worker thread that decodes while a window's thread draws: JPEG,
// GIF and BMP files go to the imaging component first (turned as a photo's EXIF orientation
// says), which makes no bitmap for the screen on the way; the picture service only where it
// cannot read them. (Under Wine the service's screen bitmaps held up the drawing thread's
// steps by five intervals.)
win32::Bitmap loadBackgroundInWorker(const char* path);

// A PNG file as a DIB section in its own pixel format; null when it is no PNG, cannot be
// decoded or declares more than maxPicturePixels.
win32::Bitmap loadPngBitmap(const char* path);
