// A device-independent bitmap as the bytes of a .bmp file.
#pragma once

#include <cstdint>
#include <vector>

#include "png/png_dib.h"

// The 14-byte file header, the 40-byte info header and the colour table (biClrUsed entries,
// or 2^bits for 1, 4 and 8 bits per pixel when that is 0) of a file whose rows, rowsSize
// bytes in all, follow them as they stand.
std::vector<uint8_t> bmpFileHeaders(const PngBitmapInfo& info, uint64_t rowsSize);

// Whether the file's 32-bit size field can hold the whole file.
bool fitsBmpFile(const PngBitmapInfo& info, uint64_t rowsSize);

// The headers followed by the bitmap's rows.
std::vector<uint8_t> encodeBmpFile(const PngDib& dib);
