#include "bmp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "png/png_decoder.h"
#include "png_builder.h"
#include "png_to_bmp.h"

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

std::vector<uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Rows written as they are decoded make the same file as the whole bitmap encoded at once,
// for every picture of the suite (interlaced ones take the whole bitmap's way).
TEST(PngToBmp, WritesTheFileOfTheWholeBitmap) {
    const std::filesystem::path out = testing::TempDir() + "png_to_bmp.bmp";
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PLUVETTE_PNGSUITE)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name[0] == 'x') { // x: broken on purpose
            continue;
        }
        OwnedPngDecoder decoder;
        PngDib dib;
        const bool decodable = PngLoadFile(decoder.get(), entry.path().string().c_str()) &&
                               PngDecode(decoder.get()) &&
                               PngCreateDib(decoder.get(), PNG_FORMAT_DEFAULT, dib);
        const std::string failure =
            writePngAsBmp(entry.path().string().c_str(), out.string().c_str(), PNG_FORMAT_DEFAULT);
        ASSERT_EQ(failure.empty(), decodable) << name << ": " << failure;
        if (decodable) {
            EXPECT_EQ(fileBytes(out), encodeBmpFile(dib)) << name;
            ++compared;
        }
    }
    EXPECT_GT(compared, 150);
}

// A stream found broken once half of the rows are written leaves an earlier file of the
// output's name as it was, and nothing beside it.
TEST(PngToBmp, ABrokenStreamKeepsTheEarlierFile) {
    const std::string folder = testing::TempDir();
    // 64 x 64 grey pixels: a stored block with the first 32 rows, then a block of the
    // reserved type.
    Bytes stream = {0x78, 0x01, 0x00, 0x20, 0x08, 0xDF, 0xF7};
    for (int y = 0; y < 32; ++y) {
        stream.push_back(0);
        stream.insert(stream.end(), 64, uint8_t(y * 8));
    }
    stream.push_back(0x07);
    const Bytes png =
        pngFile({{"IHDR", ihdrData(64, 64, 8, 0, 0)}, {"IDAT", stream}, {"IEND", {}}});
    std::ofstream(folder + "broken.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    const std::vector<uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    std::ofstream(folder + "earlier.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(earlier.data()), std::streamsize(earlier.size()));

    EXPECT_NE(writePngAsBmp((folder + "broken.png").c_str(), (folder + "earlier.bmp").c_str(),
                            PNG_FORMAT_DEFAULT)
                  .find("PNG_ERR_FORMAT"),
              std::string::npos);
    EXPECT_EQ(fileBytes(folder + "earlier.bmp"), earlier);
    EXPECT_FALSE(std::filesystem::exists(folder + "earlier.bmp.part"));
}

} // namespace
