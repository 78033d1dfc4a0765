// A decoded picture as a device-independent bitmap in memory, made the way PngCreateBitmap
// makes its DIB section: for tools, tests and platforms without one.
#pragma once

#include <cstdint>
#include <vector>

#include "png/png_pixels.h"

struct PngDib {
    PngBitmapInfo info;
    uint32_t stride = 0;
    std::vector<uint8_t> bits; // rows top first, stride bytes each, starting zeroed
};

// Fills dib from a decoded picture in the given output format (or PNG_FORMAT_DEFAULT).
// Returns 0 with the reason in the decoder's last error, as PngCreateBitmap does.
uint32_t PngCreateDib(PngDecoder* decoder, uint32_t format, PngDib& dib);
