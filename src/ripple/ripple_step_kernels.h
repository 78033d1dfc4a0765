// The inner loops of the water step, shared by its code paths: the SSE2 path every x86-64
// processor runs and a wider AVX2 path chosen at run time. Internal to the ripple engine.
#pragma once

#include <cstdint>

namespace ripple {

// Heights are unbounded, so their arithmetic wraps as 32-bit two's complement instead of
// overflowing.
inline int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline uint32_t shadeChannel(uint32_t pixel, int shift, int32_t slope) {
    const int32_t value = wrapSub(static_cast<int32_t>((pixel >> shift) & 0xFF), slope);
    const int32_t clamped = value < 0 ? 0 : (value > 255 ? 255 : value);
    return static_cast<uint32_t>(clamped) << shift;
}

// The pointers of one step; the four buffers never overlap. The loops take them by value: a
// copy of their own, which stores of heights and pixels cannot be taken to change, stays in
// registers instead of being read again for every group of cells.
struct StepBuffers {
    int32_t* __restrict older;       // A: rendered, then overwritten with the newest state
    const int32_t* __restrict newer; // B: read for the neighbours
    const uint32_t* __restrict source;
    uint32_t* __restrict output;
    int32_t width;
    int32_t pixelCount;
};

// Looks up the source pixel displaced by the slopes and lightens or darkens it by dx. A
// lookup outside the picture keeps the previous output pixel.
inline void renderPixel(const StepBuffers& s, int32_t i, int32_t dx, int32_t dy) {
    if ((dx | dy) == 0) {
        s.output[i] = s.source[i] & 0x00FFFFFFu; // flat water: the common case
        return;
    }
    const int32_t j = wrapAdd(wrapAdd(i, wrapMul(s.width, dy >> 4)), dx >> 4);
    if (j <= 0 || j >= s.pixelCount) {
        return;
    }
    const uint32_t pixel = s.source[j];
    s.output[i] =
        shadeChannel(pixel, 16, dx) | shadeChannel(pixel, 8, dx) | shadeChannel(pixel, 0, dx);
}

// Renders indices [first, last) one by one; each has its right and lower neighbours.
inline void renderRunScalar(const StepBuffers& s, int32_t first, int32_t last) {
    const int32_t* a = s.older;
    const int32_t w = s.width;
    for (int32_t i = first; i < last; ++i) {
        renderPixel(s, i, wrapSub(a[i], a[i + 1]), wrapSub(a[i], a[i + w]));
    }
}

// Propagates columns [first, last) of the row that starts at rowStart one by one: each cell
// becomes the damped difference between a quarter of its eight neighbours in B and its own
// old value in A.
inline void propagateCellsScalar(const StepBuffers& s, int32_t rowStart, int32_t first,
                                 int32_t last, int shift) {
    const int32_t w = s.width;
    const uint32_t* up = reinterpret_cast<const uint32_t*>(s.newer + rowStart - w);
    const uint32_t* mid = reinterpret_cast<const uint32_t*>(s.newer + rowStart);
    const uint32_t* down = reinterpret_cast<const uint32_t*>(s.newer + rowStart + w);
    int32_t* __restrict a = s.older + rowStart;
    for (int32_t c = first; c < last; ++c) {
        // Unsigned sums wrap, as 32-bit heights do.
        const uint32_t sum = up[c - 1] + up[c] + up[c + 1] + mid[c - 1] + mid[c + 1] + down[c - 1] +
                             down[c] + down[c + 1];
        const int32_t v = wrapSub(static_cast<int32_t>(sum) >> 2, a[c]);
        a[c] = wrapSub(v, v >> shift);
    }
}

// The loops of one code path.
struct StepKernels {
    // Renders indices [first, last), each of which has its right and lower neighbours.
    void (*renderRun)(StepBuffers s, int32_t first, int32_t last);
    // Propagates the interior cells of the row that starts at rowStart.
    void (*propagateRow)(StepBuffers s, int32_t rowStart, int shift);
    // Renders columns 1 .. W - 2 of the row that starts at rowStart and propagates them, in
    // one pass.
    void (*stepRow)(StepBuffers s, int32_t rowStart, int shift);
    // Does what stepRow does for columns [first, last) of the row (1 <= first < last <=
    // W - 1) and sets moving[c >> movingGroupShift] for every column c where a new height is
    // not zero; a group of cells that spans two of those groups sets both.
    void (*stepRowSpan)(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                        uint8_t* moving);
};

// SSE2, which every x86-64 processor has (plain loops elsewhere), and AVX2 on x86.
extern const StepKernels sse2StepKernels;
extern const StepKernels avx2StepKernels;

// The spans mark where the new heights are not zero in groups of eight cells: enough to say
// which tiles move and whether their first and last columns may.
inline constexpr int32_t movingGroupShift = 3;

// Marks the groups of the cells [first, last) of the row where a height is not zero.
inline void markMovingCells(const int32_t* row, int32_t first, int32_t last, uint8_t* moving) {
    for (int32_t c = first; c < last; ++c) {
        if (row[c] != 0) {
            moving[c >> movingGroupShift] = 1;
        }
    }
}

// Asks for the cache line 16 KiB past `at`, wherever that lies: the one-pass rows fetch each
// stream ahead because rows are long and cross pages, where the processor's own prefetching
// starts over.
inline void prefetchAhead(const void* at) {
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(at) + 16384));
}

// Spans shorter than this many cells are too short for the processor's own prefetching to
// find: they fetch the same columns of the rows below, which the tile steps next, instead of
// reaching far ahead along the row.
inline constexpr int32_t shortSpanCells = 256;

// Asks for the cells that the same columns of the row two below will read first, wherever
// they lie: past the last row, a request fetches nothing.
inline void prefetchRowsBelow(const StepBuffers& s, int32_t rowStart, int32_t column) {
    const auto cell = uintptr_t(rowStart + 2 * s.width + column) * 4;
    const auto at = [&](const void* buffer, uintptr_t offset) {
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(buffer) + offset));
    };
    at(s.older, cell + uintptr_t(s.width) * 4);
    at(s.newer, cell + uintptr_t(s.width) * 4);
    at(s.source, cell);
    at(s.output, cell);
}

} // namespace ripple
