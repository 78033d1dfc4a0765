// The water step's loops four cells at a time with SSE2, which every x86-64 processor has.
#include "ripple/ripple_step_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "ripple/ripple_step_rows.h"

namespace ripple {
namespace {

struct Sse2Lanes : LaneArithmetic<16> {
    static Vector indices(int32_t first) {
        return _mm_add_epi32(_mm_set1_epi32(first), _mm_setr_epi32(0, 1, 2, 3));
    }
    // The low 32 bits of each lane times the factor, from the even and the odd lanes' 64-bit
    // products: SSE2 has no 32-bit multiply.
    static Vector multiplyLow(Vector lanes, int32_t factor) {
        const __m128i by = _mm_set1_epi32(factor);
        const __m128i even = _mm_mul_epu32(lanes, by);
        const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(lanes, 32), by);
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    static Vector select(Vector mask, Vector ifSet, Vector ifClear) {
        return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
    }
    static bool allSet(Vector mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    static bool equal(Vector a, Vector b) { return allSet(_mm_cmpeq_epi32(a, b)); }
    static bool isZero(Vector lanes) { return equal(lanes, _mm_setzero_si128()); }
    static Vector addSaturatedBytes(Vector a, Vector b) { return _mm_adds_epu8(a, b); }
    static Vector subtractSaturatedBytes(Vector a, Vector b) { return _mm_subs_epu8(a, b); }
    static Vector spreadToChannels(Vector lanes) {
        return _mm_or_si128(lanes,
                            _mm_or_si128(_mm_slli_epi32(lanes, 8), _mm_slli_epi32(lanes, 16)));
    }
    static Vector gather(const uint32_t* source, Vector at) {
        alignas(16) int32_t index[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(index), at);
        return _mm_setr_epi32(int32_t(source[index[0]]), int32_t(source[index[1]]),
                              int32_t(source[index[2]]), int32_t(source[index[3]]));
    }
};

} // namespace
} // namespace ripple

constinit const ripple::StepKernels ripple::sse2StepKernels = kernelsOf<Sse2Lanes>();

#else

// Processors without SSE2 take the plain loops.
namespace ripple {
namespace {

void renderRunPlain(StepBuffers s, int32_t first, int32_t last) {
    renderRunScalar(s, first, last);
}

void propagateRowPlain(StepBuffers s, int32_t rowStart, int shift) {
    propagateCellsScalar(s, rowStart, 1, s.width - 1, shift);
}

void stepRowSpanPlain(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                      uint8_t* moving) {
    renderRunScalar(s, rowStart + first, rowStart + last);
    propagateCellsScalar(s, rowStart, first, last, shift);
    if (moving != nullptr) {
        markMovingCells(s.older + rowStart, first, last, moving);
    }
}

void stepRowPlain(StepBuffers s, int32_t rowStart, int shift) {
    stepRowSpanPlain(s, rowStart, 1, s.width - 1, shift, nullptr);
}

} // namespace

constinit const StepKernels sse2StepKernels = {renderRunPlain, propagateRowPlain, stepRowPlain,
                                               stepRowSpanPlain};

} // namespace ripple

#endif
