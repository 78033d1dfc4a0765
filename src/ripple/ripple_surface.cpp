#include "ripple/ripple_surface.h"

#include <cstdlib>
#include <limits>

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

// Looks up the source pixel displaced by the slopes and lightens or darkens it by dx.
void renderPixel(const RippleSurface& s, int32_t i, int32_t dx, int32_t dy) {
    const int32_t j = wrapAdd(wrapAdd(i, wrapMul(s.width, dy >> 4)), dx >> 4);
    if (j <= 0 || j >= s.pixelCount) {
        return;
    }
    const uint32_t pixel = s.source[j];
    s.output[i] = shadeChannel(pixel, 16, dx) | shadeChannel(pixel, 8, dx) | shadeChannel(pixel, 0, dx);
}

// Renders indices [first, last); every one of them has its right and lower neighbours.
void renderRun(const RippleSurface& s, const int32_t* a, int32_t first, int32_t last) {
    const int32_t w = s.width;
    for (int32_t i = first; i < last; ++i) {
        renderPixel(s, i, wrapSub(a[i], a[i + 1]), wrapSub(a[i], a[i + w]));
    }
}

// Tall surfaces render rows 1 .. H' - 2, columns 1 .. W - 2.
void renderByRows(const RippleSurface& s, const int32_t* a, int32_t end) {
    const int32_t w = s.width;
    for (int32_t start = w + 1; start < end; start += w) {
        renderRun(s, a, start, start + w - 2);
    }
}

// Short surfaces render passes of W - 2 indices that follow each other without a gap, from
// index W + 1 on, so the border columns show too. The last pass may reach into the bottom
// row, whose lower neighbours lie outside the field: there the vertical slope is taken as 0.
void renderContiguous(const RippleSurface& s, const int32_t* a, int32_t end) {
    const int32_t w = s.width;
    const int32_t first = w + 1;
    const int32_t passLength = w - 2;
    const int32_t passes = (end - 1 - first) / passLength + 1;
    const int32_t last = first + passes * passLength;
    const int32_t inside = last < end ? last : end;
    renderRun(s, a, first, inside);
    for (int32_t i = inside; i < last; ++i) {
        renderPixel(s, i, wrapSub(a[i], a[i + 1]), 0);
    }
}

// Each interior cell of rows 1 .. H' - 2 becomes the damped difference between a quarter of
// its eight neighbours in b and its own old value.
void propagate(const RippleSurface& s, int32_t* a, const int32_t* b, int32_t end) {
    const int32_t w = s.width;
    const int shift = s.dampingShift;
    for (int32_t rowStart = w; rowStart + 1 < end; rowStart += w) {
        for (int32_t i = rowStart + 1; i < rowStart + w - 1; ++i) {
            int32_t sum = wrapAdd(b[i - w - 1], b[i - w]);
            sum = wrapAdd(sum, b[i - w + 1]);
            sum = wrapAdd(sum, b[i - 1]);
            sum = wrapAdd(sum, b[i + 1]);
            sum = wrapAdd(sum, b[i + w - 1]);
            sum = wrapAdd(sum, b[i + w]);
            sum = wrapAdd(sum, b[i + w + 1]);
            const int32_t v = wrapSub(sum >> 2, a[i]);
            a[i] = wrapSub(v, v >> shift);
        }
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
    surface->header.biSize = 40;
    surface->header.biWidth = width;
    surface->header.biHeight = -height;
    surface->header.biPlanes = 1;
    surface->header.biBitCount = 32;
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

void stepRipple(RippleSurface* surface) {
    RippleSurface& s = *surface;
    const int32_t w = s.width;
    const int32_t rows = s.height == 700 ? 699 : s.height;
    const int64_t end = static_cast<int64_t>(w) * (rows - 1);
    // Narrower than three columns there is no interior to render or propagate.
    if (w >= 3 && w + 1 < end) {
        int32_t* a = s.heights[s.current];
        const int32_t* b = s.heights[1 - s.current];
        if (s.height >= 500) {
            renderByRows(s, a, static_cast<int32_t>(end));
        } else {
            renderContiguous(s, a, static_cast<int32_t>(end));
        }
        propagate(s, a, b, static_cast<int32_t>(end));
    }
    s.current = 1 - s.current;
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
