// Helpers shared by the decoder's stages.
#pragma once

#include <cstdint>

#include "imaging/png_decoder.h"

inline uint32_t readBigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// True, with PNG_ERR_BUSY set, when the decoder already holds a picture.
bool pngIsBusy(PngDecoder* decoder);

// Takes bytes as the decoder's input without copying them and walks their chunks. On
// failure the source kind goes back to none and the caller frees what it owns.
uint32_t pngLoadInPlace(PngDecoder* decoder, const uint8_t* data, uint32_t size, uint32_t kind);
