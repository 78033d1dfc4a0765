// From inflated scanlines to bitmap pixels: undoing the scanline filters, converting rows to
// the platform's blue-green-red layouts, and placing interlaced passes. Platform-free; the
// bitmap itself is made in png_win32.cpp.
#pragma once

#include <cstdint>

#include "win32/bitmap_info_header.h"
#include "png/png_decoder.h"

// Same layout as the platform's RGBQUAD.
struct PngRgbQuad {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};
struct PngBitmapInfo {
    BitmapInfoHeader header;
    PngRgbQuad colours[256];
};
static_assert(sizeof(PngBitmapInfo) == 40 + 256 * 4);

// An output format descriptor: colour type << 24 | bit depth << 16 | 0x100 | converter index.
inline constexpr uint32_t PNG_FORMAT_DEFAULT = 0xFFFFFFFF;

struct PngOutputFormat {
    uint32_t descriptor;
    uint32_t bitmapBitsPerPixel;
};
// The formats a bitmap can be made in; the first of each colour type and depth is its default.
extern const PngOutputFormat pngOutputFormats[17];
// The format of a descriptor, or null when it is none of them.
const PngOutputFormat* findPngOutputFormat(uint32_t descriptor);

// Bytes per bitmap row: width x bits per pixel, rounded up to whole 32-bit words.
uint64_t pngBitmapStride(uint32_t width, uint32_t bitsPerPixel);

// Describes the image's default bitmap: top-down, its bit count, and the grey ramp or the
// palette as colour table (entries past the palette are zero).
void PngFillBitmapInfo(const PngDecoder* decoder, PngBitmapInfo* info, uint32_t* defaultDescriptor);

// What PngCreateBitmap does before the platform makes the bitmap: checks the state
// (PNG_ERR_STATE) and the requested descriptor (PNG_ERR_OUTPUT_FORMAT), refuses an indexed
// image without a palette (PNG_ERR_FORMAT), fills the description and gives the descriptor
// to convert with.
uint32_t PngPrepareBitmap(PngDecoder* decoder, uint32_t requested, PngBitmapInfo* info,
                          uint32_t* descriptor);

// Unfilters and converts every row into bits, which hold height rows of the bitmap's stride.
// Fails with PNG_ERR_FORMAT on a filter type above 4, PNG_ERR_STATE or PNG_ERR_OUTPUT_FORMAT
// when the image is not decoded or the descriptor is not its own, PNG_ERR_NO_MEMORY when
// its working rows cannot be had.
uint32_t PngConvertRows(PngDecoder* decoder, uint8_t* bits, uint32_t descriptor);

// A converted row, top first, as PngConvertRowsTo hands it over (valid during the call).
using PngRowSink = void (*)(void* context, uint32_t y, const uint8_t* row);

// As PngConvertRows, with each row handed to the sink as soon as it is converted instead of
// written into a bitmap, so that the picture is never whole in memory. For images without
// interlacing only: an interlaced one fails with PNG_ERR_UNSUPPORTED.
uint32_t PngConvertRowsTo(PngDecoder* decoder, uint32_t descriptor, PngRowSink sink, void* context);

// Places the first passWidth pixels of a converted pass row into their columns of the
// destination row, which holds stride bytes (zeroed beforehand when pixels are below 8 bits).
void Adam7Scatter(uint32_t pass, uint32_t outputBitsPerPixel, uint32_t stride,
                  const uint8_t* passRow, uint32_t passWidth, uint8_t* destinationRow);
