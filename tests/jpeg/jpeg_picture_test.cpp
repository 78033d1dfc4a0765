// JPEG pictures decoded at the size they are shown, against libjpeg-turbo's whole decode
// brought down by the same area scaler, for every colour form and coding cameras, phones and
// editors write; and broken, cut short and hostile files ending cleanly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "exif_marker.h"

#include "jpeg/jpeg_picture.h"
#include "pictures/area_scaler.h"

namespace {

constexpr size_t memoryLimit = size_t(512) << 20;
constexpr uint64_t pixelLimit = uint64_t(64) << 20;

// How a test file is coded.
struct Coding {
    const char* name;
    J_COLOR_SPACE stored = JCS_YCbCr; // JCS_GRAYSCALE, JCS_RGB, JCS_CMYK, JCS_YCCK
    int horizontal = 2;               // the first component's sampling factors
    int vertical = 2;
    bool progressive = false;
    bool arithmetic = false;
    unsigned restartRows = 0;
    int refiningScans = 0; // grey, progressive: this many scans, each of one coefficient
    bool lossless = false;
};

// A valid progression of the given number of scans (64 to 694) of a grey picture: the DC,
// each AC coefficient at its coarsest, then each refined a bit at a time, one scan each.
std::vector<jpeg_scan_info> refiningScript(int scans) {
    std::vector<jpeg_scan_info> script{{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k <= 63; ++k) {
        script.push_back({1, {0}, k, k, 0, 10});
    }
    for (int bit = 10; bit >= 1; --bit) {
        for (int k = 1; k <= 63; ++k) {
            script.push_back({1, {0}, k, k, bit, bit - 1});
        }
    }
    script.resize(size_t(scans));
    return script;
}

// A photo-like test picture: smooth gradients, a few hard edges and some grain.
uint8_t channelAt(int x, int y, int channel, int width, int height) {
    const double gradient = 255.0 * (channel == 0   ? double(x) / width
                                     : channel == 1 ? double(y) / height
                                                    : double(x + y) / (width + height));
    const bool square = (x / 97 + y / 61) % 5 == 0;
    const int grain = int((unsigned(x) * 2654435761u ^ unsigned(y) * 40503u) % 13) - 6;
    return uint8_t(std::clamp(int(gradient) + (square ? 60 : 0) + grain, 0, 255));
}

// The picture coded as said, with an EXIF orientation (0: none) in an APP1 segment.
std::vector<uint8_t> makeJpeg(int width, int height, const Coding& coding, int orientation = 0) {
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &bytes, &size);
    const bool inks = coding.stored == JCS_CMYK || coding.stored == JCS_YCCK;
    const bool grey = coding.stored == JCS_GRAYSCALE;
    encoder.image_width = JDIMENSION(width);
    encoder.image_height = JDIMENSION(height);
    encoder.input_components = grey ? 1 : inks ? 4 : 3;
    encoder.in_color_space = grey ? JCS_GRAYSCALE : inks ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_colorspace(&encoder, coding.stored);
    jpeg_set_quality(&encoder, 92, TRUE);
    encoder.comp_info[0].h_samp_factor = grey ? 1 : coding.horizontal;
    encoder.comp_info[0].v_samp_factor = grey ? 1 : coding.vertical;
    encoder.arith_code = coding.arithmetic ? TRUE : FALSE;
    encoder.restart_in_rows = int(coding.restartRows);
    if (coding.progressive) {
        jpeg_simple_progression(&encoder);
    }
    const std::vector<jpeg_scan_info> script = coding.refiningScans > 0
                                                   ? refiningScript(coding.refiningScans)
                                                   : std::vector<jpeg_scan_info>();
    if (!script.empty()) {
        encoder.scan_info = script.data();
        encoder.num_scans = int(script.size());
    }
    if (coding.lossless) {
        jpeg_enable_lossless(&encoder, 1, 0);
    }
    jpeg_start_compress(&encoder, TRUE);
    if (orientation != 0) {
        writeExifOrientation(&encoder, orientation);
    }
    std::vector<uint8_t> row(size_t(width) * size_t(encoder.input_components));
    while (encoder.next_scanline < encoder.image_height) {
        const int y = int(encoder.next_scanline);
        for (int x = 0; x < width; ++x) {
            const uint8_t red = channelAt(x, y, 0, width, height);
            const uint8_t green = channelAt(x, y, 1, width, height);
            const uint8_t blue = channelAt(x, y, 2, width, height);
            uint8_t* at = row.data() + size_t(x) * size_t(encoder.input_components);
            if (grey) {
                at[0] = green;
            } else if (inks) {
                // Inverted, as Photoshop writes an Adobe file: 255 is no ink. Black is kept
                // out, so that the inks alone make the colour.
                at[0] = red;
                at[1] = green;
                at[2] = blue;
                at[3] = 255;
            } else {
                at[0] = red;
                at[1] = green;
                at[2] = blue;
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    std::vector<uint8_t> file(bytes, bytes + size);
    std::free(bytes);
    return file;
}

JpegPicture decode(const std::vector<uint8_t>& file, unsigned eighths) {
    return decodeJpeg(file.data(), file.size(), eighths, memoryLimit, pixelLimit);
}

// The picture brought to width x height by the area scaler.
std::vector<uint32_t> scaled(const JpegPicture& picture, int32_t width, int32_t height) {
    std::vector<uint32_t> out(size_t(width) * size_t(height));
    const PixelRows rows{reinterpret_cast<const uint8_t*>(picture.pixels.data()),
                         ptrdiff_t(picture.width) * 4, int32_t(picture.width),
                         int32_t(picture.height), 4};
    const ScaledArea area{reinterpret_cast<uint8_t*>(out.data()),
                          ptrdiff_t(width) * 4,
                          width,
                          height,
                          0,
                          0,
                          width,
                          height};
    EXPECT_TRUE(canScaleByArea(rows, width, height));
    EXPECT_TRUE(scaleByArea(rows, area, 1));
    return out;
}

// The mean and the largest difference of any channel between two pictures.
std::pair<double, int> difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    double sum = 0;
    int most = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int d = std::abs(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF));
            sum += d;
            most = std::max(most, d);
        }
    }
    return {sum / double(a.size() * 3), most};
}

// Every form at a size no scale divides evenly, shown at the size a 1920 x 1080 screen takes
// of it: decoded at the fewest eighths that cover that size and scaled by area, it is within
// a mean of 1.5 levels and a largest difference of 48 of the whole decode scaled the same way.
// The scaled IDCT keeps the low frequencies exactly and drops what the area scaler averages
// away, so the two differ only at hard edges, where rounding at another size moves a step by
// part of a pixel.
TEST(JpegAtShownSize, EveryFormMatchesTheWholeDecodeScaledAlike) {
    const Coding codings[] = {
        {"4:2:0"},
        {"4:4:4", JCS_YCbCr, 1, 1},
        {"4:2:2", JCS_YCbCr, 2, 1},
        {"4:4:0", JCS_YCbCr, 1, 2},
        {"4:1:1", JCS_YCbCr, 4, 1},
        {"grey", JCS_GRAYSCALE},
        {"RGB", JCS_RGB, 1, 1},
        {"progressive", JCS_YCbCr, 2, 2, true},
        {"arithmetic", JCS_YCbCr, 2, 2, false, true},
        {"restart markers", JCS_YCbCr, 2, 2, false, false, 1},
        {"CMYK", JCS_CMYK, 1, 1},
        {"YCCK", JCS_YCCK, 2, 2},
    };
    const int width = 4001, height = 2999;
    const int32_t shownWidth = 1440, shownHeight = 1080; // fitted to 1920 x 1080
    for (const Coding& coding : codings) {
        SCOPED_TRACE(coding.name);
        const std::vector<uint8_t> file = makeJpeg(width, height, coding);
        const unsigned eighths =
            jpegCoveringEighths(width, height, uint32_t(shownWidth), uint32_t(shownHeight));
        EXPECT_EQ(eighths, 3u);
        const JpegPicture whole = decode(file, 8);
        const JpegPicture part = decode(file, eighths);
        ASSERT_EQ(whole.outcome, jpegDone);
        ASSERT_EQ(part.outcome, jpegDone);
        EXPECT_EQ(part.width, 1501u);
        EXPECT_EQ(part.height, 1125u);
        const auto [mean, most] = difference(scaled(part, shownWidth, shownHeight),
                                             scaled(whole, shownWidth, shownHeight));
        EXPECT_LT(mean, 1.5);
        EXPECT_LE(most, 48);
        // The colours are the picture's, not inverted: the top-left corner is dark, the
        // bottom-right light.
        const uint32_t corner = whole.pixels[0], opposite = whole.pixels.back();
        EXPECT_LT(corner & 0xFF, 80u) << std::hex << corner;
        EXPECT_GT(opposite & 0xFF, 170u) << std::hex << opposite;
    }
}

TEST(JpegAtShownSize, TheFewestEighthsThatCoverTheSize) {
    EXPECT_EQ(jpegCoveringEighths(6000, 4000, 1920, 1080), 3u); // 2250 x 1500
    EXPECT_EQ(jpegCoveringEighths(6000, 4000, 1920, 1280), 3u); // filled: 1920 x 1280
    EXPECT_EQ(jpegCoveringEighths(4000, 6000, 1080, 1920), 3u); // a sideways photo, turned
    EXPECT_EQ(jpegCoveringEighths(8192, 8192, 1920, 1920), 2u);
    EXPECT_EQ(jpegCoveringEighths(6000, 4000, 152, 112), 1u); // a preview
    EXPECT_EQ(jpegCoveringEighths(1920, 1080, 1920, 1080), 8u);
    EXPECT_EQ(jpegCoveringEighths(1000, 800, 1920, 1080), 8u); // enlarged: whole
    EXPECT_EQ(jpegCoveringEighths(7, 7, 1, 1), 1u);
    // As libjpeg rounds: up.
    const std::vector<uint8_t> file = makeJpeg(4001, 2999, Coding{"4:2:0"});
    for (unsigned eighths = 1; eighths <= 8; ++eighths) {
        uint32_t width = 0, height = 0;
        ASSERT_EQ(jpegScaledSize(file.data(), file.size(), eighths, &width, &height), jpegDone);
        EXPECT_EQ(width, jpegScaledSide(4001, eighths));
        EXPECT_EQ(height, jpegScaledSide(2999, eighths));
    }
}

// A file cut short or with noise in its data is unreadable, not a grey picture with a strip
// of the photo; a form this library leaves to others says so; a stop ends the decode; hostile
// sizes and memory end within their limits.
TEST(JpegAtShownSize, BrokenFilesFailCleanly) {
    const std::vector<uint8_t> photo = makeJpeg(1600, 1200, Coding{"4:2:0"});
    ASSERT_EQ(decode(photo, 8).outcome, jpegDone);
    std::vector<uint8_t> cut(photo.begin(), photo.begin() + ptrdiff_t(photo.size() / 3));
    EXPECT_EQ(decode(cut, 8).outcome, jpegUnreadable);
    EXPECT_EQ(decode(cut, 1).outcome, jpegUnreadable);
    std::vector<uint8_t> noisy = photo;
    uint32_t seed = 1;
    for (size_t i = photo.size() / 4; i + 2 < noisy.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        noisy[i] = uint8_t(seed >> 16);
    }
    EXPECT_EQ(decode(noisy, 8).outcome, jpegUnreadable);
    // Padding before the end marker, as some cameras write, is no damage.
    std::vector<uint8_t> padded = photo;
    padded.insert(padded.end() - 2, 16, uint8_t(0));
    EXPECT_EQ(decode(padded, 8).outcome, jpegDone);
    EXPECT_EQ(decode({}, 8).outcome, jpegUnreadable);
    EXPECT_EQ(decode({0xFF, 0xD8, 0xFF}, 8).outcome, jpegUnreadable);
    // A picture larger than the pixels allowed, and a decoder allowed too little memory.
    EXPECT_EQ(decodeJpeg(photo.data(), photo.size(), 8, memoryLimit, 1000).outcome, jpegUnreadable);
    const std::vector<uint8_t> progressive =
        makeJpeg(1600, 1200, Coding{"progressive", JCS_YCbCr, 2, 2, true});
    EXPECT_EQ(decodeJpeg(progressive.data(), progressive.size(), 8, 100000, pixelLimit).outcome,
              jpegUnreadable);
    const std::atomic<bool> stop{true};
    EXPECT_EQ(decodeJpeg(photo.data(), photo.size(), 8, memoryLimit, pixelLimit, &stop).outcome,
              jpegStopped);
}

// A lossless grey picture, which libjpeg-turbo decodes into grey only: every sample exactly,
// at its whole size whatever the scale asked for.
TEST(JpegAtShownSize, LosslessGreyIsShownExactly) {
    constexpr int width = 97, height = 61;
    const std::vector<uint8_t> file =
        makeJpeg(width, height, Coding{"lossless", JCS_GRAYSCALE, 1, 1, false, false, 0, 0, true});
    for (unsigned eighths : {8u, 1u}) {
        const JpegPicture shown = decode(file, eighths);
        ASSERT_EQ(shown.outcome, jpegDone) << eighths;
        ASSERT_EQ(shown.width, uint32_t(width));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t grey = channelAt(x, y, 1, width, height);
                ASSERT_EQ(shown.pixels[size_t(y) * width + size_t(x)],
                          0xFF000000u | grey * 0x010101u)
                    << x << " " << y;
            }
        }
    }
}

// The work a file makes is bounded by the picture, not by its count of scans: one that goes
// over its blocks hundreds of times (small, valid, each scan refining one coefficient) is
// refused; one that goes over them 32 times, the most allowed, is shown.
TEST(JpegAtShownSize, AFileThatGoesOverItsBlocksTooOftenIsRefused) {
    const std::vector<uint8_t> many =
        makeJpeg(512, 512, Coding{"many", JCS_GRAYSCALE, 1, 1, true, false, 0, 600});
    EXPECT_EQ(decode(many, 8).outcome, jpegUnreadable);
    EXPECT_EQ(decode(many, 1).outcome, jpegUnreadable);
    const std::vector<uint8_t> enough =
        makeJpeg(512, 512, Coding{"enough", JCS_GRAYSCALE, 1, 1, true, false, 0, 32});
    EXPECT_EQ(decode(enough, 8).outcome, jpegDone);
}

// libjpeg-turbo's own test pictures: 8-bit ones decode, 12-bit ones are left to others.
TEST(JpegAtShownSize, TheLibrarysOwnTestPicturesDecode) {
    const auto read = [](const char* name) {
        std::ifstream in(std::string(PLUVETTE_JPEG_TEST_IMAGES) + "/" + name, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    for (const char* name : {"testorig.jpg", "testimgari.jpg", "testimgint.jpg"}) {
        const std::vector<uint8_t> file = read(name);
        ASSERT_FALSE(file.empty()) << name;
        for (unsigned eighths : {1u, 4u, 8u}) {
            const JpegPicture picture = decode(file, eighths);
            EXPECT_EQ(picture.outcome, jpegDone) << name << " at " << eighths << "/8";
            EXPECT_EQ(picture.width, jpegScaledSide(227, eighths)) << name;
        }
    }
    EXPECT_EQ(decode(read("testorig12.jpg"), 8).outcome, jpegUnsupported);
    // Zero bytes between two markers of the header (before the first table, as some cameras
    // and editors write) or between a progressive file's scans: the same picture.
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> files{
        {"testorig.jpg", read("testorig.jpg")},
        {"testimgint.jpg", read("testimgint.jpg")},
        {"progressive", makeJpeg(320, 240, Coding{"progressive", JCS_YCbCr, 2, 2, true})}};
    for (const auto& [name, file] : files) {
        const auto markerAt = [&](uint8_t code, size_t from) {
            for (size_t i = from; i + 1 < file.size(); ++i) {
                if (file[i] == 0xFF && file[i + 1] == code) {
                    return i;
                }
            }
            return file.size();
        };
        const JpegPicture original = decode(file, 8);
        for (const size_t at : {markerAt(0xDB, 2), markerAt(0xDA, markerAt(0xDA, 2) + 2)}) {
            if (at >= file.size()) {
                continue; // one scan only
            }
            std::vector<uint8_t> padded = file;
            padded.insert(padded.begin() + ptrdiff_t(at), 4, uint8_t(0));
            const JpegPicture shown = decode(padded, 8);
            ASSERT_EQ(shown.outcome, jpegDone) << name << " padded at " << at;
            EXPECT_EQ(shown.pixels, original.pixels) << name << " padded at " << at;
        }
    }
}

} // namespace
