#include "png_picture.h"

#include <cstring>
#include <limits>

#include "png/png_decoder.h"
#include "png/png_dib.h"

namespace {

uint32_t colourAt(const PngDib& dib, uint32_t x, uint32_t y) {
    const uint32_t bits = dib.info.header.biBitCount;
    const uint8_t* row = dib.bits.data() + size_t(y) * dib.stride;
    if (bits <= 8) {
        const uint32_t at = x * bits;
        const uint32_t index = (row[at / 8] >> (8 - bits - at % 8)) & ((1u << bits) - 1);
        const PngRgbQuad& q = dib.info.colours[index];
        return uint32_t(q.red) << 16 | uint32_t(q.green) << 8 | q.blue;
    }
    const uint8_t* pixel = row + size_t(x) * (bits / 8);
    return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
}

} // namespace

bool isPng(const std::vector<uint8_t>& bytes) {
    static const uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), signature, 8) == 0;
}

bool decodePngPicture(const std::vector<uint8_t>& bytes, RgbPicture& picture, std::string& error) {
    if (bytes.size() > std::numeric_limits<uint32_t>::max()) {
        error = "file too large";
        return false;
    }
    PngDecoder decoder;
    PngInit(&decoder);
    PngDib dib;
    // The surface's size is checked before the picture is decoded: a few bytes can claim
    // any size.
    const bool loaded = PngLoadMemory(&decoder, bytes.data(), uint32_t(bytes.size()));
    const uint32_t width = decoder.width, height = decoder.height;
    if (loaded && uint64_t(width) * height > std::numeric_limits<int32_t>::max() / 4) {
        PngRelease(&decoder);
        error = "picture size out of range";
        return false;
    }
    const bool decoded =
        loaded && PngDecode(&decoder) && PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, dib);
    const uint32_t code = decoder.lastError;
    PngRelease(&decoder);
    if (!decoded) {
        error = std::string("PNG not decoded: ") + pngErrorName(code);
        return false;
    }
    picture.width = int32_t(width);
    picture.height = int32_t(height);
    picture.pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            picture.pixels[size_t(y) * width + x] = colourAt(dib, x, y);
        }
    }
    return true;
}
