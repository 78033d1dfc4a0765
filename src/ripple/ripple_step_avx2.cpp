// The water step's loops eight cells at a time, for processors with AVX2. Only this file is
// compiled for AVX2, so the rest of the program still runs on any x86-64.
#include <cstring>
#include <limits>

#include "ripple/ripple_step_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

// Everything defined from here on may use AVX2: the lanes and the loops made of them.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "ripple/ripple_step_rows.h"

namespace ripple {
namespace {

struct Avx2Lanes : LaneArithmetic<32> {
    static Vector indices(int32_t first) {
        return _mm256_add_epi32(_mm256_set1_epi32(first),
                                _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    static Vector multiplyLow(Vector lanes, int32_t factor) {
        return _mm256_mullo_epi32(lanes, _mm256_set1_epi32(factor));
    }
    static Vector select(Vector mask, Vector ifSet, Vector ifClear) {
        return _mm256_blendv_epi8(ifClear, ifSet, mask);
    }
    static bool allSet(Vector mask) { return _mm256_movemask_epi8(mask) == -1; }
    static bool isZero(Vector lanes) { return _mm256_testz_si256(lanes, lanes) != 0; }
    static bool equal(Vector a, Vector b) { return isZero(_mm256_xor_si256(a, b)); }
    static Vector addSaturatedBytes(Vector a, Vector b) { return _mm256_adds_epu8(a, b); }
    static Vector subtractSaturatedBytes(Vector a, Vector b) { return _mm256_subs_epu8(a, b); }
    // One byte shuffle: byte 0 of each lane into bytes 0, 1 and 2, byte 3 cleared.
    static Vector spreadToChannels(Vector lanes) {
        const __m256i pattern =
            _mm256_setr_epi32(int(0x80000000), int(0x80040404), int(0x80080808), int(0x800C0C0C),
                              int(0x80000000), int(0x80040404), int(0x80080808), int(0x800C0C0C));
        return _mm256_shuffle_epi8(lanes, pattern);
    }
    // Eight plain loads beat the gather instruction on the processors measured.
    static Vector gather(const uint32_t* source, Vector at) {
        alignas(32) int32_t index[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(index), at);
        const auto* pixels = reinterpret_cast<const int32_t*>(source);
        return _mm256_setr_epi32(pixels[index[0]], pixels[index[1]], pixels[index[2]],
                                 pixels[index[3]], pixels[index[4]], pixels[index[5]],
                                 pixels[index[6]], pixels[index[7]]);
    }
};

} // namespace
} // namespace ripple

constinit const ripple::StepKernels ripple::avx2StepKernels = kernelsOf<Avx2Lanes>();

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif
