// The pixel size of a bitmap.
#pragma once

#include <windows.h>

// Width and height in pixels; 0 by 0 for none.
inline SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) {
        return {0, 0};
    }
    return {info.bmWidth, info.bmHeight};
}
