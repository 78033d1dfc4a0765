// Helpers shared by the decoder's stages.
#pragma once

#include <cstddef>
#include <cstdint>

#include "png/byte_order.h"
#include "png/png_decoder.h"

inline constexpr uint8_t pngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// Inflates the stream that starts at the first IDAT chunk into the inflated buffer. Output
// short of the buffer is zero-filled. Fails with PNG_ERR_FORMAT on any data error.
uint32_t Inflate(PngDecoder* decoder);

// True, with PNG_ERR_STOPPED set, once the decoder's stop flag has turned true.
inline bool pngStopped(PngDecoder* decoder) {
    if (decoder->stop == nullptr || !decoder->stop->load(std::memory_order_relaxed)) {
        return false;
    }
    decoder->lastError = PNG_ERR_STOPPED;
    return true;
}

// True, with PNG_ERR_BUSY set, when the decoder already holds a picture.
bool pngIsBusy(PngDecoder* decoder);

// Takes bytes as the decoder's input without copying them and walks their chunks. On
// failure the source kind goes back to none and the caller frees what it owns.
uint32_t pngLoadInPlace(PngDecoder* decoder, const uint8_t* data, uint32_t size, uint32_t kind);

// Waits until the inflated bytes before end are final (at once unless PngDecodeConcurrently
// inflates), or with pngWholeStream until the stream has been read to its end; false, with
// PNG_ERR_FORMAT set, when the stream turned out broken.
inline constexpr size_t pngWholeStream = SIZE_MAX;
bool pngWaitForInflated(PngDecoder* decoder, size_t end);

// The inflated row of length bytes (its filter-type byte and its pixels) at offset, once it
// and the unfilterSlack bytes after it are final; null, with the error set, when the stream
// turned out broken or the row is no longer held. Rows are read in the stream's order.
const uint8_t* pngInflatedRow(PngDecoder* decoder, size_t offset, size_t length);
// The inflated bytes before offset will not be read again (pngWholeStream: no more bytes
// will be), so that a large picture's inflate can reuse their memory.
void pngReleaseInflated(PngDecoder* decoder, size_t offset);
