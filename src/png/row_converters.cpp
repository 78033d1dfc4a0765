#include "png/row_converters.h"

#include <cstring>

#include "png/cpu_extensions.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PLUVETTE_SSSE3 __attribute__((target("ssse3")))
#endif

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

#if defined(__x86_64__) || defined(__i386__)

// Red, green, blue to blue, green, red, four pixels (twelve bytes) a step. Each step reads
// and writes sixteen bytes, so steps stop while six pixels are left; the last step's four
// extra bytes are rewritten by the plain loop after it.
PLUVETTE_SSSE3 uint32_t rgbToBgrSsse3(const uint8_t* in, uint8_t* out, uint32_t width,
                                      uint32_t rowBytes) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
    uint32_t x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(pixels, order));
    }
    toBgr<3, 1, false>(in + 3 * x, out + 3 * x, width - x, rowBytes);
    return width * 3;
}

// Red, green, blue, alpha to blue, green, red, alpha, four pixels a step: red and blue trade
// places within each 32-bit lane.
uint32_t rgbaToBgra(const uint8_t* in, uint8_t* out, uint32_t width, uint32_t rowBytes) {
    const __m128i greenAlpha = _mm_set1_epi32(int(0xFF00FF00));
    const __m128i low = _mm_set1_epi32(0xFF);
    uint32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
        const __m128i swapped = _mm_or_si128(
            _mm_and_si128(v, greenAlpha), _mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 16), low),
                                                       _mm_slli_epi32(_mm_and_si128(v, low), 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), swapped);
    }
    toBgr<4, 1, true>(in + 4 * x, out + 4 * x, width - x, rowBytes);
    return width * 4;
}

RowConverter rgbToBgr() {
    return mayUse(CpuExtension::ssse3) ? rgbToBgrSsse3 : toBgr<3, 1, false>;
}

#else

RowConverter rgbToBgr() {
    return toBgr<3, 1, false>;
}
uint32_t rgbaToBgra(const uint8_t* in, uint8_t* out, uint32_t width, uint32_t rowBytes) {
    return toBgr<4, 1, true>(in, out, width, rowBytes);
}

#endif

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
        return rgbToBgr();
    case 13:
        return toBgr<4, 1, false>;
    case 14:
        return rgbaToBgra;
    default:
        return nullptr;
    }
}
