#include "png/png_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "png/png_decoder.h"
#include "png_builder.h"

namespace {

const Bytes oneGreyRow = zlibCompress({0, 7, 8, 9});

Bytes greyPng(std::vector<Chunk> middle = {}) {
    std::vector<Chunk> chunks = {{"IHDR", ihdrData(3, 1, 8, 0, 0)}};
    chunks.insert(chunks.end(), middle.begin(), middle.end());
    chunks.push_back({"IDAT", oneGreyRow});
    chunks.push_back({"IEND", {}});
    return pngFile(chunks);
}

struct Loaded {
    uint32_t ok;
    uint32_t error;
    PngDecoder decoder;
};

Loaded load(const Bytes& file) {
    Loaded result{};
    PngInit(&result.decoder);
    result.ok = PngLoadMemory(&result.decoder, file.data(), uint32_t(file.size()));
    result.error = result.decoder.lastError;
    return result;
}

uint32_t loadError(const Bytes& file) {
    Loaded loaded = load(file);
    PngRelease(&loaded.decoder);
    return loaded.ok ? PNG_OK : loaded.error;
}

uint32_t decodeError(const Bytes& file) {
    Loaded loaded = load(file);
    if (!loaded.ok) {
        return loaded.error;
    }
    const uint32_t ok = PngDecode(&loaded.decoder);
    const uint32_t error = loaded.decoder.lastError;
    PngRelease(&loaded.decoder);
    return ok ? PNG_OK : error;
}

TEST(PngContainer, RejectsWhatIsNotAPng) {
    Bytes file = greyPng();
    EXPECT_EQ(loadError(Bytes(file.begin(), file.begin() + 15)), uint32_t(PNG_ERR_FORMAT));
    Bytes badSignature = file;
    badSignature[1] = 'p';
    EXPECT_EQ(loadError(badSignature), uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(loadError({}), uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(loadError(pngFile({{"tEXt", {1, 2}}, {"IHDR", ihdrData(1, 1, 8, 0, 0)}})),
              uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(loadError(pngFile({{"IHDR", ihdrData(0, 1, 8, 0, 0)}})), uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(loadError(pngFile({{"IHDR", ihdrData(1, 0, 8, 0, 0)}})), uint32_t(PNG_ERR_FORMAT));
    // A header chunk that claims no data: its 13 bytes are not in a file that ends there.
    EXPECT_EQ(loadError(pngFile({{"IHDR", {}}})), uint32_t(PNG_ERR_FORMAT));
}

TEST(PngContainer, SkipsAncillaryChunksAndRefusesUnknownCriticalOnes) {
    for (const char* type : {"tEXt", "gAMA", "tRNS", "zzzz", "iTXt"}) {
        EXPECT_EQ(decodeError(greyPng({{type, {1, 2, 3}}})), uint32_t(PNG_OK)) << type;
    }
    EXPECT_EQ(loadError(greyPng({{"ABCD", {}}})), uint32_t(PNG_ERR_UNSUPPORTED));
    Bytes afterEnd = greyPng();
    const Bytes trailer = pngFile({{"QQQQ", {}}});
    afterEnd.insert(afterEnd.end(), trailer.begin() + 8, trailer.end());
    EXPECT_EQ(loadError(afterEnd), uint32_t(PNG_ERR_UNSUPPORTED));
    // The first letter's case does not matter for the known chunks.
    EXPECT_EQ(loadError(pngFile({{"iHDR", ihdrData(1, 1, 8, 0, 0)}})), uint32_t(PNG_OK));
}

TEST(PngContainer, WalksToTheEndAndStopsBeforeAChunkThatDoesNotFit) {
    Bytes file = greyPng();
    const Bytes extra = pngFile({{"PLTE", {1, 2, 3}}});
    file.insert(file.end(), extra.begin() + 8, extra.end() - 2); // cut in its CRC
    Loaded loaded = load(file);
    EXPECT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.decoder.paletteData, nullptr);
    PngRelease(&loaded.decoder);

    Bytes badCrc = greyPng();
    badCrc[29] ^= 0xFF; // the header's CRC
    EXPECT_EQ(decodeError(badCrc), uint32_t(PNG_OK));
}

TEST(PngContainer, KeepsTheFirstPaletteAndTheFirstImageData) {
    const Bytes file = pngFile({{"IHDR", ihdrData(1, 1, 8, 3, 0)},
                                {"PLTE", {1, 2, 3, 4, 5, 6, 7}},
                                {"IDAT", zlibCompress({0, 1})},
                                {"PLTE", {9, 9, 9}},
                                {"IDAT", {}},
                                {"IEND", {}}});
    Loaded loaded = load(file);
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.decoder.paletteCount, 2u);
    EXPECT_EQ(loaded.decoder.paletteData, loaded.decoder.inputData + 33 + 8);
    EXPECT_EQ(loaded.decoder.firstIdat, loaded.decoder.inputData + 33 + 19);
    EXPECT_EQ(loaded.decoder.state, uint32_t(PNG_STATE_LOADED));
    EXPECT_EQ(loaded.decoder.sourceKind, uint32_t(PNG_SOURCE_MEMORY));
    PngRelease(&loaded.decoder);
    EXPECT_EQ(loaded.decoder.state, uint32_t(PNG_STATE_EMPTY));
    EXPECT_EQ(loaded.decoder.inputData, nullptr);
}

TEST(PngContainer, AcceptsExactlyTheStandardsColourTypesAndDepths) {
    for (uint8_t type = 0; type <= 8; ++type) {
        for (const int depthValue : {0, 1, 2, 3, 4, 8, 16, 32}) {
            const auto depth = static_cast<uint8_t>(depthValue);
            const bool accepted =
                (type == 0 &&
                 (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
                (type == 3 && depth >= 1 && depth <= 8 && depth != 3) ||
                ((type == 2 || type == 4 || type == 6) && (depth == 8 || depth == 16));
            const uint32_t error = loadError(pngFile({{"IHDR", ihdrData(1, 1, depth, type, 0)}}));
            EXPECT_EQ(error, accepted ? uint32_t(PNG_OK) : uint32_t(PNG_ERR_UNSUPPORTED))
                << int(type) << "/" << int(depth);
        }
    }
    EXPECT_EQ(loadError(pngFile({{"IHDR", ihdrData(1, 1, 8, 0, 2)}})),
              uint32_t(PNG_ERR_UNSUPPORTED));
    EXPECT_EQ(loadError(pngFile({{"IHDR", ihdrData(1, 1, 8, 0, 0, 1)}})),
              uint32_t(PNG_ERR_UNSUPPORTED));
    EXPECT_EQ(loadError(pngFile({{"IHDR", ihdrData(1, 1, 8, 0, 0, 0, 1)}})),
              uint32_t(PNG_ERR_UNSUPPORTED));
}

TEST(PngContainer, OperationsFollowTheDecoderStates) {
    const Bytes file = greyPng();
    PngDecoder decoder;
    PngInit(&decoder);
    EXPECT_FALSE(PngDecode(&decoder));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_STATE));
    ASSERT_TRUE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())));
    const uint8_t* const loadedInput = decoder.inputData;
    EXPECT_FALSE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_BUSY));
    EXPECT_EQ(decoder.inputData, loadedInput);
    EXPECT_EQ(decoder.state, uint32_t(PNG_STATE_LOADED));
    ASSERT_TRUE(PngDecode(&decoder));
    EXPECT_EQ(decoder.state, uint32_t(PNG_STATE_DECODED));
    EXPECT_EQ(decoder.inflatedSize, 4u);
    EXPECT_EQ(Bytes(decoder.inflatedData, decoder.inflatedData + 4), (Bytes{0, 7, 8, 9}));
    EXPECT_FALSE(PngDecode(&decoder));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_STATE));
    EXPECT_FALSE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_BUSY));
    PngRelease(&decoder);

    // A failed load leaves the decoder empty and ready for another.
    Bytes broken = file;
    broken[0] = 0;
    EXPECT_FALSE(PngLoadMemory(&decoder, broken.data(), uint32_t(broken.size())));
    EXPECT_TRUE(PngLoadMemory(&decoder, file.data(), uint32_t(file.size())));
    PngRelease(&decoder);
}

TEST(PngContainer, AFailedDecodeCanBeRetriedAndReleased) {
    const Bytes noImageData = pngFile({{"IHDR", ihdrData(2, 2, 8, 0, 0)}, {"IEND", {}}});
    PngDecoder decoder;
    PngInit(&decoder);
    ASSERT_TRUE(PngLoadMemory(&decoder, noImageData.data(), uint32_t(noImageData.size())));
    EXPECT_FALSE(PngDecode(&decoder));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(decoder.state, uint32_t(PNG_STATE_LOADED));
    EXPECT_EQ(decoder.inflatedData, nullptr);
    EXPECT_FALSE(PngDecode(&decoder));
    PngRelease(&decoder);
}

TEST(PngContainer, DecodedSizeCountsEveryScanlineWithItsFilterByte) {
    struct Case {
        uint32_t width, height;
        uint8_t depth, type, interlace;
        uint64_t size;
    };
    const Case cases[] = {
        {1, 1, 8, 0, 1, 2},
        {3, 2, 1, 0, 0, 4},
        {8, 8, 8, 0, 1, 8 * 8 + 15},
        {5, 5, 8, 2, 1, 5 * 5 * 3 + 11},
        {10, 3, 16, 6, 0, (80 + 1) * 3},
        {9, 1, 2, 0, 0, 4},
        {0x7FFFFFFF, 3, 16, 6, 0, uint64_t(1) << 32},
    };
    for (const Case& c : cases) {
        PngDecoder decoder{};
        decoder.width = c.width;
        decoder.height = c.height;
        decoder.bitDepth = c.depth;
        decoder.colourType = c.type;
        decoder.interlace = c.interlace;
        EXPECT_EQ(PngDecodedSize(&decoder), c.size) << c.width << "x" << c.height;
    }
}

TEST(PngContainer, PicturesTooLargeFor32BitsAreRefused) {
    const Bytes file = pngFile(
        {{"IHDR", ihdrData(0x40000000, 0x40000000, 8, 6, 0)}, {"IDAT", oneGreyRow}, {"IEND", {}}});
    EXPECT_EQ(decodeError(file), uint32_t(PNG_ERR_UNSUPPORTED));
}

// Deflate makes at most 1032 bytes of a byte: a picture its stream could never fill is a lie
// told in a few bytes, refused before any memory is taken; a stream that merely ends early
// still decodes, zero-filled.
TEST(PngContainer, PicturesTheirStreamCouldNeverFillAreRefusedBeforeAllocating) {
    const Bytes emptyStream = zlibCompress({});
    EXPECT_EQ(
        decodeError(pngFile(
            {{"IHDR", ihdrData(30000, 30000, 8, 6, 0)}, {"IDAT", emptyStream}, {"IEND", {}}})),
        uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(
        decodeError(pngFile(
            {{"IHDR", ihdrData(1, 2147483647, 1, 0, 0)}, {"IDAT", emptyStream}, {"IEND", {}}})),
        uint32_t(PNG_ERR_FORMAT));
    EXPECT_EQ(decodeError(pngFile({{"IHDR", ihdrData(30000, 30000, 8, 6, 0)}, {"IEND", {}}})),
              uint32_t(PNG_ERR_FORMAT));
    // Zeros compress by about a thousand to one, and still decode; so does a complete
    // stream shorter than the picture, zero-filled.
    const Bytes grey = pngFile({{"IHDR", ihdrData(256, 256, 8, 0, 0)},
                                {"IDAT", zlibCompress(Bytes(257 * 256, 0), 9)},
                                {"IEND", {}}});
    EXPECT_EQ(decodeError(grey), uint32_t(PNG_OK));
    const Bytes shorter = pngFile({{"IHDR", ihdrData(256, 120, 8, 0, 0)},
                                   {"IDAT", zlibCompress(Bytes(257 * 100, 0), 9)},
                                   {"IEND", {}}});
    EXPECT_EQ(decodeError(shorter), uint32_t(PNG_OK));
}

TEST(PngContainer, FilesAreReadWhole) {
    const auto path = (std::filesystem::temp_directory_path() / "pluvette-file-test.png").string();
    const Bytes file = greyPng();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), long(file.size()));
    PngDecoder decoder;
    PngInit(&decoder);
    ASSERT_TRUE(PngLoadFile(&decoder, path.c_str()));
    EXPECT_EQ(decoder.sourceKind, uint32_t(PNG_SOURCE_FILE));
    EXPECT_EQ(decoder.inputSize, file.size());
    EXPECT_TRUE(PngDecode(&decoder));
    PngRelease(&decoder);
    std::filesystem::remove(path);

    EXPECT_FALSE(PngLoadFile(&decoder, path.c_str()));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_FILE));
    EXPECT_FALSE(PngLoadFile(&decoder, std::filesystem::temp_directory_path().string().c_str()));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_FILE));
    EXPECT_EQ(decoder.sourceKind, uint32_t(PNG_SOURCE_NONE));
}

} // namespace
