#include "pictures/exif_orientation.h"

#include <cstring>

#include "png/byte_order.h"

namespace {

constexpr int upright = 1;
constexpr uint16_t orientationTag = 0x0112;
constexpr uint16_t shortType = 3;

// The orientation in a TIFF structure's first directory, or 0 when it holds none.
int tiffOrientation(const uint8_t* tiff, size_t size) {
    if (size < 8) {
        return 0;
    }
    bool bigEndian;
    if (std::memcmp(tiff, "II", 2) == 0) {
        bigEndian = false;
    } else if (std::memcmp(tiff, "MM", 2) == 0) {
        bigEndian = true;
    } else {
        return 0;
    }
    if (ordered16(tiff + 2, bigEndian) != 42) {
        return 0;
    }
    const uint32_t directory = ordered32(tiff + 4, bigEndian);
    if (directory > size - 2) {
        return 0;
    }
    const uint32_t entries = ordered16(tiff + directory, bigEndian);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t entry = size_t(directory) + 2 + size_t(12) * i;
        if (entry + 12 > size) {
            return 0;
        }
        if (ordered16(tiff + entry, bigEndian) != orientationTag) {
            continue;
        }
        if (ordered16(tiff + entry + 2, bigEndian) != shortType ||
            ordered32(tiff + entry + 4, bigEndian) == 0) {
            return 0;
        }
        const int value = ordered16(tiff + entry + 8, bigEndian);
        return value >= 1 && value <= 8 ? value : 0;
    }
    return 0;
}

} // namespace

int exifOrientation(const uint8_t* payload, size_t size) {
    if (size < 6 || std::memcmp(payload, "Exif\0\0", 6) != 0) {
        return 0;
    }
    const int orientation = tiffOrientation(payload + 6, size - 6);
    return orientation != 0 ? orientation : upright;
}

bool orientationSwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

std::vector<uint32_t> orientPixels(const std::vector<uint32_t>& pixels, uint32_t width,
                                   uint32_t height, int orientation) {
    std::vector<uint32_t> out(size_t(width) * height);
    orientPixelsInto(pixels.data(), width, height, orientation, out.data());
    return out;
}

void orientPixelsInto(const uint32_t* pixels, uint32_t width, uint32_t height, int orientation,
                      uint32_t* out) {
    const bool swaps = orientationSwapsSides(orientation);
    const uint32_t outWidth = swaps ? height : width;
    const uint32_t outHeight = swaps ? width : height;
    for (uint32_t y = 0; y < outHeight; ++y) {
        for (uint32_t x = 0; x < outWidth; ++x) {
            // Where the pixel shown at (x, y) was stored.
            uint32_t sx = x, sy = y;
            switch (orientation) {
            case 2:
                sx = width - 1 - x;
                break;
            case 3:
                sx = width - 1 - x, sy = height - 1 - y;
                break;
            case 4:
                sy = height - 1 - y;
                break;
            case 5:
                sx = y, sy = x;
                break;
            case 6:
                sx = y, sy = height - 1 - x;
                break;
            case 7:
                sx = width - 1 - y, sy = height - 1 - x;
                break;
            case 8:
                sx = width - 1 - y, sy = x;
                break;
            default:
                break;
            }
            out[size_t(y) * outWidth + x] = pixels[size_t(sy) * width + sx];
        }
    }
}
