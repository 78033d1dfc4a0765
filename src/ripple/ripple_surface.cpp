#include "ripple/ripple_surface.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "ripple/ripple_step_kernels.h"

using namespace ripple;

namespace {

const StepKernels& kernelsFor(RippleCodePath path) {
#if defined(__x86_64__) || defined(__i386__)
    if (path == RippleCodePath::avx2) {
        return avx2StepKernels;
    }
#endif
    (void)path;
    return sse2StepKernels;
}

RippleCodePath widestCodePath() {
    return rippleCodePathAvailable(RippleCodePath::avx2) ? RippleCodePath::avx2
                                                         : RippleCodePath::sse2;
}

// The code path every step takes: process-wide, chosen once for the processor (tests and
// benchmarks may choose another).
const StepKernels* kernels = &kernelsFor(widestCodePath());

constexpr int32_t tileColumnShift = rippleTileColumnShift;
constexpr int32_t tileRowShift = rippleTileRowShift;
constexpr int32_t tileWidth = int32_t(1) << tileColumnShift;
constexpr int32_t tileHeight = int32_t(1) << tileRowShift;
// Where more than a quarter of the tiles move, this many steps go over everything before the
// tiles are looked at again: the tiles around moving ones are stepped too, and a step over
// everything costs as much as one over the tiles when about two fifths of them are stepped.
constexpr int32_t stormWholeSteps = 7;
// The groups of cells that the step's spans mark in a tile's row.
constexpr int32_t groupsPerTile = tileWidth >> movingGroupShift;

// The flags of the tile at (column, row) lie at this index of a field's framed grid.
// The tiles are decided in blocks of this many, which the compiler turns into vector code.
constexpr int32_t tileBlock = 16;

// The distance between rows of a framed grid: room for whole blocks and the frame.
size_t framedStride(const RippleTiles& tiles) {
    return size_t((tiles.columns + tileBlock - 1) / tileBlock * tileBlock + 2);
}

size_t framedIndex(const RippleTiles& tiles, int64_t column, int64_t row) {
    return size_t(row + 1) * framedStride(tiles) + size_t(column + 1);
}

// After a step over everything or a change by hand, nothing is known of where the water is
// calm: the next step goes over every tile and finds out.
void forgetCalm(RippleTiles& tiles) {
    for (std::vector<uint8_t>& flags : tiles.moving) {
        for (int32_t row = 0; row < tiles.rows; ++row) {
            const auto first = flags.begin() + ptrdiff_t(framedIndex(tiles, 0, row));
            std::fill(first, first + tiles.columns, everyCellMoving);
        }
    }
    std::fill(tiles.stepped.begin(), tiles.stepped.end(), uint8_t(1));
    std::fill(tiles.settled.begin(), tiles.settled.end(), uint8_t(0));
}

// Whether a field may be non-zero over the tile at f (in a framed grid of flags whose rows
// are stride apart) or over the ring of cells around it, which lies in the edges of the eight
// tiles around.
inline uint8_t mayMoveNear(const uint8_t* __restrict f, size_t stride) {
    const auto has = [](uint8_t flags, uint8_t edges) { return uint8_t((flags & edges) == edges); };
    const uint8_t* up = f - stride;
    const uint8_t* down = f + stride;
    return has(f[0], anyCellMoving) | has(f[-1], rightColumnMoving) | has(f[1], leftColumnMoving) |
           has(up[0], bottomRowMoving) | has(down[0], topRowMoving) |
           has(up[-1], bottomRowMoving | rightColumnMoving) |
           has(up[1], bottomRowMoving | leftColumnMoving) |
           has(down[-1], topRowMoving | rightColumnMoving) |
           has(down[1], topRowMoving | leftColumnMoving);
}

// Decides which tiles of one row the step goes over; a and b point at the row's first tile
// in the framed grids of flags. A tile changes nothing when both fields are zero over it and
// its ring and its output shows its source already. One it goes over shows its source
// afterwards when A was zero over it and its ring: then every slope is zero.
void chooseTilesToStep(const uint8_t* a, const uint8_t* b, size_t stride, int32_t columns,
                       uint8_t* stepped, uint8_t* settled) {
    for (int32_t first = 0; first < columns; first += tileBlock) {
        const auto count = size_t(std::min(tileBlock, columns - first));
        uint8_t wasSettled[tileBlock] = {};
        uint8_t step[tileBlock];
        uint8_t nowSettled[tileBlock];
        std::copy_n(settled + first, count, wasSettled);
        for (int32_t k = 0; k < tileBlock; ++k) {
            const uint8_t nearA = mayMoveNear(a + first + k, stride);
            const uint8_t nearB = mayMoveNear(b + first + k, stride);
            step[k] = nearA | nearB | uint8_t(wasSettled[k] == 0);
            nowSettled[k] = step[k] != 0 ? uint8_t(nearA == 0) : wasSettled[k];
        }
        std::copy_n(step, count, stepped + first);
        std::copy_n(nowSettled, count, settled + first);
    }
}

// A tile's flags from the groups of cells its rows marked, groupsPerRow apart: a row's four
// groups are read as one word.
uint8_t tileFlags(const uint8_t* groups, size_t groupsPerRow) {
    static_assert(groupsPerTile == sizeof(uint32_t));
    uint32_t rows[tileHeight];
    for (int32_t row = 0; row < tileHeight; ++row) {
        std::memcpy(&rows[row], groups + size_t(row) * groupsPerRow, sizeof(uint32_t));
    }
    uint32_t any = 0;
    for (uint32_t marked : rows) {
        any |= marked;
    }
    uint8_t columns[groupsPerTile];
    std::memcpy(columns, &any, sizeof(any));
    // A tile's first and last columns lie in its first and last groups.
    return uint8_t((any != 0 ? anyCellMoving : 0) | (rows[0] != 0 ? topRowMoving : 0) |
                   (rows[tileHeight - 1] != 0 ? bottomRowMoving : 0) |
                   (columns[0] != 0 ? leftColumnMoving : 0) |
                   (columns[groupsPerTile - 1] != 0 ? rightColumnMoving : 0));
}

// Buffers start on a cache line, so that a tile's row of 32 cells takes two lines, not three.
constexpr std::align_val_t cacheLine{64};

// A zero-filled buffer of count 32-bit cells, or null when memory runs out.
void* allocateCells(size_t count) {
    void* cells = ::operator new(count * 4, cacheLine, std::nothrow);
    if (cells != nullptr) {
        std::memset(cells, 0, count * 4);
    }
    return cells;
}

void freeCells(void* cells) {
    ::operator delete(cells, cacheLine);
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

// Flags the tiles of row's cells first .. last as holding cells that may be non-zero, with
// the edges those cells lie on.
void markCellsMoving(const RippleTiles& tiles, std::vector<uint8_t>& moving, int64_t row,
                     int64_t first, int64_t last) {
    const int64_t rowInTile = row & (tileHeight - 1);
    const auto rowFlags = uint8_t(anyCellMoving | (rowInTile == 0 ? topRowMoving : 0) |
                                  (rowInTile == tileHeight - 1 ? bottomRowMoving : 0));
    for (int64_t tx = first >> tileColumnShift; tx <= last >> tileColumnShift; ++tx) {
        const int64_t left = tx << tileColumnShift;
        moving[framedIndex(tiles, tx, row >> tileRowShift)] |=
            uint8_t(rowFlags | (first <= left ? leftColumnMoving : 0) |
                    (last >= left + tileWidth - 1 ? rightColumnMoving : 0));
    }
}

} // namespace

OwnedRippleSurface allocateRippleSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 ||
        static_cast<int64_t>(width) * height > std::numeric_limits<int32_t>::max() / 4) {
        return nullptr;
    }
    OwnedRippleSurface surface(new (std::nothrow) RippleSurface{});
    if (surface == nullptr) {
        return nullptr;
    }
    surface->pixelCount = width * height;
    surface->byteSize = surface->pixelCount * 4;
    const auto count = static_cast<size_t>(surface->pixelCount);
    surface->heights[0] = static_cast<int32_t*>(allocateCells(count));
    surface->heights[1] = static_cast<int32_t*>(allocateCells(count));
    surface->source = static_cast<uint32_t*>(allocateCells(count));
    surface->output = static_cast<uint32_t*>(allocateCells(count));
    if (!surface->heights[0] || !surface->heights[1] || !surface->source || !surface->output) {
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
        return nullptr;
    }
    RippleTiles& tiles = *surface->tiles;
    tiles.columns = (width + tileWidth - 1) / tileWidth;
    tiles.rows = (height + tileHeight - 1) / tileHeight;
    const auto tileCount = static_cast<size_t>(tiles.columns) * static_cast<size_t>(tiles.rows);
    // Flat fields and a black output, which does not show the source yet.
    const auto framedCount = framedStride(tiles) * size_t(tiles.rows + 2);
    tiles.moving[0].assign(framedCount, 0);
    tiles.moving[1].assign(framedCount, 0);
    tiles.settled.assign(tileCount, 0);
    tiles.stepped.assign(tileCount, 0);
    return surface;
}

void addDrop(RippleSurface* surface, int32_t x, int32_t y, int32_t radius, int32_t strength) {
    RippleSurface& s = *surface;
    int32_t* field = s.heights[1 - s.current];
    std::vector<uint8_t>& moving = s.tiles->moving[1 - s.current];
    int64_t kxStart, kxEnd, kyStart, kyEnd;
    discRange(x, radius, s.width, kxStart, kxEnd);
    discRange(y, radius, s.height, kyStart, kyEnd);
    const int64_t radiusSquared = static_cast<int64_t>(radius) * radius;
    for (int64_t ky = kyStart; ky < kyEnd; ++ky) {
        const int64_t centre = (y + ky) * s.width + x;
        int64_t first = kxEnd;
        int64_t last = kxStart - 1;
        for (int64_t kx = kxStart; kx < kxEnd; ++kx) {
            if (kx * kx + ky * ky < radiusSquared) {
                field[centre + kx] = wrapAdd(field[centre + kx], strength);
                first = std::min(first, kx);
                last = kx;
            }
        }
        if (first <= last) {
            markCellsMoving(*s.tiles, moving, y + ky, x + first, x + last);
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
                kernels->stepRow(s, rowStart, r.dampingShift);
            } else {
                kernels->renderRun(s, rowStart == w ? w + 1 : rowStart, rowStart + w);
                kernels->propagateRow(s, rowStart, r.dampingShift);
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
    if (t.wholeStepsLeft > 0) {
        --t.wholeStepsLeft;
        stepRipple(surface);
        return;
    }
    std::vector<uint8_t>& movingA = t.moving[r.current];
    const std::vector<uint8_t>& movingB = t.moving[1 - r.current];
    for (int32_t ty = 0; ty < t.rows; ++ty) {
        const size_t framed = framedIndex(t, 0, ty);
        const size_t first = size_t(ty) * size_t(t.columns);
        chooseTilesToStep(movingA.data() + framed, movingB.data() + framed, framedStride(t),
                          t.columns, t.stepped.data() + first, t.settled.data() + first);
    }
    // A is rewritten where the step goes and stays zero elsewhere: its flags are found again
    // as the step goes.
    std::fill(movingA.begin(), movingA.end(), uint8_t(0));
    const StepBuffers s{r.heights[r.current], r.heights[1 - r.current], r.source, r.output, r.width,
                        r.pixelCount};
    std::vector<std::pair<int32_t, int32_t>> runs;
    // Per row of the tile row, the groups of cells where the step left a height not zero.
    const size_t groupsPerRow = size_t(t.columns) * groupsPerTile;
    std::vector<uint8_t> groups(groupsPerRow * tileHeight, 0);
    for (int32_t ty = 0; ty < t.rows; ++ty) {
        runs.clear();
        forEachSteppedRun(t, ty,
                          [&](int32_t first, int32_t end) { runs.emplace_back(first, end); });
        for (const auto& [firstTile, endTile] : runs) {
            for (size_t row = 0; row < tileHeight; ++row) {
                uint8_t* rowGroups = groups.data() + row * groupsPerRow;
                std::fill(rowGroups + firstTile * groupsPerTile,
                          rowGroups + endTile * groupsPerTile, uint8_t(0));
            }
        }
        const int32_t lastRow = std::min(r.height - 1, (ty + 1) * tileHeight);
        for (int32_t row = std::max(1, ty * tileHeight); row < lastRow; ++row) {
            uint8_t* rowGroups = groups.data() + size_t(row - ty * tileHeight) * groupsPerRow;
            for (const auto& [firstTile, endTile] : runs) {
                const int32_t first = std::max(1, firstTile * tileWidth);
                const int32_t last = std::min(r.width - 1, endTile * tileWidth);
                kernels->stepRowSpan(s, row * r.width, first, last, r.dampingShift, rowGroups);
            }
        }
        uint8_t* flags = movingA.data() + framedIndex(t, 0, ty);
        for (const auto& [firstTile, endTile] : runs) {
            for (int32_t tx = firstTile; tx < endTile; ++tx) {
                flags[tx] = tileFlags(groups.data() + size_t(tx) * groupsPerTile, groupsPerRow);
            }
        }
    }
    // Where more than a quarter of the tiles move, as in a storm, the next steps go over
    // everything, and then this step finds out again where the water moves.
    const auto moving = std::count_if(movingA.begin(), movingA.end(),
                                      [](uint8_t flags) { return (flags & anyCellMoving) != 0; });
    if (moving * 4 > int64_t(t.columns) * t.rows) {
        t.wholeStepsLeft = stormWholeSteps;
    }
    r.current = 1 - r.current;
}

void showSourceAtEdges(RippleSurface* surface) {
    const RippleSurface& r = *surface;
    const size_t width = size_t(r.width);
    const auto copyRow = [&](size_t row) {
        for (size_t x = 0; x < width; ++x) {
            r.output[row * width + x] = r.source[row * width + x] & 0xFFFFFFu;
        }
    };
    copyRow(0);
    copyRow(size_t(r.height - 1));
    if (r.height == 700) {
        copyRow(698); // the row such a surface never renders
    }
    for (size_t row = 1; row + 1 < size_t(r.height); ++row) {
        r.output[row * width] = r.source[row * width] & 0xFFFFFFu;
        r.output[row * width + width - 1] = r.source[row * width + width - 1] & 0xFFFFFFu;
    }
}

bool rippleSurfaceCalm(const RippleSurface* surface) {
    const RippleSurface& r = *surface;
    if (r.fade != nullptr) {
        return false;
    }
    if (steppedWhole(r)) {
        return false; // small surfaces: never known, stepped as ever
    }
    const RippleTiles& t = *r.tiles;
    return t.wholeStepsLeft == 0 &&
           std::none_of(t.stepped.begin(), t.stepped.end(), [](uint8_t s) { return s != 0; });
}

void markRippleSurfaceChanged(RippleSurface* surface) {
    forgetCalm(*surface->tiles);
}

void showChangedSourceWhereCalm(RippleSurface* surface, int32_t firstRow, int32_t endRow) {
    const RippleSurface& r = *surface;
    const RippleTiles& t = *r.tiles;
    if (steppedWhole(r)) {
        return;
    }
    // The cells a step renders: the interior, never the outermost ring; a run of neighbouring
    // settled tiles a row at a time.
    const int32_t firstTileRow = std::max(0, firstRow) / tileHeight;
    const int32_t endTileRow =
        std::min(t.rows, (std::max(0, endRow) + tileHeight - 1) / tileHeight);
    for (int32_t ty = firstTileRow; ty < endTileRow; ++ty) {
        const uint8_t* settled = t.settled.data() + size_t(ty) * size_t(t.columns);
        const int32_t top = std::max({1, ty * tileHeight, firstRow});
        const int32_t bottom = std::min({r.height - 1, (ty + 1) * tileHeight, endRow});
        forEachRunOfSetFlags(settled, t.columns, [&](int32_t first, int32_t end) {
            const auto left = size_t(std::max(1, first * tileWidth));
            const auto right = size_t(std::min(r.width - 1, end * tileWidth));
            for (int32_t y = top; y < bottom; ++y) {
                uint32_t* __restrict out = r.output + size_t(y) * size_t(r.width);
                const uint32_t* __restrict in = r.source + size_t(y) * size_t(r.width);
                for (size_t x = left; x < right; ++x) {
                    out[x] = in[x] & 0xFFFFFFu;
                }
            }
        });
    }
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
    return kernels == &kernelsFor(RippleCodePath::avx2) ? RippleCodePath::avx2
                                                        : RippleCodePath::sse2;
}

bool useRippleCodePath(RippleCodePath path) {
    if (!rippleCodePathAvailable(path)) {
        return false;
    }
    kernels = &kernelsFor(path);
    return true;
}

void freeRippleSurface(RippleSurface* surface) {
    if (surface == nullptr) {
        return;
    }
    freeCells(surface->heights[0]);
    freeCells(surface->heights[1]);
    freeCells(surface->source);
    freeCells(surface->output);
    delete surface->tiles;
    delete surface->fade;
    delete surface;
}
