#include "ripple/ripple_surface.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

#include "ripple/ripple_step_kernels.h"

using namespace ripple;

namespace {

struct StepKernels {
    void (*renderRun)(StepBuffers, int32_t, int32_t);
    void (*propagateRow)(StepBuffers, int32_t, int);
    void (*stepRow)(StepBuffers, int32_t, int);
    void (*stepRowSpan)(StepBuffers, int32_t, int32_t, int32_t, int, uint8_t*);
};

StepKernels kernelsFor(RippleCodePath path) {
#if defined(__x86_64__) || defined(__i386__)
    if (path == RippleCodePath::avx2) {
        return {renderRunAvx2, propagateRowAvx2, stepRowAvx2, stepRowSpanAvx2};
    }
#endif
    (void)path;
    return {renderRunSse2, propagateRowSse2, stepRowSse2, stepRowSpanSse2};
}

RippleCodePath widestCodePath() {
    return rippleCodePathAvailable(RippleCodePath::avx2) ? RippleCodePath::avx2
                                                         : RippleCodePath::sse2;
}

RippleCodePath chosenPath = widestCodePath();
StepKernels kernels = kernelsFor(chosenPath);

constexpr int32_t tileWidth = int32_t(1) << tileColumnShift;
constexpr int32_t tileHeight = int32_t(1) << tileRowShift;

// After a step over everything or a change by hand, nothing is known of where the water is
// calm: the next step goes over every tile and finds out.
void forgetCalm(RippleTiles& tiles) {
    for (std::vector<uint8_t>* flags : {&tiles.moving[0], &tiles.moving[1], &tiles.stepped}) {
        std::fill(flags->begin(), flags->end(), uint8_t(1));
    }
    std::fill(tiles.settled.begin(), tiles.settled.end(), uint8_t(0));
}

// Surfaces the tiled step goes over whole: shorter ones render in passes that run across the
// border columns, and a 700-row one keeps a row that is never stepped, whose heights a drop
// can leave behind.
bool steppedWhole(const RippleSurface& r) {
    return r.height < 500 || r.height == 700 || r.width < 3;
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
    surface->tiles = new (std::nothrow) RippleTiles;
    if (surface->tiles == nullptr) {
        freeRippleSurface(surface);
        return nullptr;
    }
    RippleTiles& tiles = *surface->tiles;
    tiles.columns = (width + tileWidth - 1) / tileWidth;
    tiles.rows = (height + tileHeight - 1) / tileHeight;
    const auto tileCount = static_cast<size_t>(tiles.columns) * static_cast<size_t>(tiles.rows);
    // Flat fields and a black output, which does not show the source yet.
    tiles.moving[0].assign(tileCount, 0);
    tiles.moving[1].assign(tileCount, 0);
    tiles.settled.assign(tileCount, 0);
    tiles.stepped.assign(tileCount, 0);
    return surface;
}

void addDrop(RippleSurface* surface, int32_t x, int32_t y, int32_t radius, int32_t strength) {
    RippleSurface& s = *surface;
    int32_t* field = s.heights[1 - s.current];
    int64_t kxStart, kxEnd, kyStart, kyEnd;
    discRange(x, radius, s.width, kxStart, kxEnd);
    discRange(y, radius, s.height, kyStart, kyEnd);
    if (kxStart < kxEnd && kyStart < kyEnd) {
        RippleTiles& tiles = *s.tiles;
        for (int64_t ty = (y + kyStart) >> tileRowShift; ty <= (y + kyEnd - 1) >> tileRowShift;
             ++ty) {
            for (int64_t tx = (x + kxStart) >> tileColumnShift;
                 tx <= (x + kxEnd - 1) >> tileColumnShift; ++tx) {
                tiles.moving[1 - s.current][size_t(ty * tiles.columns + tx)] = 1;
            }
        }
    }
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
    // A surface exactly 700 rows high steps one row fewer: its row 698 is neither rendered
    // nor propagated, so that row's output stays black and its heights as drops left them.
    // The water has always had this rule and its reference model in the tests keeps it; no
    // common screen is 700 rows high, and changing it would change every 700-row render.
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
                kernels.stepRow(s, rowStart, r.dampingShift);
            } else {
                kernels.renderRun(s, rowStart == w ? w + 1 : rowStart, rowStart + w);
                kernels.propagateRow(s, rowStart, r.dampingShift);
            }
        }
        for (int32_t i = end; !byRows && i < contiguousEnd; ++i) {
            renderPixel(s, i, wrapSub(s.older[i], s.older[i + 1]), 0);
        }
    }
    r.current = 1 - r.current;
    forgetCalm(*r.tiles);
}

void stepMovingRipple(RippleSurface* surface) {
    RippleSurface& r = *surface;
    if (steppedWhole(r)) {
        stepRipple(surface);
        return;
    }
    RippleTiles& t = *r.tiles;
    std::vector<uint8_t>& movingA = t.moving[r.current];
    const std::vector<uint8_t>& movingB = t.moving[1 - r.current];
    // A tile changes nothing when both fields are zero over it and its ring, which lies in
    // the tiles around it, and its output shows its source already. One it goes over shows
    // its source afterwards when A was zero over it and its ring: then every slope is zero.
    for (int32_t ty = 0; ty < t.rows; ++ty) {
        for (int32_t tx = 0; tx < t.columns; ++tx) {
            bool near = false;
            bool nearA = false;
            for (int32_t ny = std::max(ty - 1, 0); ny <= std::min(ty + 1, t.rows - 1); ++ny) {
                for (int32_t nx = std::max(tx - 1, 0); nx <= std::min(tx + 1, t.columns - 1);
                     ++nx) {
                    const size_t n = size_t(ny) * size_t(t.columns) + size_t(nx);
                    nearA = nearA || movingA[n] != 0;
                    near = near || movingA[n] != 0 || movingB[n] != 0;
                }
            }
            const size_t i = size_t(ty) * size_t(t.columns) + size_t(tx);
            const bool step = near || t.settled[i] == 0;
            t.stepped[i] = step;
            if (step) {
                t.settled[i] = !nearA;
            }
        }
    }
    // A is rewritten where the step goes: its tiles are found again as it goes.
    for (size_t i = 0; i < movingA.size(); ++i) {
        if (t.stepped[i] != 0) {
            movingA[i] = 0;
        }
    }
    const StepBuffers s{r.heights[r.current], r.heights[1 - r.current], r.source, r.output, r.width,
                        r.pixelCount};
    for (int32_t row = 1; row < r.height - 1; ++row) {
        uint8_t* moving = movingA.data() + size_t(row >> tileRowShift) * size_t(t.columns);
        forEachSteppedRun(t, row >> tileRowShift, [&](int32_t firstTile, int32_t endTile) {
            const int32_t first = std::max(1, firstTile * tileWidth);
            const int32_t last = std::min(r.width - 1, endTile * tileWidth);
            if (first < last) {
                kernels.stepRowSpan(s, row * r.width, first, last, r.dampingShift, moving);
            }
        });
    }
    r.current = 1 - r.current;
}

void markRippleSurfaceChanged(RippleSurface* surface) {
    forgetCalm(*surface->tiles);
}

bool rippleCodePathAvailable(RippleCodePath path) {
    if (path == RippleCodePath::sse2) {
        return true;
    }
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2"); // checks that the system saves the wide registers
#else
    return false;
#endif
}

RippleCodePath rippleCodePath() {
    return chosenPath;
}

bool useRippleCodePath(RippleCodePath path) {
    if (!rippleCodePathAvailable(path)) {
        return false;
    }
    chosenPath = path;
    kernels = kernelsFor(path);
    return true;
}

void freeRippleSurface(RippleSurface* surface) {
    if (surface == nullptr) {
        return;
    }
    std::free(surface->heights[0]);
    std::free(surface->heights[1]);
    std::free(surface->source);
    std::free(surface->output);
    delete surface->tiles;
    std::free(surface);
}
