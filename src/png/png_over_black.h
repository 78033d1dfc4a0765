// Composing a PNG's transparent parts over black, for a picture shown without its alpha: an
// alpha channel scales the colours it covers, and a tRNS chunk blackens the key colour of a
// grey or colour picture, or scales the palette entries it gives an alpha.
#pragma once

#include <cstdint>

#include "png/png_decoder.h"

// A sample of bits bits composed over black with an alpha of the same depth, rounded.
inline uint32_t overBlack(uint32_t sample, uint32_t alpha, uint32_t bits) {
    const uint32_t largest = (1u << bits) - 1;
    return static_cast<uint32_t>((uint64_t(sample) * alpha + largest / 2) / largest);
}

// Whether composing changes the picture's rows: an alpha channel, or a usable tRNS key colour.
bool pngRowsNeedComposing(const PngDecoder* decoder);

// The alpha a usable tRNS chunk gives palette entry index: 255 past its end or without one.
uint8_t pngPaletteAlpha(const PngDecoder* decoder, uint32_t index);

// Writes a reconstructed row of width pixels and rowBytes bytes, composed over black, to out
// in the same layout (alpha samples kept).
void composeRowOverBlack(const PngDecoder* decoder, const uint8_t* row, uint8_t* out,
                         uint32_t width, uint32_t rowBytes);
