// Device-independent bitmaps: how they are described and made.
#pragma once

#include <windows.h>

#include "win32/handles.h"

namespace win32 {

// An uncompressed bitmap of width x height pixels at the given depth, rows top first for a
// negative height.
inline BITMAPINFO dibDescription(LONG width, LONG height, WORD bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A DIB section of the description, for the device context (may be null); bits receives its
// pixels. Empty on failure.
inline Bitmap makeDibSection(HDC dc, const BITMAPINFO& info, void*& bits) {
    bits = nullptr;
    Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    return bits != nullptr ? std::move(bitmap) : Bitmap();
}

} // namespace win32
