#include "png/png_dib.h"

#include <cstddef>
#include <new>

uint32_t PngCreateDib(PngDecoder* decoder, uint32_t format, PngDib& dib) {
    uint32_t descriptor = 0;
    if (!PngPrepareBitmap(decoder, format, &dib.info, &descriptor)) {
        return 0;
    }
    const uint64_t stride = pngBitmapStride(decoder->width, dib.info.header.biBitCount);
    const uint64_t size = stride * decoder->height;
    try {
        dib.bits.assign(size_t(size), 0);
    } catch (const std::bad_alloc&) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return 0;
    }
    dib.stride = static_cast<uint32_t>(stride);
    return PngConvertRows(decoder, dib.bits.data(), descriptor);
}
