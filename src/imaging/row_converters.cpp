#include "imaging/row_converters.h"

#include <cstring>

namespace {

uint32_t copyRow(const uint8_t* in, uint8_t* out, uint32_t, uint32_t rowBytes) {
    std::memcpy(out, in, rowBytes);
    return rowBytes;
}

// Takes byte 0 of every InUnit-byte pixel.
template <uint32_t InUnit>
uint32_t firstByteOf(const uint8_t* in, uint8_t* out, uint32_t width, uint32_t) {
    for (uint32_t x = 0; x < width; ++x) {
        out[x] = in[x * InUnit];
    }
    return width;
}

// Four 2-bit values w, x, y, z become the two bytes w << 4 | x and y << 4 | z.
uint32_t widenTwoBitToFour(const uint8_t* in, uint8_t* out, uint32_t, uint32_t rowBytes) {
    for (uint32_t i = 0; i < rowBytes; ++i) {
        const uint8_t v = in[i];
        out[2 * i] = static_cast<uint8_t>((v >> 6) << 4 | ((v >> 4) & 3));
        out[2 * i + 1] = static_cast<uint8_t>(((v >> 2) & 3) << 4 | (v & 3));
    }
    return 2 * rowBytes;
}

// Reorders red, green, blue (and alpha) samples of SampleBytes bytes each into blue, green,
// red (and alpha when KeepAlpha) bytes.
template <uint32_t Channels, uint32_t SampleBytes, bool KeepAlpha>
uint32_t toBgr(const uint8_t* in, uint8_t* out, uint32_t width, uint32_t) {
    constexpr uint32_t outUnit = KeepAlpha ? 4 : 3;
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t* pixel = in + x * Channels * SampleBytes;
        uint8_t* to = out + x * outUnit;
        to[0] = pixel[2 * SampleBytes];
        to[1] = pixel[SampleBytes];
        to[2] = pixel[0];
        if constexpr (KeepAlpha) {
            to[3] = pixel[3 * SampleBytes];
        }
    }
    return width * outUnit;
}

} // namespace

RowConverter rowConverterFor(uint32_t index) {
    switch (index) {
    case 0:
        return copyRow;
    case 6:
        return firstByteOf<2>;
    case 7:
        return toBgr<3, 2, false>;
    case 8:
        return toBgr<4, 2, false>;
    case 9:
        return toBgr<4, 2, true>;
    case 10:
        return firstByteOf<4>;
    case 11:
        return widenTwoBitToFour;
    case 12:
        return toBgr<3, 1, false>;
    case 13:
        return toBgr<4, 1, false>;
    case 14:
        return toBgr<4, 1, true>;
    default:
        return nullptr;
    }
}
