#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "png_picture.h"
#include "ppm.h"
#include "render_script.h"

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

const std::vector<uint8_t> twoPixels{0x10, 0x20, 0x30, 0xFF, 0x00, 0x01};

TEST(Ppm, ParsesBinaryPixelsWithCommentsInTheHeader) {
    std::vector<uint8_t> file = bytesOf("P6\n# made by hand\n2 1\n255\n");
    file.insert(file.end(), twoPixels.begin(), twoPixels.end());
    RgbPicture picture;
    std::string error;
    ASSERT_TRUE(parsePpm(file, picture, error)) << error;
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 1);
    EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x102030, 0xFF0001}));
    std::vector<uint8_t> expected = bytesOf("P6\n2 1\n255\n");
    expected.insert(expected.end(), twoPixels.begin(), twoPixels.end());
    EXPECT_EQ(encodePpm(2, 1, picture.pixels.data()), expected);
}

TEST(Ppm, RejectsWhatIsNotAComplete8BitP6Picture) {
    const char* bad[] = {
        "",
        "P3\n1 1\n255\n000",
        "P6\n1 1\n65535\n\1\2\3\4\5\6",
        "P6\n0 1\n255\n",
        "P6\n1 1\n255\nab",
        "P6\n1\n",
        "P6 99999999999 1 255\n",
        "P6\n40000 40000\n255\n",
        "P6\n1 1\n255",
    };
    for (const char* text : bad) {
        RgbPicture picture;
        std::string error;
        EXPECT_FALSE(parsePpm(bytesOf(text), picture, error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(PngPicture, ColoursComeThroughTheProgramsDecoder) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readFileBytes(PLUVETTE_TEST_PICTURES "/rgba-2x2.png", bytes));
    ASSERT_TRUE(isPng(bytes));
    RgbPicture picture;
    std::string error;
    ASSERT_TRUE(decodePngPicture(bytes, picture, error)) << error;
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 2);
    EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x0A141E, 0x323C46, 0x5A646E, 0x828C96}));
    bytes.resize(40);
    EXPECT_FALSE(decodePngPicture(bytes, picture, error));
    EXPECT_NE(error.find("PNG_ERR_FORMAT"), std::string::npos) << error;
}

struct ScriptTest : testing::Test {
    const OwnedRippleSurface surface{allocateRippleSurface(6, 5)};
    std::string error;
};

TEST_F(ScriptTest, RunsDropsAndSteps) {
    EXPECT_TRUE(runRenderCommand(*surface, "drop 2 2 1 7", error));
    EXPECT_EQ(surface->heights[1][2 * 6 + 2], 7);
    EXPECT_TRUE(runRenderCommand(*surface, "step", error));
    EXPECT_EQ(surface->current, 1);
    EXPECT_TRUE(runRenderCommand(*surface, "  step 3\r", error));
    EXPECT_EQ(surface->current, 0);
    EXPECT_TRUE(runRenderCommand(*surface, "step 0", error));
    EXPECT_TRUE(runRenderCommand(*surface, "", error));
    EXPECT_TRUE(runRenderCommand(*surface, "# a comment", error));
    EXPECT_EQ(surface->current, 0);
}

TEST_F(ScriptTest, RejectsMalformedCommands) {
    for (const char* line :
         {"drop 1 2 3", "drop 1 2 3 4 5", "drop a 2 3 4", "drop 1 2 3 99999999999", "step -1",
          "step 2 3", "step x", "write", "heights a b", "jump 1"}) {
        error.clear();
        EXPECT_FALSE(runRenderCommand(*surface, line, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST_F(ScriptTest, HeightsAreBothFieldsLittleEndian) {
    surface->heights[0][0] = -2;
    surface->heights[1][29] = 0x01020304;
    const std::vector<uint8_t> bytes = encodeHeights(*surface);
    ASSERT_EQ(bytes.size(), 2u * 30 * 4);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()),
              (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01}));
}

} // namespace
