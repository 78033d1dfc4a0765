#include "png/png_pixels.h"

#include <algorithm>
#include <memory>
#include <new>
#include <cstdint>
#include <cstring>
#include <limits>

#include "png/png_filters.h"
#include "png/png_internal.h"
#include "png/png_over_black.h"
#include "png/row_converters.h"

const PngOutputFormat pngOutputFormats[17] = {
    {0x00010100, 1},  {0x0002010B, 4},  {0x00040100, 4}, {0x00080100, 8},  {0x00100106, 8},
    {0x0208010C, 24}, {0x02100107, 24}, {0x03010100, 1}, {0x0302010B, 4},  {0x03040100, 4},
    {0x03080100, 8},  {0x04080106, 8},  {0x0410010A, 8}, {0x0608010E, 32}, {0x06100109, 32},
    {0x0608010D, 24}, {0x06100108, 24},
};

namespace {

uint32_t imageKey(const PngDecoder* decoder) {
    return uint32_t(decoder->colourType) << 24 | uint32_t(decoder->bitDepth) << 16;
}

const PngOutputFormat* defaultFormat(const PngDecoder* decoder) {
    for (const PngOutputFormat& format : pngOutputFormats) {
        if ((format.descriptor & 0xFFFF0000u) == imageKey(decoder)) {
            return &format;
        }
    }
    return nullptr;
}

uint32_t greyRampSize(const PngDecoder* decoder) {
    if (decoder->colourType == 4 || decoder->bitDepth >= 8) {
        return 256;
    }
    return 1u << decoder->bitDepth;
}

// Scanline workspace: two rows used in turn, a zero row standing for "no row above" and a row
// for the composed pixels, each with the slack the reconstruction may touch.
class Scanlines {
  public:
    explicit Scanlines(uint32_t rowBytes)
        : stride_((size_t(rowBytes) + unfilterSlack + 15) & ~size_t(15)),
          memory_(new (std::nothrow) uint8_t[4 * stride_]()) {}

    bool ok() const { return memory_ != nullptr; }
    uint8_t* zeroRow() const { return memory_.get() + 2 * stride_; }
    uint8_t* composedRow() const { return memory_.get() + 3 * stride_; }
    // A buffer to reconstruct into that is not the row above.
    uint8_t* bufferOtherThan(const uint8_t* above) const {
        return above == memory_.get() ? memory_.get() + stride_ : memory_.get();
    }

  private:
    size_t stride_;
    std::unique_ptr<uint8_t[]> memory_;
};

// Reconstructs one row that follows its filter-type byte at in; gives the row's pixels,
// in place when it was not filtered. Null for an unknown filter type.
const uint8_t* reconstructRow(const uint8_t* in, uint32_t length, uint32_t unit,
                              const uint8_t* above, const Scanlines& scanlines) {
    const uint8_t type = in[0];
    if (type == 0) {
        return in + 1;
    }
    uint8_t* out = scanlines.bufferOtherThan(above);
    return unfilterRow(type, in + 1, above, out, length, unit) ? out : nullptr;
}

} // namespace

const PngOutputFormat* findPngOutputFormat(uint32_t descriptor) {
    for (const PngOutputFormat& format : pngOutputFormats) {
        if (format.descriptor == descriptor) {
            return &format;
        }
    }
    return nullptr;
}

uint64_t pngBitmapStride(uint32_t width, uint32_t bitsPerPixel) {
    return (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
}

void PngFillBitmapInfo(const PngDecoder* decoder, PngBitmapInfo* info,
                       uint32_t* defaultDescriptor) {
    std::memset(info, 0, sizeof(*info));
    const PngOutputFormat* format = defaultFormat(decoder);
    info->header.biSize = 40;
    info->header.biWidth = static_cast<int32_t>(decoder->width);
    info->header.biHeight = -static_cast<int32_t>(decoder->height);
    info->header.biPlanes = 1;
    info->header.biBitCount =
        static_cast<uint16_t>(format != nullptr ? format->bitmapBitsPerPixel : 0);
    if (decoder->colourType == 0 || decoder->colourType == 4) {
        const uint32_t entries = greyRampSize(decoder);
        for (uint32_t i = 0; i < entries; ++i) {
            const auto level = static_cast<uint8_t>(i * 255 / (entries - 1));
            info->colours[i] = {level, level, level, 0};
        }
        info->header.biClrUsed = entries;
    } else if (decoder->colourType == 3 && decoder->paletteData != nullptr) {
        const uint32_t entries = std::min<uint32_t>(decoder->paletteCount, 256);
        for (uint32_t i = 0; i < entries; ++i) {
            const uint8_t* rgb = decoder->paletteData + 3 * i;
            const uint32_t alpha = decoder->overBlack ? pngPaletteAlpha(decoder, i) : 255;
            auto shown = [&](uint8_t sample) {
                return static_cast<uint8_t>(overBlack(sample, alpha, 8));
            };
            info->colours[i] = {shown(rgb[2]), shown(rgb[1]), shown(rgb[0]), 0};
        }
    }
    *defaultDescriptor = format != nullptr ? format->descriptor : 0;
}

uint32_t PngPrepareBitmap(PngDecoder* decoder, uint32_t requested, PngBitmapInfo* info,
                          uint32_t* descriptor) {
    if (decoder->state != PNG_STATE_DECODED) {
        decoder->lastError = PNG_ERR_STATE;
        return 0;
    }
    if (requested != PNG_FORMAT_DEFAULT) {
        const PngOutputFormat* format = findPngOutputFormat(requested);
        if (format == nullptr || (requested & 0xFFFF0000u) != imageKey(decoder)) {
            decoder->lastError = PNG_ERR_OUTPUT_FORMAT;
            return 0;
        }
    }
    // An indexed picture without a palette has no colours to show.
    if (decoder->colourType == 3 && decoder->paletteData == nullptr) {
        decoder->lastError = PNG_ERR_FORMAT;
        return 0;
    }
    // A bitmap's sides are signed 32-bit numbers.
    if (decoder->width > uint32_t(std::numeric_limits<int32_t>::max()) ||
        decoder->height > uint32_t(std::numeric_limits<int32_t>::max())) {
        decoder->lastError = PNG_ERR_BITMAP;
        return 0;
    }
    PngFillBitmapInfo(decoder, info, descriptor);
    if (requested != PNG_FORMAT_DEFAULT) {
        *descriptor = requested;
        info->header.biBitCount =
            static_cast<uint16_t>(findPngOutputFormat(requested)->bitmapBitsPerPixel);
    }
    return 1;
}

void Adam7Scatter(uint32_t pass, uint32_t outputBitsPerPixel, uint32_t stride,
                  const uint8_t* passRow, uint32_t passWidth, uint8_t* destinationRow) {
    const Adam7Pass& p = adam7Passes[pass];
    const uint64_t rowBits = uint64_t(stride) * 8;
    if (outputBitsPerPixel >= 8) {
        const uint32_t pixelBytes = outputBitsPerPixel / 8;
        for (uint32_t k = 0; k < passWidth; ++k) {
            const uint64_t column = p.firstColumn + uint64_t(k) * p.columnStep;
            if ((column + 1) * outputBitsPerPixel > rowBits) {
                break;
            }
            std::memcpy(destinationRow + column * pixelBytes, passRow + size_t(k) * pixelBytes,
                        pixelBytes);
        }
        return;
    }
    const uint32_t mask = (1u << outputBitsPerPixel) - 1;
    for (uint32_t k = 0; k < passWidth; ++k) {
        const uint64_t column = p.firstColumn + uint64_t(k) * p.columnStep;
        const uint64_t at = column * outputBitsPerPixel;
        if (at + outputBitsPerPixel > rowBits) {
            break;
        }
        const uint64_t from = uint64_t(k) * outputBitsPerPixel;
        const uint32_t value = (passRow[from / 8] >> (8 - outputBitsPerPixel - from % 8)) & mask;
        destinationRow[at / 8] |= static_cast<uint8_t>(value << (8 - outputBitsPerPixel - at % 8));
    }
}

namespace {

// Converts every row into bits, or hands each to the sink as it is converted.
uint32_t convertRows(PngDecoder* decoder, uint8_t* bits, uint32_t descriptor, PngRowSink sink,
                     void* context) {
    const PngOutputFormat* format = findPngOutputFormat(descriptor);
    if (decoder->state != PNG_STATE_DECODED) {
        decoder->lastError = PNG_ERR_STATE;
        return 0;
    }
    if (format == nullptr || (descriptor & 0xFFFF0000u) != imageKey(decoder)) {
        decoder->lastError = PNG_ERR_OUTPUT_FORMAT;
        return 0;
    }
    const uint32_t bitsPerPixel = pngBitsPerPixel(decoder);
    const auto rowBytes = static_cast<uint32_t>((uint64_t(decoder->width) * bitsPerPixel + 7) / 8);
    const uint32_t unit = std::max<uint32_t>(1, bitsPerPixel / 8);
    const uint32_t outputBits = format->bitmapBitsPerPixel;
    const auto stride = static_cast<size_t>(pngBitmapStride(decoder->width, outputBits));
    const RowConverter convert = rowConverterFor(descriptor & 0xFF);
    Scanlines scanlines(rowBytes);
    if (!scanlines.ok()) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return 0;
    }
    // However the conversion ends, the inflating thread is not left waiting for rows.
    struct ReleaseAtEnd {
        PngDecoder* decoder;
        ~ReleaseAtEnd() { pngReleaseInflated(decoder, pngWholeStream); }
    } releaseAtEnd{decoder};
    // Reconstructed rows stay as they are, for the row below; their composed copy is shown.
    const bool compose = decoder->overBlack && pngRowsNeedComposing(decoder);
    auto shown = [&](const uint8_t* row, uint32_t width, uint32_t bytes) -> const uint8_t* {
        if (!compose) {
            return row;
        }
        composeRowOverBlack(decoder, row, scanlines.composedRow(), width, bytes);
        return scanlines.composedRow();
    };

    if (decoder->interlace == 0) {
        const std::unique_ptr<uint8_t[]> handed(
            sink != nullptr ? new (std::nothrow) uint8_t[stride + 16] : nullptr);
        if (sink != nullptr && handed == nullptr) {
            decoder->lastError = PNG_ERR_NO_MEMORY;
            return 0;
        }
        const uint8_t* above = scanlines.zeroRow();
        size_t offset = 0;
        for (uint32_t y = 0; y < decoder->height; ++y) {
            if (pngStopped(decoder)) {
                return 0;
            }
            const uint8_t* in = pngInflatedRow(decoder, offset, size_t(rowBytes) + 1);
            if (in == nullptr) {
                return 0;
            }
            const uint8_t* row = reconstructRow(in, rowBytes, unit, above, scanlines);
            if (row == nullptr) {
                decoder->lastError = PNG_ERR_FORMAT;
                return 0;
            }
            uint8_t* out = sink != nullptr ? handed.get() : bits + y * stride;
            convert(shown(row, decoder->width, rowBytes), out, decoder->width, rowBytes);
            if (sink != nullptr) {
                sink(context, y, out);
            }
            // The row stays the one above the next, which may read it where it was inflated.
            pngReleaseInflated(decoder, offset);
            offset += size_t(rowBytes) + 1;
            above = row;
        }
        // A stream broken after the image's last byte fails the whole decode too.
        pngReleaseInflated(decoder, pngWholeStream);
        return pngWaitForInflated(decoder, pngWholeStream) ? 1 : 0;
    }

    if (sink != nullptr) { // the passes' rows come in no order a sink could take
        decoder->lastError = PNG_ERR_UNSUPPORTED;
        return 0;
    }
    if (!pngWaitForInflated(decoder, pngWholeStream)) { // the passes come one after another
        return 0;
    }
    const uint8_t* in = decoder->inflatedData;
    const std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[stride + 16]);
    if (line == nullptr) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return 0;
    }
    if (outputBits < 8) {
        std::memset(bits, 0, stride * decoder->height);
    }
    for (uint32_t pass = 1; pass <= 7; ++pass) {
        uint32_t passWidth, passHeight;
        adam7PassSize(pass, decoder->width, decoder->height, &passWidth, &passHeight);
        if (passWidth == 0) {
            continue;
        }
        const auto passBytes = std::max<uint32_t>(
            1, static_cast<uint32_t>((uint64_t(passWidth) * bitsPerPixel + 7) / 8));
        const Adam7Pass& geometry = adam7Passes[pass];
        const uint8_t* above = scanlines.zeroRow();
        for (uint32_t r = 0; r < passHeight; ++r) {
            if (pngStopped(decoder)) {
                return 0;
            }
            const uint8_t* row = reconstructRow(in, passBytes, unit, above, scanlines);
            if (row == nullptr) {
                decoder->lastError = PNG_ERR_FORMAT;
                return 0;
            }
            convert(shown(row, passWidth, passBytes), line.get(), passWidth, passBytes);
            const size_t y = geometry.firstRow + size_t(r) * geometry.rowStep;
            Adam7Scatter(pass, outputBits, static_cast<uint32_t>(stride), line.get(), passWidth,
                         bits + y * stride);
            in += size_t(passBytes) + 1;
            above = row;
        }
    }
    return 1;
}

} // namespace

uint32_t PngConvertRows(PngDecoder* decoder, uint8_t* bits, uint32_t descriptor) {
    return convertRows(decoder, bits, descriptor, nullptr, nullptr);
}

uint32_t PngConvertRowsTo(PngDecoder* decoder, uint32_t descriptor, PngRowSink sink,
                          void* context) {
    return convertRows(decoder, nullptr, descriptor, sink, context);
}
