#include "imaging/png_filters.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline uint8_t paethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int notA = pb <= pc ? b : c;
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : notA);
}

void unfilterUp(const uint8_t* in, const uint8_t* previous, uint8_t* out, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + previous[i]);
    }
}

// Byte by byte, for any pixel size.
void unfilterScalar(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                    uint32_t length, uint32_t unit) {
    const uint32_t lead = unit < length ? unit : length;
    // The first pixel has no left neighbour (a = c = 0).
    for (uint32_t i = 0; i < lead; ++i) {
        const uint8_t b = previous[i];
        out[i] = static_cast<uint8_t>(in[i] + (type == 1 ? 0 : type == 3 ? b >> 1 : b));
    }
    for (uint32_t i = unit; i < length; ++i) {
        const uint8_t a = out[i - unit];
        uint8_t predictor;
        if (type == 1) {
            predictor = a;
        } else if (type == 3) {
            predictor = static_cast<uint8_t>((a + previous[i]) >> 1);
        } else {
            predictor = paethPredictor(a, previous[i], previous[i - unit]);
        }
        out[i] = static_cast<uint8_t>(in[i] + predictor);
    }
}

#if defined(__SSE2__)

// Pixels of three or four bytes, one pixel at a time in the low lanes of a register. A
// three-byte pixel moves as four: the byte after it is read, and overwritten, before the
// next pixel's store puts it right (or lies in the row's slack).
inline __m128i loadPixel(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, 4);
    return _mm_cvtsi32_si128(static_cast<int>(value));
}
inline void storePixel(uint8_t* p, __m128i v) {
    const auto value = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
    std::memcpy(p, &value, 4);
}

inline __m128i absolute16(__m128i v) {
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

inline __m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

template <uint32_t Unit>
void unfilterPixels(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                    uint32_t length) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    __m128i a = zero; // the reconstructed pixel to the left
    __m128i c = zero; // the pixel above that one
    for (uint32_t i = 0; i + Unit <= length; i += Unit) {
        const __m128i x = loadPixel(in + i);
        const __m128i b = loadPixel(previous + i);
        __m128i predictor;
        if (type == 1) {
            predictor = a;
        } else if (type == 3) {
            // The rounding-up average, less one where a + b is odd, is the floor average.
            predictor = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        } else {
            const __m128i a16 = _mm_unpacklo_epi8(a, zero);
            const __m128i b16 = _mm_unpacklo_epi8(b, zero);
            const __m128i c16 = _mm_unpacklo_epi8(c, zero);
            const __m128i towardsA = _mm_sub_epi16(b16, c16);
            const __m128i towardsB = _mm_sub_epi16(a16, c16);
            const __m128i pa = absolute16(towardsA);
            const __m128i pb = absolute16(towardsB);
            const __m128i pc = absolute16(_mm_add_epi16(towardsA, towardsB));
            const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
            const __m128i chosen = select(_mm_cmpeq_epi16(pa, smallest), a16,
                                          select(_mm_cmpeq_epi16(pb, smallest), b16, c16));
            predictor = _mm_packus_epi16(chosen, chosen);
        }
        a = _mm_add_epi8(x, predictor);
        c = b;
        storePixel(out + i, a);
    }
}

#endif

} // namespace

bool unfilterRow(uint8_t type, const uint8_t* filtered, const uint8_t* previous, uint8_t* out,
                 uint32_t length, uint32_t unit) {
    if (type < 1 || type > 4) {
        return false;
    }
    if (type == 2) {
        unfilterUp(filtered, previous, out, length);
        return true;
    }
#if defined(__SSE2__)
    if (unit == 3) {
        unfilterPixels<3>(type, filtered, previous, out, length);
        return true;
    }
    if (unit == 4) {
        unfilterPixels<4>(type, filtered, previous, out, length);
        return true;
    }
#endif
    unfilterScalar(type, filtered, previous, out, length, unit);
    return true;
}
