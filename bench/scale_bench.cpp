// Scaling a large picture down to a 1920 x 1080 screen by averaging areas, beside
// stb_image_resize's box filter (the same kind of averaging) on the same pixels, and a plain
// pass over the source's memory, the least any scaler must spend.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "pictures/area_scaler.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STBIR_DEFAULT_FILTER_DOWNSAMPLE STBIR_FILTER_BOX
#include <stb/stb_image_resize.h>

namespace {

constexpr int32_t screenWidth = 1920;
constexpr int32_t screenHeight = 1080;

const std::vector<uint8_t>& photo(int32_t width, int32_t height, int32_t channels) {
    static std::vector<uint8_t> pixels;
    const size_t size = size_t(width) * height * channels;
    if (pixels.size() != size) {
        pixels.resize(size);
        std::mt19937 random(1);
        for (size_t i = 0; i < size; ++i) { // smooth with some noise, as photos are
            pixels[i] = static_cast<uint8_t>((i / channels % width) * 200 / width + random() % 32);
        }
    }
    return pixels;
}

void scaleOurs(benchmark::State& state) {
    const auto width = int32_t(state.range(0)), height = int32_t(state.range(1));
    const auto channels = int32_t(state.range(2));
    const std::vector<uint8_t>& from = photo(width, height, channels);
    std::vector<uint8_t> to(size_t(screenWidth) * screenHeight * 4);
    const PixelRows rows{from.data(), ptrdiff_t(width) * channels, width, height, channels};
    const ScaledArea area{to.data(), screenWidth * 4, screenWidth, screenHeight, 0,
                          0,         screenWidth,     screenHeight};
    for (auto _ : state) {
        scaleByArea(rows, area, int(state.range(3)));
        benchmark::DoNotOptimize(to.data());
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(height) + "x" +
                   std::to_string(channels) + ", " + std::to_string(state.range(3)) + " thread(s)");
}

void scaleStbBox(benchmark::State& state) {
    const auto width = int32_t(state.range(0)), height = int32_t(state.range(1));
    const auto channels = int32_t(state.range(2));
    const std::vector<uint8_t>& from = photo(width, height, channels);
    std::vector<uint8_t> to(size_t(screenWidth) * screenHeight * channels);
    for (auto _ : state) {
        stbir_resize_uint8(from.data(), width, height, 0, to.data(), screenWidth, screenHeight, 0,
                           channels);
        benchmark::DoNotOptimize(to.data());
    }
}

void readBaseline(benchmark::State& state) {
    const auto width = int32_t(state.range(0)), height = int32_t(state.range(1));
    const std::vector<uint8_t>& from = photo(width, height, int32_t(state.range(2)));
    for (auto _ : state) {
        uint64_t sum = 0;
        for (size_t i = 0; i < from.size(); i += 8) {
            uint64_t word;
            std::memcpy(&word, from.data() + i, 8);
            sum += word;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void sizes(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"width", "height", "channels", "threads"});
    for (const auto& size : {std::pair{6000, 4000}, std::pair{8192, 8192}}) {
        for (int64_t channels : {3, 4}) {
            for (int64_t threads : {1, 2}) {
                bench->Args({size.first, size.second, channels, threads});
            }
        }
    }
    bench->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(scaleOurs)->Apply(sizes);
BENCHMARK(scaleStbBox)->Apply(sizes);
BENCHMARK(readBaseline)->Apply(sizes);
