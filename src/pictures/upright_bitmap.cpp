#include "pictures/upright_bitmap.h"

#include <cstring>
#include <new>
#include <utility>

#include "pictures/exif_orientation.h"
#include "win32/dib.h"

win32::Bitmap uprightBitmap(std::vector<uint32_t> pixels, uint32_t width, uint32_t height,
                            int orientation) {
    try {
        if (orientation > 1) {
            std::vector<uint32_t> turned = orientPixels(pixels, width, height, orientation);
            pixels = std::move(turned); // the stored ones go
            if (orientationSwapsSides(orientation)) {
                std::swap(width, height);
            }
        }
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
    void* bits = nullptr;
    win32::Bitmap bitmap =
        win32::makeDibSection(nullptr, win32::dibDescription(LONG(width), -LONG(height), 32), bits);
    if (bitmap) {
        std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    }
    return bitmap;
}
