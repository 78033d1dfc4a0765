// JPEG pictures decoded whole or at a fraction of their size, which libjpeg-turbo's DCT gives
// for a fraction of the work: a photo shown on a smaller screen is never decoded at full size.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg/jpeg_calls.h"

// The length a side of the picture decodes to at eighths / 8 of it: rounded up, as the
// decoder does.
constexpr uint32_t jpegScaledSide(uint32_t side, unsigned eighths) {
    return uint32_t((uint64_t(side) * eighths + 7) / 8);
}

// The fewest eighths (1 to 8) at which a picture of width x height, as stored, is at least
// wantedWidth x wantedHeight; 8 when only the whole picture is.
unsigned jpegCoveringEighths(uint32_t width, uint32_t height, uint32_t wantedWidth,
                             uint32_t wantedHeight);

struct JpegPicture {
    JpegOutcome outcome = jpegUnreadable;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels; // width x height 0xFFRRGGBB, rows top first
};

// The picture decoded at eighths / 8 of its size, its rows handed to addRow as they come
// (width pixels 0xFFRRGGBB, top first), once start(width, height) has said yes; unreadable
// when start says no. Neither may throw. Otherwise as decodeJpeg.
template <typename Start, typename AddRow>
JpegOutcome decodeJpegRows(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                           Start start, AddRow addRow, const std::atomic<bool>* stop = nullptr);

// The picture decoded at eighths / 8 of its size, the decoder taking at most memoryLimit bytes
// of its own; unreadable when it would make more than maxPixels pixels or memory runs out.
// Once stop (when given) turns true, the decode ends within a band of rows or a scan.
JpegPicture decodeJpeg(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                       uint64_t maxPixels, const std::atomic<bool>* stop = nullptr);

namespace jpeg_detail {
int stopAsked(void* context);
template <typename AddRow> void takeRow(void* context, const uint32_t* row) {
    (*static_cast<AddRow*>(context))(row);
}
} // namespace jpeg_detail

template <typename Start, typename AddRow>
JpegOutcome decodeJpegRows(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                           Start start, AddRow addRow, const std::atomic<bool>* stop) {
    uint32_t width = 0, height = 0;
    const JpegOutcome sized = jpegScaledSize(data, size, eighths, &width, &height);
    if (sized != jpegDone) {
        return sized;
    }
    if (!start(width, height)) {
        return jpegUnreadable;
    }
    return jpegDecodeScaled(data, size, eighths, memoryLimit, width, height,
                            jpeg_detail::takeRow<AddRow>, &addRow,
                            stop != nullptr ? jpeg_detail::stopAsked : nullptr,
                            const_cast<void*>(static_cast<const void*>(stop)));
}
