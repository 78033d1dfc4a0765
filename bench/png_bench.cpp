// Decoding PNG pictures into blue-green-red(-alpha) bitmap rows: this program's decoder side
// by side with libpng, libspng and stb_image, and its inflater beside zlib and libdeflate on
// the same streams. Arguments: picture kind (0 photo, 1 screenshot), size (0 for 1920 x 1080,
// 1 for 4096 x 4096), channels (3 or 4).
#include <benchmark/benchmark.h>

#include <libdeflate.h>
#include <png.h>
#include <spng.h>
#include <zlib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "png/png_decoder.h"
#include "png/png_pixels.h"
#include "bench_arguments.h"
#include "test_pictures.h"
#include "wuffs_png.h"

namespace {

// Working memory as a program decoding one picture gets it: fresh for each decode, so that
// every decoder pays for touching new pages, as this program's does for its inflated buffer.
std::unique_ptr<uint8_t[]> freshMemory(size_t size) {
    return std::unique_ptr<uint8_t[]>(new uint8_t[size]);
}

size_t strideOf(const BenchPicture& p) {
    return (size_t(p.width) * p.channels + 3) & ~size_t(3);
}

// Swaps red and blue into bitmap rows, as the libraries without a BGR output need.
void toBitmapRows(const uint8_t* rgb, const BenchPicture& p, uint8_t* bits) {
    const size_t stride = strideOf(p);
    for (uint32_t y = 0; y < p.height; ++y) {
        const uint8_t* in = rgb + size_t(y) * p.width * p.channels;
        uint8_t* out = bits + y * stride;
        for (uint32_t x = 0; x < p.width; ++x, in += p.channels, out += p.channels) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (p.channels == 4) {
                out[3] = in[3];
            }
        }
    }
}

// One thread inflating, or a second converting each row as soon as it is inflated (as the
// show decodes).
void decodeWith(benchmark::State& state, uint32_t (*decode)(PngDecoder*)) {
    const BenchPicture& p = pictureFor(state);
    std::vector<uint8_t> bits(strideOf(p) * p.height);
    for (auto _ : state) {
        PngDecoder decoder;
        PngInit(&decoder);
        PngBitmapInfo info;
        uint32_t descriptor = 0;
        if (!PngLoadMemory(&decoder, p.png.data(), uint32_t(p.png.size())) || !decode(&decoder) ||
            !PngPrepareBitmap(&decoder, PNG_FORMAT_DEFAULT, &info, &descriptor) ||
            !PngConvertRows(&decoder, bits.data(), descriptor)) {
            state.SkipWithError("decoding failed");
        }
        PngRelease(&decoder);
        benchmark::DoNotOptimize(bits.data());
    }
    countPixels(state, p);
}

void decodeOurs(benchmark::State& state) {
    decodeWith(state, PngDecode);
}

void decodeOursConcurrently(benchmark::State& state) {
    decodeWith(state, PngDecodeConcurrently);
}

void decodeWuffs(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    // The bench pictures' rows need no padding to whole 32-bit words.
    std::vector<uint8_t> bits(strideOf(p) * p.height);
    const size_t workSize = (size_t(p.width) * p.channels + 1) * p.height;
    std::vector<uint8_t> decoder(wuffsDecoderSize());
    for (auto _ : state) {
        const auto work = freshMemory(workSize);
        if (!wuffsDecodePng(p.png.data(), p.png.size(), int(p.channels), bits.data(), bits.size(),
                            work.get(), workSize, decoder.data())) {
            state.SkipWithError("decoding failed");
        }
        benchmark::DoNotOptimize(bits.data());
    }
    countPixels(state, p);
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t at;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    std::memcpy(out, reader->bytes->data() + reader->at, count);
    reader->at += count;
}

void decodeLibpng(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    std::vector<uint8_t> bits(strideOf(p) * p.height);
    std::vector<png_bytep> rows(p.height);
    for (uint32_t y = 0; y < p.height; ++y) {
        rows[y] = bits.data() + y * strideOf(p);
    }
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        MemoryReader reader{&p.png, 0};
        png_set_read_fn(png, &reader, readFromMemory);
        png_read_info(png, info);
        png_set_bgr(png);
        png_read_image(png, rows.data());
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(bits.data());
    }
    countPixels(state, p);
}

void decodeSpng(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    std::vector<uint8_t> rgb(size_t(p.width) * p.height * p.channels);
    std::vector<uint8_t> bits(strideOf(p) * p.height);
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, p.png.data(), p.png.size());
        const int format = p.channels == 4 ? SPNG_FMT_RGBA8 : SPNG_FMT_RGB8;
        if (spng_decode_image(ctx, rgb.data(), rgb.size(), format, 0) != 0) {
            state.SkipWithError("spng failed");
        }
        spng_ctx_free(ctx);
        toBitmapRows(rgb.data(), p, bits.data());
        benchmark::DoNotOptimize(bits.data());
    }
    countPixels(state, p);
}

void decodeStb(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    std::vector<uint8_t> bits(strideOf(p) * p.height);
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* rgb =
            stbi_load_from_memory(p.png.data(), int(p.png.size()), &w, &h, &n, int(p.channels));
        if (rgb == nullptr) {
            state.SkipWithError("stb_image failed");
            break;
        }
        toBitmapRows(rgb, p, bits.data());
        stbi_image_free(rgb);
        benchmark::DoNotOptimize(bits.data());
    }
    countPixels(state, p);
}

size_t inflatedSize(const BenchPicture& p) {
    return (size_t(p.width) * p.channels + 1) * p.height;
}

void setInflateCounters(benchmark::State& state, const BenchPicture& p) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(inflatedSize(p)));
}

void inflateOurs(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    for (auto _ : state) {
        PngDecoder decoder;
        PngInit(&decoder);
        if (!PngLoadMemory(&decoder, p.png.data(), uint32_t(p.png.size())) ||
            !PngDecode(&decoder)) {
            state.SkipWithError("inflate failed");
        }
        benchmark::DoNotOptimize(decoder.inflatedData);
        PngRelease(&decoder);
    }
    setInflateCounters(state, p);
}

void inflateZlib(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    const std::vector<uint8_t> stream = idatStream(p.png);
    for (auto _ : state) {
        const auto out = freshMemory(inflatedSize(p));
        uLongf size = uLongf(inflatedSize(p));
        if (uncompress(out.get(), &size, stream.data(), uLong(stream.size())) != Z_OK) {
            state.SkipWithError("zlib failed");
        }
        benchmark::DoNotOptimize(out.get());
    }
    setInflateCounters(state, p);
}

void inflateLibdeflate(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    const std::vector<uint8_t> stream = idatStream(p.png);
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        const auto out = freshMemory(inflatedSize(p));
        size_t size = 0;
        if (libdeflate_zlib_decompress(decompressor, stream.data(), stream.size(), out.get(),
                                       inflatedSize(p), &size) != LIBDEFLATE_SUCCESS) {
            state.SkipWithError("libdeflate failed");
        }
        benchmark::DoNotOptimize(out.get());
    }
    libdeflate_free_decompressor(decompressor);
    setInflateCounters(state, p);
}

BENCHMARK(decodeOurs)->Apply(pictures);
BENCHMARK(decodeOursConcurrently)->Apply(pictures);
BENCHMARK(decodeWuffs)->Apply(pictures);
BENCHMARK(decodeLibpng)->Apply(pictures);
BENCHMARK(decodeSpng)->Apply(pictures);
BENCHMARK(decodeStb)->Apply(pictures);
BENCHMARK(inflateOurs)->Apply(pictures);
BENCHMARK(inflateZlib)->Apply(pictures);
BENCHMARK(inflateLibdeflate)->Apply(pictures);

} // namespace
