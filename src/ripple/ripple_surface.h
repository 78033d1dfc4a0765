// The water simulation: two integer height fields over a grid of W x H cells, the background
// picture and the refracted output picture. Plain integer arithmetic, free of platform calls.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/bitmap_info_header.h"

// Same layout as the platform's BITMAPINFO (a BITMAPINFOHEADER and one colour entry): it
// describes both pictures as top-down 32-bit BI_RGB images.
struct SurfaceBitmapHeader {
    BitmapInfoHeader info;
    uint32_t colour0;
};
static_assert(sizeof(SurfaceBitmapHeader) == 44, "must match BITMAPINFO");

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
};

constexpr int32_t rippleDampingShift = 7;

// Allocates a zero-filled surface of width x height cells with a black source and output.
// Returns null when a side is not positive, when 4 x W x H does not fit a signed 32-bit
// value, or when memory runs out.
RippleSurface* allocateRippleSurface(int32_t width, int32_t height);

// Adds strength to the cells of the next field inside the open disc of the given radius
// around (x, y) that lie in the interior of the grid.
void addDrop(RippleSurface* surface, int32_t x, int32_t y, int32_t radius, int32_t strength);

// Renders the output from the older field, propagates and damps the waves into it, then
// makes it the newer field.
void stepRipple(RippleSurface* surface);

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

// Releases the buffers and the record. Accepts null and partly allocated surfaces.
void freeRippleSurface(RippleSurface* surface);

// Owns a surface made by allocateRippleSurface and frees it.
struct RippleSurfaceDeleter {
    void operator()(RippleSurface* surface) const { freeRippleSurface(surface); }
};
using OwnedRippleSurface = std::unique_ptr<RippleSurface, RippleSurfaceDeleter>;
