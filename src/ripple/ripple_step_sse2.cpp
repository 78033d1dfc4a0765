#include <limits>

#include "ripple/ripple_step_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ripple {

#if defined(__SSE2__)

namespace {

__m128i select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// The low 32 bits of each lane times the same factor in every lane.
__m128i multiplyLow(__m128i lanes, __m128i factor) {
    const __m128i even = _mm_mul_epu32(lanes, factor);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(lanes, 32), factor);
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// Copies a lane's value (0 to 255) into bytes 0, 1 and 2 of that lane.
__m128i spreadToChannels(__m128i lanes) {
    return _mm_or_si128(lanes, _mm_or_si128(_mm_slli_epi32(lanes, 8), _mm_slli_epi32(lanes, 16)));
}

// Renders the four cells from i on; dx and dy are their slopes. Shading c - dx clamped to
// 0..255 equals a saturating byte add of max(-dx, 0) and subtract of max(dx, 0) once dx is
// clamped to -255..255. That holds for every dx except those within 255 of the lowest 32-bit
// value, where c - dx wraps; such groups go the scalar way.
inline void renderGroup(const StepBuffers& s, int32_t i, __m128i dx, __m128i dy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i channelLimit = _mm_set1_epi32(255);
    const __m128i negativeLimit = _mm_set1_epi32(-255);
    if (_mm_movemask_epi8(
            _mm_cmplt_epi32(dx, _mm_set1_epi32(std::numeric_limits<int32_t>::min() + 256))) != 0) {
        renderRunScalar(s, i, i + 4);
        return;
    }
    const __m128i index = _mm_add_epi32(_mm_set1_epi32(i), _mm_setr_epi32(0, 1, 2, 3));
    const __m128i j = _mm_add_epi32(
        _mm_add_epi32(index, multiplyLow(_mm_srai_epi32(dy, 4), _mm_set1_epi32(s.width))),
        _mm_srai_epi32(dx, 4));
    const __m128i inside =
        _mm_and_si128(_mm_cmpgt_epi32(j, zero), _mm_cmplt_epi32(j, _mm_set1_epi32(s.pixelCount)));
    alignas(16) int32_t lookup[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lookup), select(inside, j, index));
    const __m128i pixels = _mm_setr_epi32(
        static_cast<int32_t>(s.source[lookup[0]]), static_cast<int32_t>(s.source[lookup[1]]),
        static_cast<int32_t>(s.source[lookup[2]]), static_cast<int32_t>(s.source[lookup[3]]));

    __m128i slope = select(_mm_cmpgt_epi32(dx, channelLimit), channelLimit, dx);
    slope = select(_mm_cmplt_epi32(slope, negativeLimit), negativeLimit, slope);
    const __m128i darken = _mm_and_si128(slope, _mm_cmpgt_epi32(slope, zero));
    const __m128i lighten = _mm_and_si128(_mm_sub_epi32(zero, slope), _mm_cmplt_epi32(slope, zero));
    const __m128i shaded = _mm_and_si128(
        _mm_subs_epu8(_mm_adds_epu8(pixels, spreadToChannels(lighten)), spreadToChannels(darken)),
        _mm_set1_epi32(0x00FFFFFF));

    // Reading the old output only when a lookup fell outside spares a memory stream.
    __m128i* out = reinterpret_cast<__m128i*>(s.output + i);
    if (_mm_movemask_epi8(inside) == 0xFFFF) {
        _mm_storeu_si128(out, shaded);
    } else {
        _mm_storeu_si128(out, select(inside, shaded, _mm_loadu_si128(out)));
    }
}

__m128i load(const int32_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

} // namespace

void renderRunSse2(StepBuffers s, int32_t first, int32_t last) {
    const int32_t* a = s.older;
    const int32_t w = s.width;
    int32_t i = first;
    for (; i + 4 <= last; i += 4) {
        const __m128i centre = load(a + i);
        renderGroup(s, i, _mm_sub_epi32(centre, load(a + i + 1)),
                    _mm_sub_epi32(centre, load(a + i + w)));
    }
    renderRunScalar(s, i, last);
}

namespace {

// One pass over the row: each group of four cells is rendered from A, then propagated into
// A: the damped difference between a quarter of its eight neighbours in B and its own old
// value. The render reads A in this row up to the next group's first cell and in the row
// below, none of which is propagated yet.
template <bool tracked>
inline void stepSpan(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                     uint8_t* moving) {
    const int32_t w = s.width;
    const int32_t* up = s.newer + rowStart - w;
    const int32_t* mid = s.newer + rowStart;
    const int32_t* down = s.newer + rowStart + w;
    int32_t* a = s.older + rowStart;
    const __m128i damping = _mm_cvtsi32_si128(shift);
    const bool shortSpan = tracked && last - first < shortSpanCells;
    int32_t c = first;
    for (; c + 4 <= last; c += 4) {
        if (shortSpan) {
            prefetchRowsBelow(s, rowStart, c + 3);
        } else if ((c & 12) == 0) { // once a line
            prefetchAhead(down + c);
            prefetchAhead(a + c + w);
            prefetchAhead(s.source + rowStart + c);
            prefetchAhead(s.output + rowStart + c);
        }
        const __m128i centre = load(a + c);
        renderGroup(s, rowStart + c, _mm_sub_epi32(centre, load(a + c + 1)),
                    _mm_sub_epi32(centre, load(a + c + w)));
        // Lane additions wrap, as 32-bit heights do.
        const __m128i sum =
            _mm_add_epi32(_mm_add_epi32(_mm_add_epi32(load(up + c - 1), load(up + c)),
                                        _mm_add_epi32(load(up + c + 1), load(mid + c - 1))),
                          _mm_add_epi32(_mm_add_epi32(load(mid + c + 1), load(down + c - 1)),
                                        _mm_add_epi32(load(down + c), load(down + c + 1))));
        const __m128i v = _mm_sub_epi32(_mm_srai_epi32(sum, 2), centre);
        const __m128i next = _mm_sub_epi32(v, _mm_sra_epi32(v, damping));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(a + c), next);
        if constexpr (tracked) {
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(next, _mm_setzero_si128())) != 0xFFFF) {
                moving[c >> movingGroupShift] = 1;
                moving[(c + 3) >> movingGroupShift] = 1;
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

void stepRowSse2(StepBuffers s, int32_t rowStart, int shift) {
    stepSpan<false>(s, rowStart, 1, s.width - 1, shift, nullptr);
}

void stepRowSpanSse2(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                     uint8_t* moving) {
    stepSpan<true>(s, rowStart, first, last, shift, moving);
}

#else

void renderRunSse2(StepBuffers s, int32_t first, int32_t last) {
    renderRunScalar(s, first, last);
}

void stepRowSse2(StepBuffers s, int32_t rowStart, int shift) {
    renderRunScalar(s, rowStart + 1, rowStart + s.width - 1);
    propagateCellsScalar(s, rowStart, 1, s.width - 1, shift);
}

void stepRowSpanSse2(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                     uint8_t* moving) {
    renderRunScalar(s, rowStart + first, rowStart + last);
    propagateCellsScalar(s, rowStart, first, last, shift);
    markMovingCells(s.older + rowStart, first, last, moving);
}

#endif

// Plain code, which the compiler turns into SSE2.
void propagateRowSse2(StepBuffers s, int32_t rowStart, int shift) {
    propagateCellsScalar(s, rowStart, 1, s.width - 1, shift);
}

} // namespace ripple
