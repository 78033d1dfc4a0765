#include "ripple/ripple_surface.h"

#include <cstdlib>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Heights are unbounded, so their arithmetic wraps as 32-bit two's complement instead of
// overflowing.
int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

uint32_t shadeChannel(uint32_t pixel, int shift, int32_t slope) {
    const int32_t value = wrapSub(static_cast<int32_t>((pixel >> shift) & 0xFF), slope);
    const int32_t clamped = value < 0 ? 0 : (value > 255 ? 255 : value);
    return static_cast<uint32_t>(clamped) << shift;
}

// The pointers of one step; the four buffers never overlap.
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
void renderRunScalar(const StepBuffers& s, int32_t first, int32_t last) {
    const int32_t* a = s.older;
    const int32_t w = s.width;
    for (int32_t i = first; i < last; ++i) {
        renderPixel(s, i, wrapSub(a[i], a[i + 1]), wrapSub(a[i], a[i + w]));
    }
}

#if defined(__SSE2__)

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

// Four pixels at a time. Shading c - dx clamped to 0..255 equals a saturating byte add of
// max(-dx, 0) and subtract of max(dx, 0) once dx is clamped to -255..255. That holds for
// every dx except those within 255 of the lowest 32-bit value, where c - dx wraps; such
// groups go the scalar way.
void renderRun(const StepBuffers& s, int32_t first, int32_t last) {
    const int32_t* a = s.older;
    const int32_t w = s.width;
    const __m128i zero = _mm_setzero_si128();
    const __m128i widthLanes = _mm_set1_epi32(w);
    const __m128i countLanes = _mm_set1_epi32(s.pixelCount);
    const __m128i laneOffsets = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i wrapLimit = _mm_set1_epi32(std::numeric_limits<int32_t>::min() + 256);
    const __m128i channelLimit = _mm_set1_epi32(255);
    const __m128i negativeLimit = _mm_set1_epi32(-255);
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    alignas(16) int32_t lookup[4];

    int32_t i = first;
    for (; i + 4 <= last; i += 4) {
        const __m128i centre = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 1));
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + w));
        const __m128i dx = _mm_sub_epi32(centre, right);
        const __m128i dy = _mm_sub_epi32(centre, below);
        if (_mm_movemask_epi8(_mm_cmplt_epi32(dx, wrapLimit)) != 0) {
            renderRunScalar(s, i, i + 4);
            continue;
        }
        const __m128i index = _mm_add_epi32(_mm_set1_epi32(i), laneOffsets);
        const __m128i j =
            _mm_add_epi32(_mm_add_epi32(index, multiplyLow(_mm_srai_epi32(dy, 4), widthLanes)),
                          _mm_srai_epi32(dx, 4));
        const __m128i inside =
            _mm_and_si128(_mm_cmpgt_epi32(j, zero), _mm_cmplt_epi32(j, countLanes));
        _mm_store_si128(reinterpret_cast<__m128i*>(lookup), select(inside, j, index));
        const __m128i pixels = _mm_setr_epi32(
            static_cast<int32_t>(s.source[lookup[0]]), static_cast<int32_t>(s.source[lookup[1]]),
            static_cast<int32_t>(s.source[lookup[2]]), static_cast<int32_t>(s.source[lookup[3]]));

        __m128i slope = select(_mm_cmpgt_epi32(dx, channelLimit), channelLimit, dx);
        slope = select(_mm_cmplt_epi32(slope, negativeLimit), negativeLimit, slope);
        const __m128i darken = _mm_and_si128(slope, _mm_cmpgt_epi32(slope, zero));
        const __m128i lighten =
            _mm_and_si128(_mm_sub_epi32(zero, slope), _mm_cmplt_epi32(slope, zero));
        const __m128i shaded =
            _mm_and_si128(_mm_subs_epu8(_mm_adds_epu8(pixels, spreadToChannels(lighten)),
                                        spreadToChannels(darken)),
                          colourMask);

        // Reading the old output only when a lookup fell outside spares a memory stream.
        __m128i* out = reinterpret_cast<__m128i*>(s.output + i);
        if (_mm_movemask_epi8(inside) == 0xFFFF) {
            _mm_storeu_si128(out, shaded);
        } else {
            _mm_storeu_si128(out, select(inside, shaded, _mm_loadu_si128(out)));
        }
    }
    renderRunScalar(s, i, last);
}

#else

void renderRun(const StepBuffers& s, int32_t first, int32_t last) {
    renderRunScalar(s, first, last);
}

#endif

// Each interior cell of the row becomes the damped difference between a quarter of its
// eight neighbours in B and its own old value in A.
void propagateRow(const StepBuffers& s, int32_t rowStart, int shift) {
    const int32_t w = s.width;
    const uint32_t* up = reinterpret_cast<const uint32_t*>(s.newer + rowStart - w);
    const uint32_t* mid = reinterpret_cast<const uint32_t*>(s.newer + rowStart);
    const uint32_t* down = reinterpret_cast<const uint32_t*>(s.newer + rowStart + w);
    int32_t* __restrict a = s.older + rowStart;
    for (int32_t c = 1; c < w - 1; ++c) {
        // Unsigned sums wrap, as 32-bit heights do.
        const uint32_t sum = up[c - 1] + up[c] + up[c + 1] + mid[c - 1] + mid[c + 1] + down[c - 1] +
                             down[c] + down[c + 1];
        const int32_t v = wrapSub(static_cast<int32_t>(sum) >> 2, a[c]);
        a[c] = wrapSub(v, v >> shift);
    }
}

// The offsets [start, end) along one axis that keep a disc around centre inside 1 .. size - 2.
void discRange(int64_t centre, int64_t radius, int64_t size, int64_t& start, int64_t& end) {
    start = centre - radius > 0 ? -radius : 1 - centre;
    end = centre + radius <= size - 1 ? radius : size - 1 - centre;
}

} // namespace

RippleSurface* allocateRippleSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 ||
        static_cast<int64_t>(width) * height > std::numeric_limits<int32_t>::max() / 4) {
        return nullptr;
    }
    auto* surface = static_cast<RippleSurface*>(std::calloc(1, sizeof(RippleSurface)));
    if (surface == nullptr) {
        return nullptr;
    }
    surface->pixelCount = width * height;
    surface->byteSize = surface->pixelCount * 4;
    const auto count = static_cast<size_t>(surface->pixelCount);
    surface->heights[0] = static_cast<int32_t*>(std::calloc(count, sizeof(int32_t)));
    surface->heights[1] = static_cast<int32_t*>(std::calloc(count, sizeof(int32_t)));
    surface->source = static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t)));
    surface->output = static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t)));
    if (!surface->heights[0] || !surface->heights[1] || !surface->source || !surface->output) {
        freeRippleSurface(surface);
        return nullptr;
    }
    surface->header.info.biSize = 40;
    surface->header.info.biWidth = width;
    surface->header.info.biHeight = -height;
    surface->header.info.biPlanes = 1;
    surface->header.info.biBitCount = 32;
    surface->width = width;
    surface->height = height;
    surface->dampingShift = rippleDampingShift;
    surface->current = 0;
    return surface;
}

void addDrop(RippleSurface* surface, int32_t x, int32_t y, int32_t radius, int32_t strength) {
    RippleSurface& s = *surface;
    int32_t* field = s.heights[1 - s.current];
    int64_t kxStart, kxEnd, kyStart, kyEnd;
    discRange(x, radius, s.width, kxStart, kxEnd);
    discRange(y, radius, s.height, kyStart, kyEnd);
    const int64_t radiusSquared = static_cast<int64_t>(radius) * radius;
    for (int64_t ky = kyStart; ky < kyEnd; ++ky) {
        const int64_t centre = (y + ky) * s.width + x;
        for (int64_t kx = kxStart; kx < kxEnd; ++kx) {
            if (kx * kx + ky * ky < radiusSquared) {
                field[centre + kx] = wrapAdd(field[centre + kx], strength);
            }
        }
    }
}

// One sweep down the rows: each row is rendered from A and then propagated into A. A row's
// render reads A only in that row and the next, which are still unpropagated then, so this
// gives the same result as rendering the whole picture first.
//
// Surfaces of 500 rows or more render columns 1 .. W - 2 of each interior row. Shorter ones
// render in passes of W - 2 indices that follow each other without a gap from index W + 1
// on, which takes in the border columns too; the last pass may reach into the bottom row,
// whose lower neighbours lie outside the field, so there the vertical slope is taken as 0.
void stepRipple(RippleSurface* surface) {
    RippleSurface& r = *surface;
    const int32_t w = r.width;
    const int32_t rows = r.height == 700 ? 699 : r.height;
    const int64_t end64 = static_cast<int64_t>(w) * (rows - 1);
    // Narrower than three columns there is no interior to render or propagate.
    if (w >= 3 && w + 1 < end64) {
        const StepBuffers s{r.heights[r.current], r.heights[1 - r.current], r.source, r.output, w,
                            r.pixelCount};
        const auto end = static_cast<int32_t>(end64);
        const bool byRows = r.height >= 500;
        const int32_t passLength = w - 2;
        const int32_t contiguousEnd = w + 1 + ((end - 1 - (w + 1)) / passLength + 1) * passLength;
        for (int32_t rowStart = w; rowStart + 1 < end; rowStart += w) {
            if (byRows) {
                renderRun(s, rowStart + 1, rowStart + w - 1);
            } else {
                renderRun(s, rowStart == w ? w + 1 : rowStart, rowStart + w);
            }
            propagateRow(s, rowStart, r.dampingShift);
        }
        for (int32_t i = end; !byRows && i < contiguousEnd; ++i) {
            renderPixel(s, i, wrapSub(s.older[i], s.older[i + 1]), 0);
        }
    }
    r.current = 1 - r.current;
}

void freeRippleSurface(RippleSurface* surface) {
    if (surface == nullptr) {
        return;
    }
    std::free(surface->heights[0]);
    std::free(surface->heights[1]);
    std::free(surface->source);
    std::free(surface->output);
    std::free(surface);
}
