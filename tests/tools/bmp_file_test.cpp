#include "bmp_file.h"

#include <gtest/gtest.h>

namespace {

uint32_t little32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

PngDib dibOf(int32_t width, int32_t height, uint16_t bits, uint32_t coloursUsed) {
    PngDib dib{};
    dib.info.header.biSize = 40;
    dib.info.header.biWidth = width;
    dib.info.header.biHeight = -height;
    dib.info.header.biPlanes = 1;
    dib.info.header.biBitCount = bits;
    dib.info.header.biClrUsed = coloursUsed;
    dib.info.colours[1] = {1, 2, 3, 0};
    dib.stride = uint32_t((width * bits + 31) / 32 * 4);
    dib.bits.assign(size_t(dib.stride) * size_t(height), 0xAB);
    return dib;
}

TEST(BmpFile, HeadersTableAndRowsFollowEachOther) {
    struct Case {
        uint16_t bits;
        uint32_t coloursUsed;
        uint32_t tableEntries;
    };
    for (const Case& c : {Case{1, 0, 2}, Case{4, 4, 4}, Case{4, 0, 16}, Case{8, 256, 256},
                          Case{8, 0, 256}, Case{24, 0, 0}, Case{32, 0, 0}}) {
        const PngDib dib = dibOf(3, 2, c.bits, c.coloursUsed);
        const std::vector<uint8_t> file = encodeBmpFile(dib);
        const uint32_t offset = 14 + 40 + 4 * c.tableEntries;
        ASSERT_EQ(file.size(), offset + dib.bits.size()) << c.bits;
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(little32(file, 2), file.size());
        EXPECT_EQ(little32(file, 6), 0u);
        EXPECT_EQ(little32(file, 10), offset);
        EXPECT_EQ(little32(file, 14), 40u);
        EXPECT_EQ(int32_t(little32(file, 22)), -2); // top-down
        if (c.tableEntries > 1) {
            EXPECT_EQ(little32(file, 54 + 4), 0x00030201u); // entry 1: blue, green, red, 0
        }
        EXPECT_EQ(file[offset], 0xAB);
    }
}

} // namespace
