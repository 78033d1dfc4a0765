// The benchmarks' arguments for a bench picture: kind (0 photo, 1 screenshot), size (0 for
// 1920 x 1080, 1 for 4096 x 4096), channels (3 or 4).
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "test_pictures.h"

// The picture the arguments name, which also labels the benchmark's row.
inline const BenchPicture& pictureFor(benchmark::State& state) {
    const auto kind = state.range(0) == 0 ? PictureKind::photo : PictureKind::screenshot;
    const bool large = state.range(1) == 1;
    const BenchPicture& picture =
        benchPicture(kind, large ? 4096 : 1920, large ? 4096 : 1080, uint32_t(state.range(2)));
    state.SetLabel(picture.name + " " + std::to_string(picture.width) + "x" +
                   std::to_string(picture.height));
    return picture;
}

inline void countPixels(benchmark::State& state, const BenchPicture& p) {
    state.counters["Mpixel/s"] = benchmark::Counter(double(p.width) * p.height / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

// Every picture: both kinds and sizes, with and without alpha.
inline void pictures(benchmark::internal::Benchmark* b) {
    for (int64_t size : {0, 1}) {
        for (int64_t kind : {0, 1}) {
            for (int64_t channels : {3, 4}) {
                b->Args({kind, size, channels});
            }
        }
    }
    b->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
