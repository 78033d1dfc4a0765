#include "png/png_filters.h"

#include <cstdlib>
#include <cstring>

#include "png/cpu_extensions.h"

#if defined(__SSE2__)
#include <immintrin.h>
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

// Sub and Average, a pixel at a time: each pixel's predictor is its reconstructed left
// neighbour, or that and the pixel above.
template <uint32_t Unit>
void unfilterSubOrAverage(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                          uint32_t length) {
    const __m128i one = _mm_set1_epi8(1);
    __m128i a = _mm_setzero_si128(); // the reconstructed pixel to the left
    for (uint32_t i = 0; i + Unit <= length; i += Unit) {
        const __m128i x = loadPixel(in + i);
        __m128i predictor = a;
        if (type == 3) {
            // The rounding-up average, less one where a + b is odd, is the floor average.
            const __m128i b = loadPixel(previous + i);
            predictor = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        }
        a = _mm_add_epi8(x, predictor);
        storePixel(out + i, a);
    }
}

// Paeth, a pixel at a time in 16-bit lanes. Each pixel waits for the one to its left, so the
// work that depends on it is kept short: the sums with the pixel above and the one above-left
// do not wait for it, and the choice is two selects among the three finished sums. Written
// once per instruction set through the two operations that differ.
#define PLUVETTE_PAETH_ROW(absolute, select)                                                       \
    const __m128i zero = _mm_setzero_si128();                                                      \
    const __m128i lowByte = _mm_set1_epi16(0xFF);                                                  \
    __m128i a = zero; /* the reconstructed pixel to the left */                                    \
    __m128i c = zero; /* the pixel above that one */                                               \
    for (uint32_t i = 0; i + Unit <= length; i += Unit) {                                          \
        const __m128i x = _mm_unpacklo_epi8(loadPixel(in + i), zero);                              \
        const __m128i b = _mm_unpacklo_epi8(loadPixel(previous + i), zero);                        \
        const __m128i towardsA = _mm_sub_epi16(b, c);                                              \
        const __m128i pa = absolute(towardsA);                                                     \
        const __m128i plusB = _mm_and_si128(_mm_add_epi16(x, b), lowByte);                         \
        const __m128i plusC = _mm_and_si128(_mm_add_epi16(x, c), lowByte);                         \
        const __m128i plusA = _mm_and_si128(_mm_add_epi16(x, a), lowByte);                         \
        const __m128i towardsB = _mm_sub_epi16(a, c);                                              \
        const __m128i pb = absolute(towardsB);                                                     \
        const __m128i pc = absolute(_mm_add_epi16(towardsA, towardsB));                            \
        const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));       \
        a = select(notA, select(_mm_cmpgt_epi16(pb, pc), plusC, plusB), plusA);                    \
        c = b;                                                                                     \
        storePixel(out + i, _mm_packus_epi16(a, a));                                               \
    }

inline __m128i absoluteSse2(__m128i v) {
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}
inline __m128i selectSse2(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

template <uint32_t Unit>
void unfilterPaethSse2(const uint8_t* in, const uint8_t* previous, uint8_t* out, uint32_t length) {
    PLUVETTE_PAETH_ROW(absoluteSse2, selectSse2);
}

#if defined(__x86_64__) || defined(__i386__)

#define PLUVETTE_SSE41 __attribute__((target("sse4.1")))

PLUVETTE_SSE41 inline __m128i absoluteSse41(__m128i v) {
    return _mm_abs_epi16(v);
}
PLUVETTE_SSE41 inline __m128i selectSse41(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_blendv_epi8(ifClear, ifSet, mask);
}

template <uint32_t Unit>
PLUVETTE_SSE41 void unfilterPaethSse41(const uint8_t* in, const uint8_t* previous, uint8_t* out,
                                       uint32_t length) {
    PLUVETTE_PAETH_ROW(absoluteSse41, selectSse41);
}

#endif

template <uint32_t Unit>
void unfilterPixels(uint8_t type, const uint8_t* in, const uint8_t* previous, uint8_t* out,
                    uint32_t length) {
    if (type == 4) {
#if defined(__x86_64__) || defined(__i386__)
        if (mayUse(CpuExtension::sse41)) {
            unfilterPaethSse41<Unit>(in, previous, out, length);
            return;
        }
#endif
        unfilterPaethSse2<Unit>(in, previous, out, length);
    } else {
        unfilterSubOrAverage<Unit>(type, in, previous, out, length);
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
