// The About panel's pictures as the program's resources hold them: each decodes with the
// program's own decoder to its size, 8-bit RGBA, not interlaced, fully opaque, with edges in
// the panel's dark grey so that it meets the background without a seam. (The background
// bitmap is compared with the screen in the end-to-end script.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "png/png_decoder.h"
#include "png/png_pixels.h"

namespace {

const std::string artDirectory = PLUVETTE_ARTWORK_DIR;

struct Picture {
    const char* name;
    uint32_t width;
    uint32_t height;
};

bool isPanelGrey(const uint8_t* bgra) {
    return (bgra[2] == 44 || bgra[2] == 45) && bgra[1] == 45 && bgra[0] == 48;
}

TEST(Artwork, EveryPictureDecodesToItsSizeOpaqueWithDarkGreyEdges) {
    const Picture pictures[] = {{"close", 30, 30},   {"close-hover", 30, 30},
                                {"social1", 40, 40}, {"social1-hover", 40, 40},
                                {"social2", 38, 38}, {"social2-hover", 38, 38},
                                {"gp", 38, 38},      {"gp-hover", 38, 38},
                                {"donate", 90, 40},  {"donate-hover", 90, 40},
                                {"visit", 218, 40},  {"visit-hover", 218, 40},
                                {"ticker", 236, 44}};
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const std::string path = artDirectory + "/" + picture.name + ".png";
        PngDecoder decoder;
        PngInit(&decoder);
        ASSERT_TRUE(PngLoadFile(&decoder, path.c_str()));
        ASSERT_TRUE(PngDecode(&decoder));
        EXPECT_EQ(decoder.width, picture.width);
        EXPECT_EQ(decoder.height, picture.height);
        EXPECT_EQ(decoder.colourType, 6);
        EXPECT_EQ(decoder.bitDepth, 8);
        EXPECT_EQ(decoder.interlace, 0);
        PngBitmapInfo info;
        uint32_t descriptor = 0;
        ASSERT_TRUE(PngPrepareBitmap(&decoder, PNG_FORMAT_DEFAULT, &info, &descriptor));
        ASSERT_EQ(info.header.biBitCount, 32);
        std::vector<uint8_t> bits(size_t(decoder.width) * decoder.height * 4);
        ASSERT_TRUE(PngConvertRows(&decoder, bits.data(), descriptor));
        int transparent = 0, brightEdges = 0;
        for (uint32_t y = 0; y < decoder.height; ++y) {
            for (uint32_t x = 0; x < decoder.width; ++x) {
                const uint8_t* pixel = &bits[(size_t(y) * decoder.width + x) * 4];
                transparent += pixel[3] != 255;
                const bool edge =
                    x == 0 || y == 0 || x + 1 == decoder.width || y + 1 == decoder.height;
                brightEdges += edge && !isPanelGrey(pixel);
            }
        }
        EXPECT_EQ(transparent, 0);
        EXPECT_EQ(brightEdges, 0);
        PngRelease(&decoder);
    }
}

} // namespace
