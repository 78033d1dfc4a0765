// The water step's vector loops, written once over a set of lanes (Lanes: four cells at a
// time with SSE2, eight with AVX2) and compiled once per instruction set by the file that
// defines the lanes. Internal to the ripple engine; include it inside that file's
// instruction-set region, before the lanes, which derive from LaneArithmetic.
//
// LaneArithmetic gives what every width does alike; a Lanes type adds what each instruction
// set does its own way: indices (i, i + 1, ...); multiplyLow; select (mask, if set, if
// clear); allSet (of a mask), isZero, equal (every lane); addSaturatedBytes,
// subtractSaturatedBytes, spreadToChannels (byte 0 of each lane into bytes 0 to 2); gather
// (source pixels at indices).
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

#include "ripple/ripple_step_kernels.h"

namespace ripple {
namespace {

// The lane-wise arithmetic on the 32-bit lanes of a vector register of the given size,
// written with the compiler's vector extensions, which give the same instructions at every
// width. Vector is the type the instruction set's own calls take (__m128i, __m256i).
template <int32_t bytes> struct LaneArithmetic {
    typedef long long Vector __attribute__((vector_size(bytes)));
    typedef int32_t Cells __attribute__((vector_size(bytes)));
    typedef uint32_t Words __attribute__((vector_size(bytes)));
    static constexpr int32_t count = bytes / 4;
    static_assert(sizeof(Cells) == size_t(count) * sizeof(int32_t));

    static Vector zero() { return Vector(Cells{}); }
    static Vector splat(int32_t value) { return Vector(Cells{} + value); }
    static Vector load(const void* at) {
        Vector lanesRead;
        std::memcpy(&lanesRead, at, sizeof(lanesRead));
        return lanesRead;
    }
    static void store(void* at, Vector cells) { std::memcpy(at, &cells, sizeof(cells)); }
    // Additions wrap, as 32-bit heights do: unsigned lanes, where wrapping is defined.
    static Vector add(Vector a, Vector b) { return Vector(Words(a) + Words(b)); }
    static Vector sub(Vector a, Vector b) { return Vector(Words(a) - Words(b)); }
    template <int bits> static Vector shiftRight(Vector cells) {
        return Vector(Cells(cells) >> bits);
    }
    static Vector shiftRightBy(Vector cells, int bits) { return Vector(Cells(cells) >> bits); }
    static Vector greater(Vector a, Vector b) { return Vector(Cells(a) > Cells(b)); }
    static Vector minimum(Vector a, Vector b) {
        return Vector(Cells(a) < Cells(b) ? Cells(a) : Cells(b));
    }
    static Vector maximum(Vector a, Vector b) {
        return Vector(Cells(a) > Cells(b) ? Cells(a) : Cells(b));
    }
    static Vector andBits(Vector a, Vector b) { return Vector(Cells(a) & Cells(b)); }
    static Vector orBits(Vector a, Vector b) { return Vector(Cells(a) | Cells(b)); }
};

// Renders the Lanes::count cells from i on; dx and dy are their slopes. Shading c - dx
// clamped to 0..255 equals a saturating byte add of max(-dx, 0) and subtract of max(dx, 0)
// once dx is clamped to -255..255. That holds for every dx except those within 255 of the
// lowest 32-bit value, where c - dx wraps; such groups go the scalar way.
template <typename Lanes>
inline void renderGroup(const StepBuffers& s, int32_t i, typename Lanes::Vector dx,
                        typename Lanes::Vector dy) {
    using L = Lanes;
    const auto zero = L::zero();
    const auto colourMask = L::splat(0x00FFFFFF);
    if (!L::isZero(L::greater(L::splat(std::numeric_limits<int32_t>::min() + 256), dx))) {
        renderRunScalar(s, i, i + L::count);
        return;
    }
    uint32_t* out = s.output + i;
    // Flat water: every lookup is the pixel itself, always inside the picture.
    if (L::isZero(L::orBits(dx, dy))) {
        const auto pixels = L::andBits(L::load(s.source + i), colourMask);
        // Calm water mostly shows its source already: leaving such lines unwritten spares
        // writing them back to memory.
        if (!L::equal(L::load(out), pixels)) {
            L::store(out, pixels);
        }
        return;
    }
    const auto index = L::indices(i);
    const auto j = L::add(L::add(index, L::multiplyLow(L::template shiftRight<4>(dy), s.width)),
                          L::template shiftRight<4>(dx));
    const auto inside = L::andBits(L::greater(j, zero), L::greater(L::splat(s.pixelCount), j));
    const auto pixels = L::gather(s.source, L::select(inside, j, index));

    const auto slope = L::maximum(L::minimum(dx, L::splat(255)), L::splat(-255));
    const auto darken = L::maximum(slope, zero);
    const auto lighten = L::maximum(L::sub(zero, slope), zero);
    const auto shaded = L::andBits(
        L::subtractSaturatedBytes(L::addSaturatedBytes(pixels, L::spreadToChannels(lighten)),
                                  L::spreadToChannels(darken)),
        colourMask);
    // Reading the old output only when a lookup fell outside spares a memory stream.
    if (L::allSet(inside)) {
        L::store(out, shaded);
    } else {
        L::store(out, L::select(inside, shaded, L::load(out)));
    }
}

// The propagated value of the cells from column c of the row whose old values are `centre`:
// the damped difference between a quarter of their eight neighbours in B and their own old
// value. Lane additions wrap, as 32-bit heights do.
template <typename Lanes>
inline typename Lanes::Vector propagated(const int32_t* up, const int32_t* mid, const int32_t* down,
                                         int32_t c, typename Lanes::Vector centre, int shift) {
    using L = Lanes;
    const auto sum = L::add(L::add(L::add(L::load(up + c - 1), L::load(up + c)),
                                   L::add(L::load(up + c + 1), L::load(mid + c - 1))),
                            L::add(L::add(L::load(mid + c + 1), L::load(down + c - 1)),
                                   L::add(L::load(down + c), L::load(down + c + 1))));
    const auto v = L::sub(L::template shiftRight<2>(sum), centre);
    return L::sub(v, L::shiftRightBy(v, shift));
}

template <typename Lanes> inline void renderRun(StepBuffers s, int32_t first, int32_t last) {
    using L = Lanes;
    const int32_t* a = s.older;
    const int32_t w = s.width;
    int32_t i = first;
    for (; i + L::count <= last; i += L::count) {
        const auto centre = L::load(a + i);
        renderGroup<L>(s, i, L::sub(centre, L::load(a + i + 1)),
                       L::sub(centre, L::load(a + i + w)));
    }
    renderRunScalar(s, i, last);
}

template <typename Lanes> inline void propagateRow(StepBuffers s, int32_t rowStart, int shift) {
    using L = Lanes;
    const int32_t w = s.width;
    int32_t* a = s.older + rowStart;
    int32_t c = 1;
    for (; c + L::count <= w - 1; c += L::count) {
        L::store(a + c, propagated<L>(s.newer + rowStart - w, s.newer + rowStart,
                                      s.newer + rowStart + w, c, L::load(a + c), shift));
    }
    propagateCellsScalar(s, rowStart, c, w - 1, shift);
}

// One pass over the columns [first, last) of a row: each group of cells is rendered from A,
// then propagated into A. The render reads A in this row up to the next group's first cell
// and in the row below, none of which is propagated yet. Tracked spans mark where the new
// heights are not zero.
template <typename Lanes, bool tracked>
inline void stepSpan(StepBuffers s, int32_t rowStart, int32_t first, int32_t last, int shift,
                     uint8_t* moving) {
    using L = Lanes;
    const int32_t w = s.width;
    const int32_t* up = s.newer + rowStart - w;
    const int32_t* mid = s.newer + rowStart;
    const int32_t* down = s.newer + rowStart + w;
    int32_t* a = s.older + rowStart;
    const bool shortSpan = tracked && last - first < shortSpanCells;
    int32_t c = first;
    for (; c + L::count <= last; c += L::count) {
        if (shortSpan) {
            prefetchRowsBelow(s, rowStart, c + L::count - 1);
        } else if ((c & 15) >= 16 - L::count) { // once a cache line
            prefetchAhead(down + c);
            prefetchAhead(a + c + w);
            prefetchAhead(s.source + rowStart + c);
            prefetchAhead(s.output + rowStart + c);
        }
        const auto centre = L::load(a + c);
        renderGroup<L>(s, rowStart + c, L::sub(centre, L::load(a + c + 1)),
                       L::sub(centre, L::load(a + c + w)));
        const auto next = propagated<L>(up, mid, down, c, centre, shift);
        if (!L::equal(next, centre)) {
            L::store(a + c, next);
        }
        if constexpr (tracked) {
            if (!L::isZero(next)) {
                moving[c >> movingGroupShift] = 1;
                moving[(c + L::count - 1) >> movingGroupShift] = 1;
            }
        }
    }
    renderRunScalar(s, rowStart + c, rowStart + last);
    propagateCellsScalar(s, rowStart, c, last, shift);
    if constexpr (tracked) {
        markMovingCells(a, c, last, moving);
    }
}

template <typename Lanes> void stepRow(StepBuffers s, int32_t rowStart, int shift) {
    stepSpan<Lanes, false>(s, rowStart, 1, s.width - 1, shift, nullptr);
}

template <typename Lanes> constexpr StepKernels kernelsOf() {
    return {renderRun<Lanes>, propagateRow<Lanes>, stepRow<Lanes>, stepSpan<Lanes, true>};
}

} // namespace
} // namespace ripple
