#include "png/png_over_black.h"

#include <cstring>

#include "png/byte_order.h"

namespace {

// The tRNS chunk's data when it suits the picture: a key sample for grey, a key colour for
// red-green-blue, one alpha per palette entry at most, after the palette.
bool usableTransparency(const PngDecoder* decoder) {
    const uint32_t length = decoder->transparencyLength;
    if (decoder->transparencyData == nullptr) {
        return false;
    }
    switch (decoder->colourType) {
    case 0:
        return length == 2;
    case 2:
        return length == 6;
    case 3:
        return decoder->paletteData != nullptr && length != 0 && length <= decoder->paletteCount &&
               decoder->transparencyData > decoder->paletteData;
    default:
        return false;
    }
}

// Key samples are compared at the picture's depth, as other decoders do.
uint32_t keySample(const PngDecoder* decoder, uint32_t channel) {
    const uint32_t mask = decoder->bitDepth == 16 ? 0xFFFF : (1u << decoder->bitDepth) - 1;
    return bigEndian16(decoder->transparencyData + 2 * channel) & mask;
}

void blackenKeyPixels(const PngDecoder* decoder, uint8_t* out, uint32_t width) {
    const uint32_t depth = decoder->bitDepth;
    if (decoder->colourType == 0 && depth < 8) {
        const uint32_t key = keySample(decoder, 0);
        const uint32_t mask = (1u << depth) - 1;
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t at = x * depth;
            const uint32_t shift = 8 - depth - at % 8;
            if (((out[at / 8] >> shift) & mask) == key) {
                out[at / 8] = static_cast<uint8_t>(out[at / 8] & ~(mask << shift));
            }
        }
        return;
    }
    const uint32_t channels = decoder->colourType == 0 ? 1 : 3;
    const uint32_t sampleBytes = depth / 8;
    const uint32_t pixelBytes = channels * sampleBytes;
    uint32_t key[3] = {};
    for (uint32_t c = 0; c < channels; ++c) {
        key[c] = keySample(decoder, c);
    }
    for (uint32_t x = 0; x < width; ++x) {
        uint8_t* pixel = out + size_t(x) * pixelBytes;
        bool matches = true;
        for (uint32_t c = 0; c < channels && matches; ++c) {
            const uint8_t* sample = pixel + c * sampleBytes;
            matches = (sampleBytes == 2 ? bigEndian16(sample) : sample[0]) == key[c];
        }
        if (matches) {
            std::memset(pixel, 0, pixelBytes);
        }
    }
}

void scaleByAlpha(const PngDecoder* decoder, uint8_t* out, uint32_t width) {
    const uint32_t colours = decoder->colourType == 4 ? 1 : 3;
    if (decoder->bitDepth == 8) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* pixel = out + size_t(x) * (colours + 1);
            for (uint32_t c = 0; c < colours; ++c) {
                pixel[c] = static_cast<uint8_t>(overBlack(pixel[c], pixel[colours], 8));
            }
        }
        return;
    }
    for (uint32_t x = 0; x < width; ++x) {
        uint8_t* pixel = out + size_t(x) * (colours + 1) * 2;
        const uint32_t alpha = bigEndian16(pixel + 2 * colours);
        for (uint32_t c = 0; c < colours; ++c) {
            const uint32_t value = overBlack(bigEndian16(pixel + 2 * c), alpha, 16);
            pixel[2 * c] = static_cast<uint8_t>(value >> 8);
            pixel[2 * c + 1] = static_cast<uint8_t>(value);
        }
    }
}

} // namespace

bool pngRowsNeedComposing(const PngDecoder* decoder) {
    return decoder->colourType == 4 || decoder->colourType == 6 ||
           (decoder->colourType != 3 && usableTransparency(decoder));
}

uint8_t pngPaletteAlpha(const PngDecoder* decoder, uint32_t index) {
    return decoder->colourType == 3 && usableTransparency(decoder) &&
                   index < decoder->transparencyLength
               ? decoder->transparencyData[index]
               : 255;
}

void composeRowOverBlack(const PngDecoder* decoder, const uint8_t* row, uint8_t* out,
                         uint32_t width, uint32_t rowBytes) {
    std::memcpy(out, row, rowBytes);
    if (decoder->colourType == 4 || decoder->colourType == 6) {
        scaleByAlpha(decoder, out, width);
    } else if (usableTransparency(decoder)) {
        blackenKeyPixels(decoder, out, width);
    }
}
