// The water step on full-screen surfaces, beside a baseline that streams the same buffers
// once: the step reads both height fields and the source and writes one field and the
// output, so that baseline is what memory bandwidth allows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
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

// The weather of a show: steady rain, one drop of radius 12 and strength 42 every 8 steps at
// a random place; rain with the pointer moving in circles, a drop of radius 18 and strength
// 15 every step along a circle of radius 300; or a storm that keeps every tile moving.
enum Weather { rain, rainAndPointer, storm };

struct WeatherMaker {
    Weather weather;
    int32_t width;
    int32_t height;
    std::mt19937 random{7};
    int64_t step = 0;

    void dropFor(RippleSurface* surface) {
        const auto at = [&](int32_t size) { return int32_t(random() % uint32_t(size)); };
        if (weather == storm) {
            for (int i = 0; i < 40; ++i) {
                addDrop(surface, at(width), at(height), 12, 42);
            }
        } else if (step % 8 == 0) {
            addDrop(surface, at(width), at(height), 12, 42);
        }
        if (weather == rainAndPointer) {
            const double angle = double(step) * 0.05;
            addDrop(surface, width / 2 + int32_t(300 * std::cos(angle)),
                    height / 2 + int32_t(300 * std::sin(angle)), 18, 15);
        }
        ++step;
    }
};

// Steps under the weather, the whole surface or only its moving tiles, after ten seconds of
// it (400 steps; the storm starts from a surface rippled everywhere).
void weatherStep(benchmark::State& state) {
    const auto weather = static_cast<Weather>(state.range(0));
    const auto width = int32_t(state.range(1));
    const auto height = int32_t(state.range(2));
    const bool tiled = state.range(3) != 0;
    SurfacePtr surface = weather == storm ? rippledSurface(width, height)
                                          : SurfacePtr(allocateRippleSurface(width, height));
    WeatherMaker maker{weather, width, height};
    const auto step = tiled ? stepMovingRipple : stepRipple;
    for (int i = 0; i < 400; ++i) {
        maker.dropFor(surface.get());
        step(surface.get());
    }
    for (auto _ : state) {
        maker.dropFor(surface.get());
        step(surface.get());
        benchmark::ClobberMemory();
    }
    setPixelCounters(state, surface->pixelCount);
    const std::vector<uint8_t>& stepped = surface->tiles->stepped;
    state.counters["tiles stepped"] =
        double(std::count(stepped.begin(), stepped.end(), 1)) / double(stepped.size());
    static const char* const names[] = {"rain", "rain and pointer", "storm"};
    state.SetLabel(std::string(names[weather]) + (tiled ? ", moving tiles " : ", whole ") +
                   std::to_string(width) + "x" + std::to_string(height));
}

// Two monitors' water under rain, each surface with its own drops, stepped one after the
// other on one thread as the show does: a step of both must stay well under the 25 ms
// between steps.
void twoSurfacesRain(benchmark::State& state) {
    const auto width = int32_t(state.range(0));
    const auto height = int32_t(state.range(1));
    SurfacePtr surfaces[] = {SurfacePtr(allocateRippleSurface(width, height)),
                             SurfacePtr(allocateRippleSurface(width, height))};
    WeatherMaker makers[] = {{rain, width, height}, {rain, width, height}};
    makers[1].random.seed(8);
    const auto stepBoth = [&] {
        for (int i = 0; i < 2; ++i) {
            makers[i].dropFor(surfaces[i].get());
            stepMovingRipple(surfaces[i].get());
        }
    };
    for (int i = 0; i < 400; ++i) {
        stepBoth();
    }
    for (auto _ : state) {
        stepBoth();
        benchmark::ClobberMemory();
    }
    setPixelCounters(state, 2 * int64_t(surfaces[0]->pixelCount));
    state.SetLabel("rain, moving tiles, 2 x " + std::to_string(width) + "x" +
                   std::to_string(height));
}

BENCHMARK(stepRippleBench)
    ->ArgNames({"width", "height", "avx2"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 0})
    ->Args({3840, 2160, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(weatherStep)
    ->ArgNames({"weather", "width", "height", "tiled"})
    ->ArgsProduct({{rain, rainAndPointer, storm}, {1920}, {1080}, {0, 1}})
    ->ArgsProduct({{rain, rainAndPointer, storm}, {3840}, {2160}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(twoSurfacesRain)
    ->ArgNames({"width", "height"})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(memoryStreamBaseline)
    ->ArgNames({"width", "height"})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

} // namespace
