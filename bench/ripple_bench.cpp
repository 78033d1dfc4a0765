// The water step on full-screen surfaces, beside a baseline that streams the same buffers
// once: the step reads both height fields and the source and writes one field and the
// output, so that baseline is what memory bandwidth allows.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>

#include "ripple/ripple_surface.h"

namespace {

using SurfacePtr = OwnedRippleSurface;

// A surface with a picture and an hour's worth of rain on it.
SurfacePtr rippledSurface(int32_t width, int32_t height) {
    SurfacePtr surface(allocateRippleSurface(width, height));
    std::mt19937 random(42);
    for (int32_t i = 0; i < surface->pixelCount; ++i) {
        surface->source[i] = random() & 0xFFFFFF;
    }
    for (int i = 0; i < 200; ++i) {
        addDrop(surface.get(), int32_t(random() % uint32_t(width)),
                int32_t(random() % uint32_t(height)), 12 + i % 40, 42);
        stepRipple(surface.get());
    }
    return surface;
}

void setPixelCounters(benchmark::State& state, int64_t pixels) {
    state.counters["ns/pixel"] =
        benchmark::Counter(double(pixels), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
    state.SetBytesProcessed(state.iterations() * pixels * 20);
}

// The third argument is the code path: 0 SSE2, 1 AVX2.
void stepRippleBench(benchmark::State& state) {
    const auto path = static_cast<RippleCodePath>(state.range(2));
    if (!useRippleCodePath(path)) {
        state.SkipWithError("this processor cannot take the path");
        return;
    }
    SurfacePtr surface = rippledSurface(int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) {
        stepRipple(surface.get());
        benchmark::ClobberMemory();
    }
    setPixelCounters(state, surface->pixelCount);
}

// Reads three buffers and writes two, as the step does, with no arithmetic.
void memoryStreamBaseline(benchmark::State& state) {
    SurfacePtr surface = rippledSurface(int32_t(state.range(0)), int32_t(state.range(1)));
    const size_t bytes = size_t(surface->byteSize);
    for (auto _ : state) {
        std::memcpy(surface->output, surface->source, bytes);
        std::memcpy(surface->heights[0], surface->heights[1], bytes);
        benchmark::DoNotOptimize(surface->output[surface->pixelCount / 2]);
        benchmark::ClobberMemory();
    }
    setPixelCounters(state, surface->pixelCount);
}

BENCHMARK(stepRippleBench)
    ->ArgNames({"width", "height", "avx2"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(memoryStreamBaseline)
    ->ArgNames({"width", "height"})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

} // namespace
