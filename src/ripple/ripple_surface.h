// The water simulation: two integer height fields over a grid of W x H cells, the background
// picture and the refracted output picture. Plain integer arithmetic, free of platform calls.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "win32/bitmap_info_header.h"
#include "ripple/ripple_tile_size.h"

// Same layout as the platform's BITMAPINFO (a BITMAPINFOHEADER and one colour entry): it
// describes both pictures as top-down 32-bit BI_RGB images.
struct SurfaceBitmapHeader {
    BitmapInfoHeader info;
    uint32_t colour0;
};
static_assert(sizeof(SurfaceBitmapHeader) == 44, "must match BITMAPINFO");

// Where the water can change, tile by tile (32 columns by 8 rows, the last ones cut by the
// surface's edges), so that a step can pass over calm water. A tile is calm when both height
// fields are zero over it and the ring of cells around it, and its output already shows its
// source: a step then changes nothing there.
struct RippleTiles {
    int32_t columns = 0;
    int32_t rows = 0;
    // Per height field and tile, with a frame of flat tiles around the grid: which of the
    // tile's cells may be non-zero (RippleTileFlag), in rows padded for whole blocks.
    std::vector<uint8_t> moving[2];
    // The tile's rendered cells show their source pixels, as a step over flat water makes.
    std::vector<uint8_t> settled;
    // The tiles the last step went over: the only ones whose output it can have changed.
    std::vector<uint8_t> stepped;
    // Steps to go over whole before looking at the tiles again: where much of the water
    // moves, the tiles cost more than they spare.
    int32_t wholeStepsLeft = 0;
};

// A tile's flags for one height field: some cell may be non-zero, and some cell of its top
// row, bottom row, left or right column may be, the cells its neighbours' rings take in.
enum RippleTileFlag : uint8_t {
    anyCellMoving = 1 << 0,
    topRowMoving = 1 << 1,
    bottomRowMoving = 1 << 2,
    leftColumnMoving = 1 << 3,
    rightColumnMoving = 1 << 4,
    everyCellMoving =
        anyCellMoving | topRowMoving | bottomRowMoving | leftColumnMoving | rightColumnMoving,
};

// Calls run(first, end) for every run [first, end) of neighbouring flags that are set, among
// count flags.
template <typename Run> void forEachRunOfSetFlags(const uint8_t* flags, int32_t count, Run run) {
    for (int32_t first = 0; first < count;) {
        if (flags[first] == 0) {
            ++first;
            continue;
        }
        int32_t end = first + 1;
        while (end < count && flags[end] != 0) {
            ++end;
        }
        run(first, end);
        first = end;
    }
}

// Calls run(first, end) for every run [first, end) of neighbouring tiles of the tile row that
// the last step went over.
template <typename Run> void forEachSteppedRun(const RippleTiles& tiles, int32_t tileRow, Run run) {
    forEachRunOfSetFlags(tiles.stepped.data() + size_t(tileRow) * size_t(tiles.columns),
                         tiles.columns, run);
}

// A new picture coming in under the water, stage by stage (source_fade.h).
// Each stage goes over the rows in bands; the source's rows are kept as the fade's first stage
// reaches them, so that beginning a fade touches none of its memory.
struct SourceFade {
    std::unique_ptr<uint32_t[]> from; // the source when the fade began, the rows stage 1 went over
    std::vector<uint32_t> to;         // the new picture, as the source holds pixels
    int32_t stage = 0;
    int32_t stages = 0;
    int32_t nextRow = 0; // the first row of the stage's next band; 0 between stages
};

// Pixels are 0x00RRGGBB little-endian values, rows top first, stride 4 x width.
struct RippleSurface {
    SurfaceBitmapHeader header;
    int32_t pixelCount; // N = W x H
    int32_t byteSize;   // N x 4, the size of each buffer
    uint32_t* source;
    uint32_t* output;
    int32_t* heights[2];
    int32_t width;
    int32_t height;
    int32_t dampingShift;
    int32_t current; // the height field that the next step renders and overwrites
    void* window;    // the surface window's handle, owned by the platform layer
    uintptr_t stepTimer;
    RippleTiles* tiles; // kept by addDrop and every step
    SourceFade* fade;   // a new picture coming in under the water, or null (source_fade.h)
};

constexpr int32_t rippleDampingShift = 7;

// Adds strength to the cells of the next field inside the open disc of the given radius
// around (x, y) that lie in the interior of the grid, and flags their tiles (and edges) as
// moving: those cells and no others.
void addDrop(RippleSurface* surface, int32_t x, int32_t y, int32_t radius, int32_t strength);

// Renders the output from the older field, propagates and damps the waves into it, then
// makes it the newer field.
void stepRipple(RippleSurface* surface);

// The same step over the tiles where the water can change only, with exactly the same result
// as stepRipple. Surfaces shorter than 500 rows, and those exactly 700 rows high, are
// stepped whole. tiles->stepped says which tiles it went over.
void stepMovingRipple(RippleSurface* surface);

// Whether the water is calm: a step would change nothing until a drop falls or the surface
// is changed by hand, so that steps may stop until then. Known after a step: the last one
// went over no tile and no new picture is coming in. Never on surfaces stepped whole (small
// ones), which keep stepping.
bool rippleSurfaceCalm(const RippleSurface* surface);

// Says that the height fields, the source or the output were written other than by addDrop
// and the steps: the next step goes over every tile.
void markRippleSurfaceChanged(RippleSurface* surface);

// Says that the source's rows [top, bottom) were written: where the water is calm and its
// output shows the source, the output shows the new source at once, as a step there would
// make it; the steps still pass over those tiles. Surfaces stepped whole are left to their
// next step.
void showChangedSourceWhereCalm(RippleSurface* surface, int32_t top, int32_t bottom);

// The ways the step can run, each giving exactly the same result: SSE2, which every x86-64
// processor has (plain code elsewhere), and AVX2, eight cells at a time.
enum class RippleCodePath { sse2, avx2 };

// Whether this processor can take the path.
bool rippleCodePathAvailable(RippleCodePath path);

// The path steps take: the widest this processor has, chosen at the first step.
RippleCodePath rippleCodePath();

// Makes steps take the path, for tests and benchmarks; false, changing nothing, when this
// processor cannot take it.
bool useRippleCodePath(RippleCodePath path);

// Copies the source's outermost ring of pixels (and the row a 700-row surface never renders)
// into the output, which no step of a surface of 500 rows or more writes: the edges then show
// the picture as calm water does instead of black.
void showSourceAtEdges(RippleSurface* surface);

// Releases the buffers and the record. Accepts null and partly allocated surfaces.
void freeRippleSurface(RippleSurface* surface);

// Owns a surface and frees it.
struct RippleSurfaceDeleter {
    void operator()(RippleSurface* surface) const { freeRippleSurface(surface); }
};
using OwnedRippleSurface = std::unique_ptr<RippleSurface, RippleSurfaceDeleter>;

// Allocates a zero-filled surface of width x height cells with a black source and output.
// Empty when a side is not positive, when 4 x W x H does not fit a signed 32-bit value, or
// when memory runs out.
OwnedRippleSurface allocateRippleSurface(int32_t width, int32_t height);
