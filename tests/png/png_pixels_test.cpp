#include "png/png_pixels.h"

#include <gtest/gtest.h>

#include "png/png_decoder.h"
#include "png/png_dib.h"
#include "png_builder.h"

namespace {

struct Pair {
    uint8_t colourType;
    uint8_t bitDepth;
};
const Pair allPairs[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                         {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

struct Decoded {
    uint32_t ok = 0;
    uint32_t error = 0;
    PngDib dib;
};

Decoded decode(const Bytes& file, uint32_t format = PNG_FORMAT_DEFAULT) {
    Decoded result;
    PngDecoder decoder;
    PngInit(&decoder);
    result.ok = PngLoadMemory(&decoder, file.data(), uint32_t(file.size())) &&
                PngDecode(&decoder) && PngCreateDib(&decoder, format, result.dib);
    result.error = decoder.lastError;
    PngRelease(&decoder);
    return result;
}

uint8_t high(const Picture& p, uint32_t x, uint32_t y, uint32_t c) {
    const uint16_t v = p.sample(x, y, c);
    return static_cast<uint8_t>(p.bitDepth == 16 ? v >> 8 : v);
}

// The bitmap rows the picture should become, written from its samples independently of the
// decoder: indices or grey levels packed at the bitmap's depth, or blue-green-red(-alpha).
Bytes expectedBits(const Picture& p, uint32_t bitmapBits, bool keepAlpha) {
    const size_t stride = (size_t(p.width) * bitmapBits + 31) / 32 * 4;
    Bytes bits(stride * p.height, 0);
    for (uint32_t y = 0; y < p.height; ++y) {
        uint8_t* row = bits.data() + y * stride;
        for (uint32_t x = 0; x < p.width; ++x) {
            if (bitmapBits < 8) {
                const uint32_t at = x * bitmapBits;
                row[at / 8] |= static_cast<uint8_t>(p.sample(x, y, 0) << (8 - bitmapBits - at % 8));
            } else if (bitmapBits == 8) {
                row[x] = high(p, x, y, 0);
            } else {
                uint8_t* pixel = row + x * (bitmapBits / 8);
                pixel[0] = high(p, x, y, 2);
                pixel[1] = high(p, x, y, 1);
                pixel[2] = high(p, x, y, 0);
                if (keepAlpha) {
                    pixel[3] = high(p, x, y, 3);
                }
            }
        }
    }
    return bits;
}

void expectPicture(const Picture& p, const Decoded& decoded, uint32_t bitmapBits, bool keepAlpha,
                   const std::string& what) {
    ASSERT_TRUE(decoded.ok) << what << " error " << decoded.error;
    const BitmapInfoHeader& h = decoded.dib.info.header;
    EXPECT_EQ(h.biSize, 40u) << what;
    EXPECT_EQ(h.biWidth, int32_t(p.width)) << what;
    EXPECT_EQ(h.biHeight, -int32_t(p.height)) << what;
    EXPECT_EQ(h.biPlanes, 1) << what;
    EXPECT_EQ(h.biBitCount, bitmapBits) << what;
    EXPECT_EQ(h.biCompression, 0u) << what;
    EXPECT_EQ(decoded.dib.bits, expectedBits(p, bitmapBits, keepAlpha)) << what;
    if (p.colourType == 3) {
        EXPECT_EQ(h.biClrUsed, 0u);
        const size_t entries = p.palette.size() / 3;
        for (size_t i = 0; i < 256; ++i) {
            const PngRgbQuad& q = decoded.dib.info.colours[i];
            const bool inPalette = i < entries;
            EXPECT_EQ(q.red, inPalette ? p.palette[3 * i] : 0) << what << " entry " << i;
            EXPECT_EQ(q.green, inPalette ? p.palette[3 * i + 1] : 0);
            EXPECT_EQ(q.blue, inPalette ? p.palette[3 * i + 2] : 0);
            EXPECT_EQ(q.reserved, 0);
        }
    }
}

uint32_t bitmapBitsFor(const Pair& pair) {
    if (pair.colourType == 2) {
        return 24;
    }
    if (pair.colourType == 6) {
        return 32;
    }
    if (pair.bitDepth == 2) {
        return 4;
    }
    return pair.bitDepth <= 8 && pair.colourType != 4 ? pair.bitDepth : 8;
}

// Every colour type and depth, both interlace methods, every filter, many small sizes: the
// bitmap holds exactly the picture's samples.
TEST(PngPixels, EveryFormatDecodesToItsSamples) {
    std::mt19937 random(11);
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {2, 1}, {1, 3}, {3, 2},  {4, 4}, {5, 3},
                                                   {7, 9}, {8, 8}, {9, 5}, {13, 7}, {33, 3}};
    for (const Pair& pair : allPairs) {
        for (auto [w, h] : sizes) {
            for (const uint8_t interlace : {uint8_t{0}, uint8_t{1}}) {
                const Picture p = randomPicture(random, w, h, pair.colourType, pair.bitDepth,
                                                pair.colourType == 3 ? 1u << pair.bitDepth : 0);
                const std::string what = "type " + std::to_string(pair.colourType) + " depth " +
                                         std::to_string(pair.bitDepth) + " " + std::to_string(w) +
                                         "x" + std::to_string(h) + " interlace " +
                                         std::to_string(interlace);
                const Bytes file = encodePng(p, interlace, random, 1 + int(random() % 3));
                expectPicture(p, decode(file), bitmapBitsFor(pair), pair.colourType == 6, what);
                if (pair.colourType == 6) {
                    const uint32_t toBgr = pair.bitDepth == 8 ? 0x0608010D : 0x06100108;
                    expectPicture(p, decode(file, toBgr), 24, false, what + " as BGR");
                }
            }
        }
    }
}

TEST(PngPixels, InterlacedAndPlainPicturesGiveTheSameBitmap) {
    std::mt19937 random(3);
    for (const Pair& pair : allPairs) {
        for (uint32_t w = 1; w <= 9; ++w) {
            for (uint32_t h = 1; h <= 9; h += 2) {
                const Picture p = randomPicture(random, w, h, pair.colourType, pair.bitDepth);
                const Decoded plain = decode(encodePng(p, 0, random));
                const Decoded interlaced = decode(encodePng(p, 1, random));
                ASSERT_TRUE(plain.ok && interlaced.ok);
                EXPECT_EQ(plain.dib.bits, interlaced.dib.bits) << w << "x" << h;
            }
        }
    }
}

Picture pictureOf(uint32_t width, uint8_t colourType, uint8_t bitDepth,
                  std::vector<uint16_t> samples) {
    Picture p;
    p.width = width;
    p.height = 1;
    p.colourType = colourType;
    p.bitDepth = bitDepth;
    p.samples = std::move(samples);
    return p;
}

Bytes plainPng(const Picture& p) {
    std::mt19937 random(1);
    return encodePng(p, 0, random);
}

TEST(PngPixels, KnownRowsBecomeKnownBytes) {
    // Alpha is kept straight, not multiplied into the colours.
    const Bytes rgba = plainPng(pictureOf(2, 6, 8, {10, 20, 30, 40, 50, 60, 70, 80}));
    EXPECT_EQ(decode(rgba).dib.bits, (Bytes{30, 20, 10, 40, 70, 60, 50, 80}));
    EXPECT_EQ(decode(rgba, 0x0608010D).dib.bits, (Bytes{30, 20, 10, 70, 60, 50, 0, 0}));
    EXPECT_EQ(decode(plainPng(pictureOf(3, 2, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9}))).dib.bits,
              (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0}));

    const Decoded twoBit = decode(plainPng(pictureOf(4, 0, 2, {0, 1, 2, 3})));
    EXPECT_EQ(twoBit.dib.info.header.biBitCount, 4);
    EXPECT_EQ(twoBit.dib.info.header.biClrUsed, 4u);
    EXPECT_EQ(twoBit.dib.bits, (Bytes{0x01, 0x23, 0, 0}));
    for (uint8_t i = 0; i < 4; ++i) {
        const uint8_t level = uint8_t(i * 85);
        EXPECT_EQ(twoBit.dib.info.colours[i].red, level);
        EXPECT_EQ(twoBit.dib.info.colours[i].green, level);
        EXPECT_EQ(twoBit.dib.info.colours[i].blue, level);
    }

    const Decoded sixteen = decode(plainPng(pictureOf(1, 0, 16, {0x12AB})));
    EXPECT_EQ(sixteen.dib.bits, (Bytes{0x12, 0, 0, 0}));
    EXPECT_EQ(sixteen.dib.info.header.biClrUsed, 256u);
    EXPECT_EQ(sixteen.dib.info.colours[0x12].red, 0x12);

    const Decoded rgba16 =
        decode(plainPng(pictureOf(3, 6, 16,
                                  {0x1011, 0x2021, 0x3031, 0x4041, 0x5051, 0x6061, 0x7071, 0x8081,
                                   0x9091, 0xA0A1, 0xB0B1, 0xC0C1})));
    EXPECT_EQ(rgba16.dib.bits,
              (Bytes{0x30, 0x20, 0x10, 0x40, 0x70, 0x60, 0x50, 0x80, 0xB0, 0xA0, 0x90, 0xC0}));
    const Decoded greyAlpha = decode(plainPng(pictureOf(2, 4, 8, {7, 200, 9, 100})));
    EXPECT_EQ(greyAlpha.dib.info.header.biBitCount, 8);
    EXPECT_EQ(greyAlpha.dib.bits, (Bytes{7, 9, 0, 0}));
}

TEST(PngPixels, GreyRampsSpreadLevelsEvenly) {
    for (const uint8_t depth : {uint8_t{1}, uint8_t{2}, uint8_t{4}, uint8_t{8}}) {
        const Decoded d = decode(plainPng(pictureOf(1, 0, depth, {0})));
        const uint32_t n = depth == 8 ? 256 : 1u << depth;
        EXPECT_EQ(d.dib.info.header.biClrUsed, n);
        for (uint32_t i = 0; i < n; ++i) {
            EXPECT_EQ(d.dib.info.colours[i].red, i * 255 / (n - 1));
            EXPECT_EQ(d.dib.info.colours[i].reserved, 0);
        }
    }
}

TEST(PngPixels, UnsuitableFormatsAreRefused) {
    const Bytes grey = plainPng(pictureOf(1, 0, 8, {5}));
    const Bytes rgba = plainPng(pictureOf(1, 6, 8, {1, 2, 3, 4}));
    for (uint32_t format : {0x0608010Du, 0x00080000u, 0x00080101u, 0x00100106u, 0x0u}) {
        EXPECT_EQ(decode(grey, format).error, uint32_t(PNG_ERR_OUTPUT_FORMAT))
            << std::hex << format;
    }
    EXPECT_EQ(decode(rgba, 0x0608000E).error, uint32_t(PNG_ERR_OUTPUT_FORMAT));
    EXPECT_TRUE(decode(grey, 0x00080100).ok);
}

TEST(PngPixels, UnknownFilterTypesFailAsFormatErrors) {
    for (int type = 5; type <= 255; type += 25) {
        Bytes scanlines = {uint8_t(type), 1, 2};
        const Bytes file = pngFile(
            {{"IHDR", ihdrData(2, 1, 8, 0, 0)}, {"IDAT", zlibCompress(scanlines)}, {"IEND", {}}});
        const Decoded d = decode(file);
        EXPECT_FALSE(d.ok) << type;
        EXPECT_EQ(d.error, uint32_t(PNG_ERR_FORMAT)) << type;
    }
}

TEST(PngPixels, IndexedPicturesNeedAPaletteAndUnsetEntriesAreBlack) {
    const Bytes scanlines = {0, 0x00, 0x0F};
    const Bytes noPalette = pngFile(
        {{"IHDR", ihdrData(2, 1, 8, 3, 0)}, {"IDAT", zlibCompress(scanlines)}, {"IEND", {}}});
    EXPECT_EQ(decode(noPalette).error, uint32_t(PNG_ERR_FORMAT));

    const Bytes shortPalette = pngFile({{"IHDR", ihdrData(2, 1, 8, 3, 0)},
                                        {"PLTE", {255, 0, 0, 0, 255, 0, 9}},
                                        {"IDAT", zlibCompress(scanlines)},
                                        {"IEND", {}}});
    const Decoded d = decode(shortPalette);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.dib.bits, (Bytes{0x00, 0x0F, 0, 0}));
    EXPECT_EQ(d.dib.info.colours[0].red, 255);
    EXPECT_EQ(d.dib.info.colours[1].green, 255);
    EXPECT_EQ(d.dib.info.colours[2].red, 0); // the stray byte makes no third entry
    EXPECT_EQ(d.dib.info.colours[15].blue, 0);
}

TEST(PngPixels, BitmapCreationNeedsADecodedPicture) {
    const Bytes file = plainPng(pictureOf(1, 0, 8, {5}));
    PngDecoder decoder;
    PngInit(&decoder);
    PngDib dib;
    EXPECT_FALSE(PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, dib));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_STATE));
    ASSERT_TRUE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())));
    EXPECT_FALSE(PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, dib));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_STATE));
    ASSERT_TRUE(PngDecode(&decoder));
    EXPECT_TRUE(PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, dib));
    EXPECT_TRUE(PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, dib)); // again, as often as wanted
    PngRelease(&decoder);
}

} // namespace
