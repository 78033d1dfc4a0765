// The decoder over real-world files: every valid PngSuite picture (and libpng's matrix of
// generated ones) gives the samples libpng reads from it, and every broken PngSuite file
// the outcome the decoder's rules prescribe.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "png/cpu_extensions.h"
#include "png/png_decoder.h"
#include "png/png_dib.h"
#include "png_builder.h"

namespace {

namespace fs = std::filesystem;
const fs::path testData = PLUVETTE_TEST_DATA;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct MemoryReader {
    const Bytes* bytes;
    size_t at;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->at + count > reader->bytes->size()) {
        png_error(png, "read past the end");
    }
    std::memcpy(out, reader->bytes->data() + reader->at, count);
    reader->at += count;
}

// libpng's reading of the file as plain samples: no gamma, no transparency, no scaling; one
// byte per sample below 8 bits, big-endian pairs at 16. With withAlpha, every picture is
// expanded to grey or colour samples of 8 or 16 bits, its tRNS chunk to an alpha channel.
bool readWithLibpng(const Bytes& file, Picture& picture, bool withAlpha = false) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&file, 0};
    std::vector<png_bytep> rows;
    Bytes pixels;
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    picture.width = png_get_image_width(png, info);
    picture.height = png_get_image_height(png, info);
    picture.colourType = png_get_color_type(png, info);
    picture.bitDepth = png_get_bit_depth(png, info);
    if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(png, info, &palette, &count);
        for (int i = 0; i < count; ++i) {
            picture.palette.insert(picture.palette.end(),
                                   {palette[i].red, palette[i].green, palette[i].blue});
        }
    }
    png_set_packing(png);
    if (withAlpha) {
        png_set_expand(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (withAlpha) {
        picture.colourType = png_get_color_type(png, info);
        picture.bitDepth = png_get_bit_depth(png, info);
    }
    const size_t rowBytes = png_get_rowbytes(png, info);
    pixels.resize(rowBytes * picture.height);
    for (uint32_t y = 0; y < picture.height; ++y) {
        rows.push_back(pixels.data() + y * rowBytes);
    }
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    const uint32_t sampleBytes = picture.bitDepth == 16 ? 2 : 1;
    picture.samples.resize(size_t(picture.width) * picture.height * picture.channels());
    for (size_t i = 0; i < picture.samples.size(); ++i) {
        picture.samples[i] =
            sampleBytes == 2 ? uint16_t(pixels[2 * i] << 8 | pixels[2 * i + 1]) : pixels[i];
    }
    return true;
}

uint8_t high(const Picture& p, uint32_t x, uint32_t y, uint32_t c) {
    const uint16_t v = p.sample(x, y, c);
    return static_cast<uint8_t>(p.bitDepth == 16 ? v >> 8 : v);
}

// The colour a bitmap pixel shows, through the colour table where there is one, and its alpha
// (255 without one).
void dibColour(const PngDib& dib, uint32_t x, uint32_t y, uint8_t rgba[4]) {
    const uint32_t bits = dib.info.header.biBitCount;
    const uint8_t* row = dib.bits.data() + size_t(y) * dib.stride;
    if (bits <= 8) {
        const uint32_t at = x * bits;
        const uint32_t index = (row[at / 8] >> (8 - bits - at % 8)) & ((1u << bits) - 1);
        const PngRgbQuad& q = dib.info.colours[index];
        rgba[0] = q.red;
        rgba[1] = q.green;
        rgba[2] = q.blue;
        rgba[3] = 255;
    } else {
        const uint8_t* pixel = row + x * (bits / 8);
        rgba[0] = pixel[2];
        rgba[1] = pixel[1];
        rgba[2] = pixel[0];
        rgba[3] = bits == 32 ? pixel[3] : 255;
    }
}

void expectSameColours(const Picture& p, const PngDib& dib, const std::string& name) {
    for (uint32_t y = 0; y < p.height; ++y) {
        for (uint32_t x = 0; x < p.width; ++x) {
            uint8_t rgba[4];
            dibColour(dib, x, y, rgba);
            uint8_t expected[4] = {0, 0, 0, 255};
            if (p.colourType == 3) {
                const uint32_t index = p.sample(x, y, 0);
                for (int c = 0; c < 3; ++c) {
                    expected[c] = 3 * index + 2 < p.palette.size() ? p.palette[3 * index + c] : 0;
                }
            } else if (p.colourType == 0 || p.colourType == 4) {
                uint8_t level = high(p, x, y, 0);
                if (p.bitDepth < 8) {
                    level = uint8_t(level * 255 / ((1u << p.bitDepth) - 1));
                }
                expected[0] = expected[1] = expected[2] = level;
            } else {
                for (uint32_t c = 0; c < 3; ++c) {
                    expected[c] = high(p, x, y, c);
                }
                if (p.colourType == 6) {
                    expected[3] = high(p, x, y, 3);
                }
            }
            ASSERT_EQ(Bytes(rgba, rgba + 4), Bytes(expected, expected + 4))
                << name << " at " << x << "," << y;
        }
    }
}

struct Outcome {
    bool ok;
    uint32_t error;
    PngDib dib;
};

Outcome decodeFile(const fs::path& path, bool overBlack = false, bool concurrently = false) {
    Outcome outcome{};
    PngDecoder decoder;
    PngInit(&decoder);
    outcome.ok = PngLoadFile(&decoder, path.string().c_str()) &&
                 (concurrently ? PngDecodeConcurrently(&decoder) : PngDecode(&decoder));
    decoder.overBlack = overBlack;
    outcome.ok = outcome.ok && PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, outcome.dib);
    outcome.error = decoder.lastError;
    PngRelease(&decoder);
    return outcome;
}

std::vector<fs::path> pngsIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".png") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void expectLikeLibpng(const fs::path& dir, bool (*include)(const std::string&)) {
    int compared = 0;
    for (const fs::path& path : pngsIn(dir)) {
        const std::string name = path.filename().string();
        if (!include(name)) {
            continue;
        }
        Picture reference;
        ASSERT_TRUE(readWithLibpng(readFile(path), reference)) << name;
        const Outcome outcome = decodeFile(path);
        ASSERT_TRUE(outcome.ok) << name << " error " << outcome.error;
        expectSameColours(reference, outcome.dib, name);
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

// Both with the processor's extensions and held to the SSE2 code every x86-64 processor runs.
TEST(PngCorpus, EveryValidPngSuitePictureMatchesLibpng) {
    for (bool sse2Only : {false, true}) {
        SCOPED_TRACE(sse2Only ? "SSE2 only" : "all extensions");
        holdToSse2(sse2Only);
        expectLikeLibpng(testData / "pngsuite",
                         [](const std::string& name) { return name[0] != 'x'; });
    }
    holdToSse2(false);
}

TEST(PngCorpus, LibpngsGeneratedMatrixMatchesLibpng) {
    for (bool sse2Only : {false, true}) {
        SCOPED_TRACE(sse2Only ? "SSE2 only" : "all extensions");
        holdToSse2(sse2Only);
        expectLikeLibpng(testData / "png-corpora" / "libpng-testpngs" / "valid-matrix",
                         [](const std::string&) { return true; });
    }
    holdToSse2(false);
}

// Composed over black: each colour libpng reads, times the alpha it reads (from an alpha
// channel or a tRNS chunk), rounded at the picture's depth; the alpha kept where there is one.
void expectComposedLikeLibpng(const fs::path& dir) {
    int transparent = 0;
    for (const fs::path& path : pngsIn(dir)) {
        const std::string name = path.filename().string();
        if (name[0] == 'x') {
            continue;
        }
        Picture reference;
        ASSERT_TRUE(readWithLibpng(readFile(path), reference, true)) << name;
        const Outcome outcome = decodeFile(path, true);
        ASSERT_TRUE(outcome.ok) << name << " error " << outcome.error;
        const bool grey = reference.colourType == PNG_COLOR_TYPE_GRAY ||
                          reference.colourType == PNG_COLOR_TYPE_GRAY_ALPHA;
        const bool alpha = (reference.colourType & PNG_COLOR_MASK_ALPHA) != 0;
        const uint32_t alphaChannel = grey ? 1 : 3;
        const uint32_t depth = reference.bitDepth;
        transparent += alpha;
        for (uint32_t y = 0; y < reference.height; ++y) {
            for (uint32_t x = 0; x < reference.width; ++x) {
                const uint32_t a = alpha ? reference.sample(x, y, alphaChannel) : (1u << depth) - 1;
                uint8_t expected[4];
                for (uint32_t c = 0; c < 3; ++c) {
                    const uint32_t v = reference.sample(x, y, grey ? 0 : c);
                    const double largest = double((1u << depth) - 1);
                    expected[c] =
                        static_cast<uint8_t>(std::lround(v * (a / largest)) >> (depth - 8));
                }
                uint8_t rgba[4];
                dibColour(outcome.dib, x, y, rgba);
                // Only a picture with an alpha channel keeps one in its bitmap.
                expected[3] = static_cast<uint8_t>(
                    outcome.dib.info.header.biBitCount == 32 ? a >> (depth - 8) : 255u);
                ASSERT_EQ(Bytes(rgba, rgba + 4), Bytes(expected, expected + 4))
                    << name << " at " << x << "," << y;
            }
        }
    }
    EXPECT_GT(transparent, 10);
}

TEST(PngCorpus, TransparencyComposedOverBlackMatchesLibpngsAlpha) {
    expectComposedLikeLibpng(testData / "pngsuite");
    expectComposedLikeLibpng(testData / "png-corpora" / "libpng-testpngs" / "valid-matrix");
}

TEST(PngCorpus, BrokenPngSuiteFilesGiveTheirPrescribedOutcome) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"xc1n0g08.png", PNG_ERR_UNSUPPORTED}, // colour type 1
        {"xc9n2c08.png", PNG_ERR_UNSUPPORTED}, // colour type 9
        {"xcrn0g04.png", PNG_ERR_FORMAT},      // signature with CR LF turned to LF
        {"xcsn0g01.png", PNG_OK},              // only an IDAT CRC is wrong
        {"xd0n2c08.png", PNG_ERR_UNSUPPORTED}, // bit depth 0
        {"xd3n2c08.png", PNG_ERR_UNSUPPORTED}, // bit depth 3
        {"xd9n2c08.png", PNG_ERR_UNSUPPORTED}, // bit depth 99
        {"xdtn0g01.png", PNG_ERR_FORMAT},      // no IDAT chunk
        {"xhdn0g08.png", PNG_OK},              // only the header's CRC is wrong
        {"xlfn0g04.png", PNG_ERR_FORMAT},      // signature with LF turned to CR LF
        {"xs1n0g01.png", PNG_ERR_FORMAT},      // signature byte 1 wrong
        {"xs2n0g01.png", PNG_ERR_FORMAT},      // signature byte 2 wrong
        {"xs4n0g01.png", PNG_ERR_FORMAT},      // signature byte 4 wrong
        {"xs7n0g01.png", PNG_ERR_FORMAT},      // signature byte 7 wrong
    };
    size_t broken = 0;
    for (const fs::path& path : pngsIn(testData / "pngsuite")) {
        broken += path.filename().string()[0] == 'x';
    }
    EXPECT_EQ(broken, std::size(cases));
    for (auto [name, error] : cases) {
        const Outcome outcome = decodeFile(testData / "pngsuite" / name);
        EXPECT_EQ(outcome.ok ? uint32_t(PNG_OK) : outcome.error, error) << name;
    }
}

// The rows PngConvertRowsTo hands over, one after another, each cut to the bitmap's stride;
// nothing for an interlaced picture or a failure.
std::vector<uint8_t> handedRows(const fs::path& path, bool overBlack) {
    OwnedPngDecoder decoder;
    PngBitmapInfo info;
    uint32_t descriptor = 0;
    struct Collected {
        std::vector<uint8_t> bytes;
        size_t stride;
        uint32_t next;
    } collected{{}, 0, 0};
    if (!PngLoadFile(decoder.get(), path.string().c_str()) ||
        !PngDecodeConcurrently(decoder.get()) ||
        !PngPrepareBitmap(decoder.get(), PNG_FORMAT_DEFAULT, &info, &descriptor)) {
        return {};
    }
    decoder->overBlack = overBlack;
    collected.stride = size_t(pngBitmapStride(decoder->width, info.header.biBitCount));
    const auto keep = [](void* context, uint32_t y, const uint8_t* row) {
        auto* rows = static_cast<Collected*>(context);
        EXPECT_EQ(y, rows->next++);
        rows->bytes.insert(rows->bytes.end(), row, row + rows->stride);
    };
    return PngConvertRowsTo(decoder.get(), descriptor, keep, &collected) ? collected.bytes
                                                                         : std::vector<uint8_t>();
}

// Rows converted while the rest of the stream is still inflated on another thread give the
// same pictures, and the same failures, as the whole stream inflated first: every file of the
// test suites and corpora, broken, truncated and fuzzed ones among them.
TEST(PngCorpus, RowsConvertedWhileInflatingAreThoseOfTheWholeDecode) {
    size_t files = 0;
    size_t handedFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(testData)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        for (bool overBlack : {false, true}) {
            const Outcome whole = decodeFile(entry.path(), overBlack);
            const Outcome concurrent = decodeFile(entry.path(), overBlack, true);
            ASSERT_EQ(concurrent.ok, whole.ok) << entry.path();
            ASSERT_EQ(concurrent.error, whole.error) << entry.path();
            if (whole.ok) {
                ASSERT_EQ(concurrent.dib.bits, whole.dib.bits) << entry.path();
                // Rows handed over one at a time are the bitmap's rows, but for its padding.
                const std::vector<uint8_t> handed = handedRows(entry.path(), overBlack);
                if (!handed.empty()) {
                    const size_t used =
                        (size_t(whole.dib.info.header.biWidth) * whole.dib.info.header.biBitCount +
                         7) /
                        8;
                    const auto unpadded = [&](const std::vector<uint8_t>& rows) {
                        std::vector<uint8_t> bytes;
                        for (size_t at = 0; at < rows.size(); at += whole.dib.stride) {
                            bytes.insert(bytes.end(), rows.begin() + ptrdiff_t(at),
                                         rows.begin() + ptrdiff_t(at + used));
                        }
                        return bytes;
                    };
                    ASSERT_EQ(unpadded(handed), unpadded(whole.dib.bits)) << entry.path();
                    ++handedFiles;
                }
            }
        }
        ++files;
    }
    EXPECT_GT(files, 300u);
    EXPECT_GT(handedFiles, 200u);
    // And a picture of many deflate blocks, whole and cut off halfway, where the converting
    // thread meets the inflating one many times.
    std::mt19937 random(5);
    const Bytes file = encodePng(randomPicture(random, 1500, 1000, 2, 8), 0, random, 3);
    for (const Bytes& bytes : {file, Bytes(file.begin(), file.begin() + file.size() / 2)}) {
        std::vector<uint8_t> bits[2];
        bool ok[2] = {};
        for (bool concurrently : {false, true}) {
            // The rows are converted as soon as the decode returns, into memory had before.
            OwnedPngDecoder decoder;
            bits[concurrently].assign(size_t(pngBitmapStride(1500, 24)) * 1000, 0);
            PngBitmapInfo info;
            uint32_t descriptor = 0;
            ok[concurrently] =
                PngLoadMemory(decoder.get(), bytes.data(), uint32_t(bytes.size())) &&
                (concurrently ? PngDecodeConcurrently(decoder.get()) : PngDecode(decoder.get())) &&
                PngPrepareBitmap(decoder.get(), PNG_FORMAT_DEFAULT, &info, &descriptor) &&
                PngConvertRows(decoder.get(), bits[concurrently].data(), descriptor);
        }
        EXPECT_EQ(ok[1], ok[0]);
        EXPECT_EQ(bits[1], bits[0]);
        EXPECT_TRUE(ok[0] || bytes.size() != file.size());
    }
}

} // namespace
