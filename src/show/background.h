// The picture under the water: a capture of the screen or a picture file, and scaling.
// Every bitmap returned belongs to the caller.
#pragma once

#include <windows.h>

#include <cstdint>

// What the display shows now, as a bottom-up 24-bit DIB section; null on failure.
HBITMAP captureScreen();

// A new bitmap of exactly width x height holding the source stretched over it (proportions
// not kept); null on failure. The source stays as it is.
HBITMAP stretchBitmap(HBITMAP source, uint16_t width, uint16_t height);

// A ".png" file (any case) through the program's PNG decoder, anything else through the
// platform's picture service; null when the file cannot be loaded (a path longer than the
// platform's limit, and a picture too large to show safely, among them).
HBITMAP loadBackground(const char* path);

// A PNG file as a DIB section in its own pixel format; null when it cannot be decoded or
// declares more than maxPicturePixels.
HBITMAP loadPngBitmap(const char* path);
