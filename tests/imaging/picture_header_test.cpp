#include "imaging/picture_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Bytes = std::basic_string<uint8_t>;

Bytes bytes(std::initializer_list<int> values) {
    Bytes result;
    for (int value : values) {
        result.push_back(static_cast<uint8_t>(value));
    }
    return result;
}

struct Case {
    const char* what;
    Bytes file;
    PictureFormat format;
    uint32_t width;
    uint32_t height;
};

// Headers as the formats lay them out, each followed by a byte that nothing reads.
const Case cases[] = {
    {"PNG", bytes({0x89, 'P', 'N', 'G', 13, 10,   26,   10, 0, 0,    0,    13, 'I',
                   'H',  'D', 'R', 0,   0,  0x5A, 0xA0, 0,  0, 0x5A, 0xA0, 1,  0}),
     PictureFormat::png, 23200, 23200},
    {"JPEG with fill bytes, a restart marker and an APP0 segment before SOF2",
     bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xE0, 0,  4, 'J',  'F',  0xFF, 0xD0, 0xFF, 0xC4,
            0,    2,    0xFF, 0xC2, 0,    11, 8, 0x0F, 0xA0, 0x17, 0x70, 3,    0}),
     PictureFormat::jpeg, 6000, 4000},
    {"GIF whose first image reaches past its screen",
     bytes({'G', 'I',  'F',  '8', '9', 'a', 10, 0,    10, 0, 0x80, 0, 0,    1,    2, 3, 4, 5,
            6,   0x21, 0xF9, 2,   0,   0,   0,  0x2C, 5,  0, 0,    0, 0xFF, 0xFF, 1, 0, 0}),
     PictureFormat::gif, 65540, 10},
    {"BMP stored top row first",
     bytes({'B', 'M', 0, 0, 0,    0,    0, 0, 0,    0,    54,   0,    0, 0,
            40,  0,   0, 0, 0x80, 0x07, 0, 0, 0xC8, 0xFB, 0xFF, 0xFF, 1, 0}),
     PictureFormat::bmp, 1920, 1080},
    {"BMP with the core header",
     bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 0xFF, 0xFF, 2, 0, 1, 0}),
     PictureFormat::bmp, 65535, 2},
};

TEST(PictureHeader, ReadsTheSizeEachFormatDeclares) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pictureFormatOf(c.file.data(), c.file.size()), c.format);
        PictureDimensions dimensions;
        ASSERT_TRUE(readPictureDimensions(c.file.data(), c.file.size(), dimensions));
        EXPECT_EQ(dimensions.width, c.width);
        EXPECT_EQ(dimensions.height, c.height);
    }
}

TEST(PictureHeader, AHeaderCutShortNamesNoSize) {
    for (const Case& c : cases) {
        // Every header but the GIF's ends two bytes before the last; the GIF's image
        // descriptor needs all but its last byte.
        const size_t needed = c.file.size() - (c.format == PictureFormat::gif ? 1 : 2);
        for (size_t length = 0; length < needed; ++length) {
            const Bytes cut = c.file.substr(0, length);
            PictureDimensions dimensions;
            EXPECT_FALSE(readPictureDimensions(cut.data(), cut.size(), dimensions))
                << c.what << " cut to " << length;
        }
    }
    const Bytes noFrame = bytes({0xFF, 0xD8, 0xFF, 0xDA, 0, 8, 0xC0, 0, 11, 8, 1, 1, 1, 1});
    PictureDimensions dimensions;
    EXPECT_FALSE(readPictureDimensions(noFrame.data(), noFrame.size(), dimensions));
    const Bytes text = bytes({'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'});
    EXPECT_EQ(pictureFormatOf(text.data(), text.size()), PictureFormat::unknown);
}

TEST(PictureHeader, TheBudgetHoldsAnEightKScreenTwiceAndNoMore) {
    EXPECT_TRUE(fitsPictureBudget(7680 * 2, 4320));
    EXPECT_TRUE(fitsPictureBudget(8192, 8192));
    EXPECT_FALSE(fitsPictureBudget(8193, 8192));
    EXPECT_FALSE(fitsPictureBudget(23200, 23200));
    EXPECT_FALSE(fitsPictureBudget(0xFFFFFFFF, 0xFFFFFFFF));
    EXPECT_FALSE(fitsPictureBudget(0, 1));
}

} // namespace
