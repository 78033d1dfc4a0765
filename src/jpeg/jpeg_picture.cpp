#include "jpeg/jpeg_picture.h"

#include <new>

namespace {

int stopAsked(void* context) {
    return static_cast<const std::atomic<bool>*>(context)->load(std::memory_order_relaxed) ? 1 : 0;
}

} // namespace

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
    picture.outcome = jpegScaledSize(data, size, eighths, &picture.width, &picture.height);
    if (picture.outcome != jpegDone) {
        return picture;
    }
    const uint64_t count = uint64_t(picture.width) * picture.height;
    if (count == 0 || count > maxPixels) {
        picture.outcome = jpegUnreadable;
        return picture;
    }
    try {
        picture.pixels.resize(size_t(count));
    } catch (const std::bad_alloc&) {
        picture.outcome = jpegUnreadable;
        return picture;
    }
    picture.outcome =
        jpegDecodeScaled(data, size, eighths, memoryLimit, picture.pixels.data(), picture.width,
                         picture.width, picture.height, stop != nullptr ? stopAsked : nullptr,
                         const_cast<void*>(static_cast<const void*>(stop)));
    if (picture.outcome != jpegDone) {
        picture.pixels = {};
    }
    return picture;
}
