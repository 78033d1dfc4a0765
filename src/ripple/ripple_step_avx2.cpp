// The water step's inner loops eight cells at a time, for processors with AVX2. Compiled for
// AVX2 function by function, so the rest of the program still runs on any x86-64.
#include <limits>

#include "ripple/ripple_step_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define PLUVETTE_AVX2 __attribute__((target("avx2")))

namespace ripple {

namespace {

PLUVETTE_AVX2 inline __m256i load(const int32_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// Copies byte 0 of each lane (a value 0 to 255) into bytes 0, 1 and 2 of that lane.
PLUVETTE_AVX2 inline __m256i spreadToChannels(__m256i lanes) {
    const __m256i pattern =
        _mm256_setr_epi32(int(0x80000000), int(0x80040404), int(0x80080808), int(0x800C0C0C),
                          int(0x80000000), int(0x80040404), int(0x80080808), int(0x800C0C0C));
    return _mm256_shuffle_epi8(lanes, pattern);
}

// Renders the eight cells from i on; dx and dy are their slopes. As in the SSE2 path, shading
// c - dx clamped to 0..255 is a saturating byte add of max(-dx, 0) and subtract of max(dx, 0)
// with dx clamped to -255..255, except for dx within 255 of the lowest 32-bit value, where
// c - dx wraps; such groups go the scalar way.
PLUVETTE_AVX2 inline void renderGroup(const StepBuffers& s, int32_t i, __m256i dx, __m256i dy) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourMask = _mm256_set1_epi32(0x00FFFFFF);
    const auto* source = reinterpret_cast<const int*>(s.source);
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(
            _mm256_set1_epi32(std::numeric_limits<int32_t>::min() + 256), dx)) != 0) {
        renderRunScalar(s, i, i + 8);
        return;
    }
    auto* out = reinterpret_cast<__m256i*>(s.output + i);
    // Flat water: every lookup is the pixel itself, always inside the picture.
    if (_mm256_testz_si256(_mm256_or_si256(dx, dy), _mm256_or_si256(dx, dy))) {
        const __m256i pixels = _mm256_and_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i)), colourMask);
        // Calm water mostly shows its source already: leaving such lines unwritten spares
        // writing them back to memory.
        const __m256i shown = _mm256_xor_si256(_mm256_loadu_si256(out), pixels);
        if (!_mm256_testz_si256(shown, shown)) {
            _mm256_storeu_si256(out, pixels);
        }
        return;
    }
    const __m256i index =
        _mm256_add_epi32(_mm256_set1_epi32(i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i j =
        _mm256_add_epi32(_mm256_add_epi32(index, _mm256_mullo_epi32(_mm256_srai_epi32(dy, 4),
                                                                    _mm256_set1_epi32(s.width))),
                         _mm256_srai_epi32(dx, 4));
    const __m256i inside = _mm256_and_si256(_mm256_cmpgt_epi32(j, zero),
                                            _mm256_cmpgt_epi32(_mm256_set1_epi32(s.pixelCount), j));
    // Eight plain loads beat the gather instruction on the processors measured.
    alignas(32) int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), _mm256_blendv_epi8(index, j, inside));
    const __m256i pixels =
        _mm256_setr_epi32(source[at[0]], source[at[1]], source[at[2]], source[at[3]], source[at[4]],
                          source[at[5]], source[at[6]], source[at[7]]);

    const __m256i slope =
        _mm256_max_epi32(_mm256_min_epi32(dx, _mm256_set1_epi32(255)), _mm256_set1_epi32(-255));
    const __m256i darken = _mm256_max_epi32(slope, zero);
    const __m256i lighten = _mm256_max_epi32(_mm256_sub_epi32(zero, slope), zero);
    const __m256i shaded =
        _mm256_and_si256(_mm256_subs_epu8(_mm256_adds_epu8(pixels, spreadToChannels(lighten)),
                                          spreadToChannels(darken)),
                         colourMask);
    // Reading the old output only when a lookup fell outside spares a memory stream.
    if (_mm256_movemask_epi8(inside) == -1) {
        _mm256_storeu_si256(out, shaded);
    } else {
        _mm256_storeu_si256(out, _mm256_blendv_epi8(_mm256_loadu_si256(out), shaded, inside));
    }
}

// The propagated value of the eight cells from column c of the row whose old values are
// `centre`: the damped difference between a quarter of their eight neighbours in B and their
// own old value. Lane additions wrap, as 32-bit heights do.
PLUVETTE_AVX2 inline __m256i propagated(const int32_t* up, const int32_t* mid, const int32_t* down,
                                        int32_t c, __m256i centre, __m128i damping) {
    const __m256i sum =
        _mm256_add_epi32(_mm256_add_epi32(_mm256_add_epi32(load(up + c - 1), load(up + c)),
                                          _mm256_add_epi32(load(up + c + 1), load(mid + c - 1))),
                         _mm256_add_epi32(_mm256_add_epi32(load(mid + c + 1), load(down + c - 1)),
                                          _mm256_add_epi32(load(down + c), load(down + c + 1))));
    const __m256i v = _mm256_sub_epi32(_mm256_srai_epi32(sum, 2), centre);
    return _mm256_sub_epi32(v, _mm256_sra_epi32(v, damping));
}

} // namespace

PLUVETTE_AVX2 void renderRunAvx2(StepBuffers s, int32_t first, int32_t last) {
    const int32_t* a = s.older;
    const int32_t w = s.width;
    int32_t i = first;
    for (; i + 8 <= last; i += 8) {
        const __m256i centre = load(a + i);
        renderGroup(s, i, _mm256_sub_epi32(centre, load(a + i + 1)),
                    _mm256_sub_epi32(centre, load(a + i + w)));
    }
    renderRunScalar(s, i, last);
}

PLUVETTE_AVX2 void propagateRowAvx2(StepBuffers s, int32_t rowStart, int shift) {
    const int32_t w = s.width;
    int32_t* a = s.older + rowStart;
    const __m128i damping = _mm_cvtsi32_si128(shift);
    int32_t c = 1;
    for (; c + 8 <= w - 1; c += 8) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + c),
                            propagated(s.newer + rowStart - w, s.newer + rowStart,
                                       s.newer + rowStart + w, c, load(a + c), damping));
    }
    propagateCellsScalar(s, rowStart, c, w - 1, shift);
}

// One pass over the row: each group of eight cells is rendered from A, then propagated into
// A. The render reads A in this row up to the next group's first cell and in the row below,
// none of which is propagated yet.
namespace {

template <bool tracked>
PLUVETTE_AVX2 inline void stepSpan(StepBuffers s, int32_t rowStart, int32_t first, int32_t last,
                                   int shift, uint8_t* moving) {
    const int32_t w = s.width;
    const int32_t* up = s.newer + rowStart - w;
    const int32_t* mid = s.newer + rowStart;
    const int32_t* down = s.newer + rowStart + w;
    int32_t* a = s.older + rowStart;
    const __m128i damping = _mm_cvtsi32_si128(shift);
    const bool shortSpan = tracked && last - first < shortSpanCells;
    int32_t c = first;
    for (; c + 8 <= last; c += 8) {
        if (shortSpan) {
            prefetchRowsBelow(s, rowStart, c + 7);
        } else if ((c & 8) != 0) { // once a line
            prefetchAhead(down + c);
            prefetchAhead(a + c + w);
            prefetchAhead(s.source + rowStart + c);
            prefetchAhead(s.output + rowStart + c);
        }
        const __m256i centre = load(a + c);
        renderGroup(s, rowStart + c, _mm256_sub_epi32(centre, load(a + c + 1)),
                    _mm256_sub_epi32(centre, load(a + c + w)));
        const __m256i next = propagated(up, mid, down, c, centre, damping);
        const __m256i changed = _mm256_xor_si256(next, centre);
        if (!_mm256_testz_si256(changed, changed)) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + c), next);
        }
        if constexpr (tracked) {
            if (!_mm256_testz_si256(next, next)) {
                moving[c >> movingGroupShift] = 1;
                moving[(c + 7) >> movingGroupShift] = 1;
            }
        }
    }
    renderRunScalar(s, rowStart + c, rowStart + last);
    propagateCellsScalar(s, rowStart, c, last, shift);
    if constexpr (tracked) {
        markMovingCells(a, c, last, moving);
    }
}

} // namespace

PLUVETTE_AVX2 void stepRowAvx2(StepBuffers s, int32_t rowStart, int shift) {
    stepSpan<false>(s, rowStart, 1, s.width - 1, shift, nullptr);
}

PLUVETTE_AVX2 void stepRowSpanAvx2(StepBuffers s, int32_t rowStart, int32_t first, int32_t last,
                                   int shift, uint8_t* moving) {
    stepSpan<true>(s, rowStart, first, last, shift, moving);
}

} // namespace ripple

#endif
