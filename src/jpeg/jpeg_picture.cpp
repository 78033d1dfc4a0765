#include "jpeg/jpeg_picture.h"

#include <algorithm>
#include <new>

int jpeg_detail::stopAsked(void* context) {
    return static_cast<const std::atomic<bool>*>(context)->load(std::memory_order_relaxed) ? 1 : 0;
}

unsigned jpegCoveringEighths(uint32_t width, uint32_t height, uint32_t wantedWidth,
                             uint32_t wantedHeight) {
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
        if (jpegScaledSide(width, eighths) >= wantedWidth &&
            jpegScaledSide(height, eighths) >= wantedHeight) {
            return eighths;
        }
    }
    return 8;
}

JpegPicture decodeJpeg(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                       uint64_t maxPixels, const std::atomic<bool>* stop) {
    JpegPicture picture;
    uint32_t* next = nullptr;
    const auto start = [&](uint32_t width, uint32_t height) noexcept {
        const uint64_t count = uint64_t(width) * height;
        if (count == 0 || count > maxPixels) {
            return false;
        }
        try {
            picture.pixels.resize(size_t(count));
        } catch (const std::bad_alloc&) {
            return false;
        }
        picture.width = width;
        picture.height = height;
        next = picture.pixels.data();
        return true;
    };
    const auto addRow = [&](const uint32_t* row) noexcept {
        std::copy_n(row, picture.width, next);
        next += picture.width;
    };
    picture.outcome = decodeJpegRows(data, size, eighths, memoryLimit, start, addRow, stop);
    if (picture.outcome != jpegDone) {
        picture.pixels = {};
    }
    return picture;
}
