#include "jpeg/jpeg_calls.h"
#include "pictures/picture_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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
    {"JPEG with fill bytes, a restart marker, an APP0 segment and padding before SOF2",
     bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xE0, 0,    4, 'J', 'F', 0xFF, 0xD0, 0xFF, 0xC4, 0, 2,
            0,    0,    0,    0,    0xFF, 0xC2, 0, 11,  8,   0x0F, 0xA0, 0x17, 0x70, 3, 0}),
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

// Little files of each format whose last image is the one of the given size, after a small
// one that a reader of first headers alone would stop at.
Bytes le16(uint32_t v) {
    return bytes({int(v & 0xFF), int(v >> 8 & 0xFF)});
}
Bytes le24(uint32_t v) {
    return le16(v & 0xFFFF) + bytes({int(v >> 16 & 0xFF)});
}
Bytes le32(uint32_t v) {
    return le16(v & 0xFFFF) + le16(v >> 16);
}
Bytes be16(uint32_t v) {
    return bytes({int(v >> 8 & 0xFF), int(v & 0xFF)});
}
Bytes be32(uint32_t v) {
    return be16(v >> 16) + be16(v & 0xFFFF);
}
Bytes text(const char* s) {
    return Bytes(reinterpret_cast<const uint8_t*>(s), std::strlen(s));
}

Bytes png(uint32_t w, uint32_t h) {
    return bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10}) + be32(13) + text("IHDR") + be32(w) +
           be32(h) + bytes({8, 6, 0, 0, 0});
}
Bytes jpeg(uint32_t w, uint32_t h) { // a small frame and its scan, then the large frame
    const Bytes frame = bytes({0xFF, 0xC0, 0, 11, 8, 0, 16, 0, 16, 1, 1, 0x11, 0});
    return bytes({0xFF, 0xD8}) + frame + bytes({0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0}) +
           bytes({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56}) + bytes({0xFF, 0xC3, 0, 11, 8}) +
           be16(h) + be16(w) + bytes({1, 1, 0x11, 0, 0xFF, 0xD9});
}
Bytes gif(uint32_t w, uint32_t h) { // a 16 x 16 screen and image, then the large image
    const Bytes image = bytes({0x2C, 0, 0, 0, 0, 16, 0, 16, 0, 0, 2, 2, 0x4C, 0x01, 0});
    return text("GIF89a") + le16(16) + le16(16) + bytes({0, 0, 0}) + image +
           bytes({0x21, 0xF9, 4, 0, 0, 0, 0, 0}) + bytes({0x2C, 0, 0, 0, 0}) + le16(w) + le16(h) +
           bytes({0, 2, 2, 0x4C, 0x01, 0, 0x3B});
}
Bytes bmp(uint32_t w, uint32_t h) {
    return text("BM") + le32(0) + le32(0) + le32(54) + le32(40) + le32(w) + le32(h) + le16(1) +
           le16(32);
}
Bytes icon(uint32_t w, uint32_t h) { // entries of 16 x 16 pixels: a bitmap, then a PNG
    const Bytes entries = bytes({16, 16, 0, 0, 1, 0, 32, 0}) + le32(40) + le32(38) +
                          bytes({16, 16, 0, 0, 1, 0, 32, 0}) + le32(33) + le32(50);
    return bytes({0, 0, 1, 0, 2, 0}) + entries + le32(40) + le32(16) + le32(32) + png(w, h);
}
Bytes tiff(uint32_t w, uint32_t h) { // a 16 x 16 image, then one of the size (LONG fields)
    auto directory = [](uint32_t width, uint32_t height, uint32_t next) {
        return le16(2) + le16(256) + le16(4) + le32(1) + le32(width) + le16(257) + le16(3) +
               le32(1) + le16(height) + le16(0) + le32(next);
    };
    return text("II*") + bytes({0}) + le32(8) + directory(16, 16, 38) + directory(w, h, 0);
}
Bytes webp(uint32_t w, uint32_t h) { // a canvas of the size with a lossless 16 x 16 picture
    const Bytes body = text("VP8X") + le32(10) + bytes({0, 0, 0, 0}) + le24(w - 1) + le24(h - 1) +
                       text("VP8L") + le32(5) + bytes({0x2F}) + le32(15 | 15 << 14);
    return text("RIFF") + le32(uint32_t(body.size() + 4)) + text("WEBP") + body;
}
Bytes heif(uint32_t w, uint32_t h) { // two images: 16 x 16 and the size
    auto box = [](const char* type, const Bytes& body) {
        return be32(uint32_t(body.size() + 8)) + text(type) + body;
    };
    const Bytes ipco =
        box("ispe", be32(0) + be32(16) + be32(16)) + box("ispe", be32(0) + be32(w) + be32(h));
    return box("ftyp", text("mif1") + be32(0) + text("heic")) +
           box("meta", be32(0) + box("hdlr", be32(0)) + box("iprp", box("ipco", ipco))) +
           box("mdat", bytes({1, 2, 3}));
}

TEST(PictureHeader, EveryImageOfEveryFormatIsHeldToTheBudget) {
    struct Maker {
        const char* format;
        Bytes (*make)(uint32_t, uint32_t);
    };
    const Maker makers[] = {{"PNG", png},  {"JPEG", jpeg}, {"GIF", gif},   {"BMP", bmp},
                            {"ICO", icon}, {"TIFF", tiff}, {"WebP", webp}, {"HEIF", heif}};
    for (const Maker& maker : makers) {
        SCOPED_TRACE(maker.format);
        for (const auto& [w, h, fits] : {std::tuple{8192u, 8192u, true},
                                         {8193u, 8192u, false},
                                         {16384u, 4096u, true},
                                         {16384u, 16384u, false}}) {
            const Bytes file = maker.make(w, h);
            PictureDimensions dimensions;
            ASSERT_TRUE(readPictureDimensions(file.data(), file.size(), dimensions)) << w;
            EXPECT_EQ(fitsPictureBudget(dimensions.width, dimensions.height), fits)
                << w << "x" << h;
        }
    }
}

// A JPEG whose scans would make a decoder go over its blocks more often than photos do names
// no size, so that it is refused before any decoder goes over it again and again: its last
// scan counts however far it lies, and a scan counts the blocks of the components it names
// (a chroma component of a 4:2:0 frame holds a sixth of them).
TEST(PictureHeader, AJpegWhoseScansMakeTooMuchWorkIsRefused) {
    const auto scanOf = [](uint8_t component) {
        return bytes({0xFF, 0xDA, 0, 8, 1, component, 0, 1, 5, 0x02, 0x12, 0x34, 0xFF, 0x00});
    };
    const Bytes grey = bytes({0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0, 16, 0, 16, 1, 1, 0x11, 0});
    const Bytes colour = bytes(
        {0xFF, 0xD8, 0xFF, 0xC2, 0, 17, 8, 0, 16, 0, 16, 3, 1, 0x22, 0, 2, 0x11, 0, 3, 0x11, 0});
    struct ScansCase {
        const Bytes& frame;
        uint8_t component;
        size_t scans;
        bool named;
    };
    for (const ScansCase& c : {ScansCase{grey, 1, 1, true},
                               {grey, 1, jpegMostFullPasses, true},
                               {grey, 1, jpegMostFullPasses + 1, false},
                               {grey, 1, 20000, false},
                               {colour, 2, 6 * jpegMostFullPasses, true},
                               {colour, 2, 6 * jpegMostFullPasses + 1, false},
                               {colour, 9, maxJpegScans + 1, false}}) { // no blocks, too many
        Bytes file = c.frame;
        for (size_t i = 0; i < c.scans; ++i) {
            file += scanOf(c.component);
        }
        file += bytes({0xFF, 0xD9});
        PictureDimensions dimensions;
        EXPECT_EQ(readPictureDimensions(file.data(), file.size(), dimensions), c.named)
            << c.scans << " scans of component " << int(c.component);
    }
    // A frame header too short to hold one, at the very end: nothing read past it.
    const Bytes cut = bytes({0xFF, 0xD8, 0xFF, 0xC2, 0, 2});
    PictureDimensions dimensions;
    EXPECT_FALSE(readPictureDimensions(cut.data(), cut.size(), dimensions));
}

// What the imaging component must compose: a GIF's first image with a transparent colour, a
// 32-bit bitmap with an alpha mask in its header.
TEST(PictureHeader, TransparencyIsDeclaredByTheFirstGifImageOrABitmapsAlphaMask) {
    const Bytes image = bytes({0x2C, 0, 0, 0, 0, 16, 0, 16, 0, 0, 2, 2, 0x4C, 0x01, 0});
    auto control = [](int flags) { return bytes({0x21, 0xF9, 4, flags, 0, 0, 7, 0}); };
    const Bytes screen = text("GIF89a") + le16(16) + le16(16) + bytes({0x80, 0, 0}) + Bytes(6, 0);
    auto bitmap = [](uint32_t headerSize, uint16_t bits, uint32_t compression, uint32_t alpha) {
        return text("BM") + le32(0) + le32(0) + le32(14 + headerSize) + le32(headerSize) + le32(4) +
               le32(4) + le16(1) + le16(bits) + le32(compression) + Bytes(20, 0) + le32(0xFF0000) +
               le32(0xFF00) + le32(0xFF) + le32(alpha) + Bytes(headerSize - 56, 0);
    };
    const std::tuple<const char*, Bytes, bool> files[] = {
        {"GIF, transparent first image", screen + control(1) + image + bytes({0x3B}), true},
        {"GIF, control without transparency", screen + control(4) + image, false},
        {"GIF, transparency for a later image", screen + image + control(1) + image, false},
        {"GIF, control cut short", screen + bytes({0x21, 0xF9, 4}), false},
        {"BMP v5, 32-bit fields with alpha", bitmap(124, 32, 3, 0xFF000000), true},
        {"BMP v4, 32-bit fields without alpha", bitmap(108, 32, 3, 0), false},
        {"BMP v5, 32 bits without fields", bitmap(124, 32, 0, 0xFF000000), false},
        {"BMP v5, 24-bit", bitmap(124, 24, 3, 0xFF000000), false},
        {"BMP, 40-byte header", bmp(4, 4), false},
        {"PNG", png(4, 4), false},
    };
    for (const auto& [what, file, transparent] : files) {
        EXPECT_EQ(declaresTransparency(file.data(), file.size()), transparent) << what;
    }
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
