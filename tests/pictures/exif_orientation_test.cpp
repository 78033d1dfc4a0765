// Photos turned upright: the EXIF orientation read from JPEG files as cameras write them, in
// both byte orders, and the eight turns applied to pixels.
#include "pictures/exif_orientation.h"
#include "pictures/picture_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, unsigned value, bool bigEndian) {
    out.push_back(uint8_t(bigEndian ? value >> 8 : value));
    out.push_back(uint8_t(bigEndian ? value : value >> 8));
}

void put32(Bytes& out, uint32_t value, bool bigEndian) {
    put16(out, bigEndian ? value >> 16 : value & 0xFFFF, bigEndian);
    put16(out, bigEndian ? value & 0xFFFF : value >> 16, bigEndian);
}

void segment(Bytes& jpeg, uint8_t marker, const Bytes& payload) {
    jpeg.insert(jpeg.end(),
                {0xFF, marker, uint8_t((payload.size() + 2) >> 8), uint8_t(payload.size() + 2)});
    jpeg.insert(jpeg.end(), payload.begin(), payload.end());
}

// A JPEG file as a phone writes it: SOI, JFIF APP0, an EXIF APP1 whose first directory holds
// a make (0x010F) before the orientation, then the start of the picture data.
Bytes photo(int orientation, bool bigEndian, uint16_t type = 3) {
    Bytes tiff = bigEndian ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    put16(tiff, 42, bigEndian);
    put32(tiff, 8, bigEndian);
    put16(tiff, 2, bigEndian);      // two entries
    put16(tiff, 0x010F, bigEndian); // Make, ASCII, 4 bytes inline
    put16(tiff, 2, bigEndian);
    put32(tiff, 4, bigEndian);
    tiff.insert(tiff.end(), {'A', 'B', 'C', 0});
    put16(tiff, 0x0112, bigEndian); // Orientation, SHORT, 1
    put16(tiff, type, bigEndian);
    put32(tiff, 1, bigEndian);
    put16(tiff, unsigned(orientation), bigEndian);
    put16(tiff, 0, bigEndian);
    put32(tiff, 0, bigEndian); // no next directory
    Bytes exif = {'E', 'x', 'i', 'f', 0, 0};
    exif.insert(exif.end(), tiff.begin(), tiff.end());
    Bytes jpeg = {0xFF, 0xD8};
    segment(jpeg, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    segment(jpeg, 0xE1, exif);
    segment(jpeg, 0xDA, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    return jpeg;
}

TEST(JpegOrientation, ReadsEveryValueInBothByteOrders) {
    for (bool bigEndian : {false, true}) {
        for (int value = 1; value <= 8; ++value) {
            const Bytes jpeg = photo(value, bigEndian);
            EXPECT_EQ(jpegOrientation(jpeg.data(), jpeg.size()), value) << bigEndian;
        }
    }
}

TEST(JpegOrientation, MissingOrDamagedDataMeansNoTurn) {
    const auto orientationOf = [](const Bytes& bytes) {
        return jpegOrientation(bytes.data(), bytes.size());
    };
    EXPECT_EQ(orientationOf({}), 1);
    EXPECT_EQ(orientationOf({0xFF, 0xD8, 0xFF, 0xDA, 0, 2}), 1); // no EXIF
    EXPECT_EQ(orientationOf(photo(9, false)), 1);                // out of range
    EXPECT_EQ(orientationOf(photo(0, true)), 1);
    EXPECT_EQ(orientationOf(photo(6, false, 4)), 1); // a LONG, not a SHORT
    Bytes notJpeg = photo(6, false);
    notJpeg[1] = 0xD9;
    EXPECT_EQ(orientationOf(notJpeg), 1);
    Bytes badOrder = photo(6, false);
    badOrder[4 + 16 + 4 + 6] = 'X'; // the TIFF header's "II"
    EXPECT_EQ(orientationOf(badOrder), 1);
    // Cut anywhere before the EXIF segment's end: no turn, and nothing read past the end.
    const Bytes whole = photo(6, true);
    const size_t exifEnd = 2 + 18 + 4 + 6 + 38;
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + long(cut));
        EXPECT_EQ(orientationOf(part), cut < exifEnd ? 1 : 6) << cut;
    }
}

TEST(OrientPixels, TurnsAndMirrorsAsEachOrientationSays) {
    // a b c      stored rows of a 3 x 2 picture
    // d e f
    const std::vector<uint32_t> stored = {'a', 'b', 'c', 'd', 'e', 'f'};
    const std::string shown[] = {"abcdef", "cbafed", "fedcba", "defabc",
                                 "adbecf", "daebfc", "fcebda", "cfbead"};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::vector<uint32_t> out = orientPixels(stored, 3, 2, orientation);
        EXPECT_EQ(std::string(out.begin(), out.end()), shown[orientation - 1]) << orientation;
        EXPECT_EQ(orientationSwapsSides(orientation), orientation >= 5);
    }
}

} // namespace
