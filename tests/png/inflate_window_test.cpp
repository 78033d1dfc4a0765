// Large pictures decoded concurrently, whose inflated rows pass through a window of two
// buffers: the same pictures and failures as the whole stream inflated first, however the
// stream is made (stored blocks, matches reaching back across the buffers, a stream that ends
// early, breaks or runs on), no thread left waiting when the rows stop being read or are not
// read at all, and rows read once only.
#include <gtest/gtest.h>

#include <random>

#include "png/png_decoder.h"
#include "png/png_pixels.h"
#include "png_builder.h"

namespace {

// Wider than 2 x 4 MiB, the least a window is made for, over many buffers' worth.
constexpr uint32_t width = 2800;
constexpr uint32_t height = 1600;

// Rows of noise, of runs and of repeats of rows a few above, so that the stream holds stored
// blocks, literals and matches of every distance.
Picture patternedPicture(std::mt19937& random) {
    Picture picture{};
    picture.width = width;
    picture.height = height;
    picture.colourType = 2;
    picture.bitDepth = 8;
    picture.samples.resize(size_t(width) * height * 3);
    const size_t row = size_t(width) * 3;
    for (uint32_t y = 0; y < height; ++y) {
        uint16_t* out = picture.samples.data() + y * row;
        const uint32_t kind = y % 4;
        for (size_t i = 0; i < row; ++i) {
            if (kind == 0) {
                out[i] = uint16_t(random() & 0xFF);
            } else if (kind == 1) {
                out[i] = uint16_t((i / 97) & 0xFF);
            } else if (kind == 2 && y >= 3) {
                out[i] = out[i - row * (1 + y % 3)];
            } else {
                out[i] = uint16_t((i * 7 + y) & 0xFF);
            }
        }
    }
    return picture;
}

Bytes pngOf(const Picture& picture, const Bytes& stream) {
    return pngFile({{"IHDR", ihdrData(picture.width, picture.height, 8, 2, 0)},
                    {"IDAT", stream},
                    {"IEND", {}}});
}

struct Decoded {
    bool ok;
    uint32_t error;
    std::vector<uint8_t> bits;
};

Decoded decode(const Bytes& file, bool concurrently) {
    OwnedPngDecoder decoder;
    Decoded decoded{false, 0, std::vector<uint8_t>(size_t(pngBitmapStride(width, 24)) * height)};
    PngBitmapInfo info;
    uint32_t descriptor = 0;
    decoded.ok = PngLoadMemory(decoder.get(), file.data(), uint32_t(file.size())) &&
                 (concurrently ? PngDecodeConcurrently(decoder.get()) : PngDecode(decoder.get())) &&
                 PngPrepareBitmap(decoder.get(), PNG_FORMAT_DEFAULT, &info, &descriptor) &&
                 PngConvertRows(decoder.get(), decoded.bits.data(), descriptor);
    decoded.error = decoder->lastError;
    return decoded;
}

TEST(InflateWindow, GivesThePicturesAndFailuresOfTheWholeStream) {
    std::mt19937 random(11);
    const Picture patterned = patternedPicture(random);
    const Bytes rows = filteredScanlines(patterned, 0, random, {0, 1, 2});
    const Bytes stream = zlibCompress(rows);
    const Bytes noisy = zlibCompress(
        filteredScanlines(randomPicture(random, width, height, 2, 8), 0, random)); // stored blocks
    const Bytes halfRows(rows.begin(), rows.begin() + ptrdiff_t(rows.size() / 2));
    Bytes brokenRows = rows;
    brokenRows[size_t(width * 3 + 1) * 1000] = 9; // a filter type past the known ones
    Bytes runningOn = rows;
    runningOn.resize(rows.size() + 100, 0);
    struct Case {
        const char* name;
        Bytes file;
        bool ok;
    };
    const Case cases[] = {
        {"matches", pngOf(patterned, stream), true},
        {"stored blocks", pngOf(patterned, noisy), true},
        {"ends early, the rest zero", pngOf(patterned, zlibCompress(halfRows)), true},
        {"cut off halfway", pngOf(patterned, Bytes(stream.begin(), stream.begin() + 20000)), false},
        {"an unknown filter halfway", pngOf(patterned, zlibCompress(brokenRows)), false},
        {"runs past the image", pngOf(patterned, zlibCompress(runningOn)), false},
    };
    for (const Case& c : cases) {
        const Decoded whole = decode(c.file, false);
        const Decoded concurrent = decode(c.file, true);
        EXPECT_EQ(whole.ok, c.ok) << c.name;
        EXPECT_EQ(concurrent.ok, whole.ok) << c.name;
        EXPECT_EQ(concurrent.error, whole.error) << c.name;
        if (whole.ok) { // a failed decode's rows are whatever was converted before it failed
            EXPECT_TRUE(concurrent.bits == whole.bits) << c.name;
        }
    }
    // Rows not read at all leave no thread waiting for them (the test would hang), and rows
    // once read are not held for a second reading.
    const Bytes& file = cases[0].file;
    OwnedPngDecoder unread;
    ASSERT_TRUE(PngLoadMemory(unread.get(), file.data(), uint32_t(file.size())) &&
                PngDecodeConcurrently(unread.get()));
    OwnedPngDecoder decoder;
    PngBitmapInfo info;
    uint32_t descriptor = 0;
    std::vector<uint8_t> bits(size_t(pngBitmapStride(width, 24)) * height);
    ASSERT_TRUE(PngLoadMemory(decoder.get(), file.data(), uint32_t(file.size())) &&
                PngDecodeConcurrently(decoder.get()) &&
                PngPrepareBitmap(decoder.get(), PNG_FORMAT_DEFAULT, &info, &descriptor) &&
                PngConvertRows(decoder.get(), bits.data(), descriptor));
    EXPECT_FALSE(PngConvertRows(decoder.get(), bits.data(), descriptor));
    EXPECT_EQ(decoder->lastError, uint32_t(PNG_ERR_STATE));
}

// A decoder that goes out of scope while its inflater still writes, without being released:
// the inflater is joined before the buffers it writes go (the sanitizers watch). Interlaced,
// so that it inflates into one buffer for the whole stream; its rows are never read.
TEST(InflateWindow, ADecoderDestroyedMidDecodeJoinsItsInflaterFirst) {
    std::mt19937 random(5);
    const Bytes file = encodePng(randomPicture(random, 1500, 1500, 6, 8), 1, random);
    for (int i = 0; i < 3; ++i) {
        PngDecoder decoder;
        PngInit(&decoder);
        ASSERT_TRUE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())) &&
                    PngDecodeConcurrently(&decoder));
    }
}

} // namespace
