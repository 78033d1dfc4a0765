#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <cstdlib>
#include <vector>

#include "png/png_decoder.h"
#include "png/png_win32.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The test picture, resource 1: 2 x 2, 8-bit truecolour with alpha.
const Bytes topRowBgra = {30, 20, 10, 40, 70, 60, 50, 80};
const Bytes bottomRowBgra = {110, 100, 90, 120, 150, 140, 130, 160};

struct DecodedResource {
    PngDecoder decoder;
    DecodedResource() {
        PngInit(&decoder);
        loaded = PngLoadResource(&decoder, GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
        decoded = loaded && PngDecode(&decoder);
    }
    ~DecodedResource() { PngRelease(&decoder); }
    uint32_t loaded;
    bool decoded;
};

Bytes dibRow(HBITMAP bitmap, int row, int bytes) {
    DIBSECTION section{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof(section), &section), int(sizeof(section)));
    const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    return {bits + row * section.dsBm.bmWidthBytes, bits + row * section.dsBm.bmWidthBytes + bytes};
}

TEST(PngWin32, AResourceDecodesIntoATopDownDibSection) {
    DecodedResource png;
    ASSERT_TRUE(png.loaded);
    EXPECT_EQ(png.decoder.sourceKind, uint32_t(PNG_SOURCE_RESOURCE));
    ASSERT_TRUE(png.decoded);
    const win32::Bitmap bitmap = PngCreateBitmap(&png.decoder, nullptr, PNG_FORMAT_DEFAULT, FALSE);
    ASSERT_TRUE(bitmap);
    DIBSECTION section{};
    GetObjectA(bitmap.get(), sizeof(section), &section);
    EXPECT_EQ(section.dsBmih.biWidth, 2);
    EXPECT_EQ(std::abs(section.dsBmih.biHeight), 2); // the rows below show it is top-down
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(dibRow(bitmap.get(), 0, 8), topRowBgra);
    EXPECT_EQ(dibRow(bitmap.get(), 1, 8), bottomRowBgra);

    const win32::Bitmap bgr = PngCreateBitmap(&png.decoder, nullptr, 0x0608010D, FALSE);
    ASSERT_TRUE(bgr);
    EXPECT_EQ(dibRow(bgr.get(), 0, 8), (Bytes{30, 20, 10, 70, 60, 50, 0, 0}));
}

TEST(PngWin32, DeviceDependentBitmapsKeepTheColours) {
    DecodedResource png;
    ASSERT_TRUE(png.decoded);
    const win32::Bitmap bitmap = PngCreateBitmap(&png.decoder, nullptr, PNG_FORMAT_DEFAULT, TRUE);
    ASSERT_TRUE(bitmap);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    uint8_t pixels[16] = {};
    const win32::WindowDc screen(nullptr);
    EXPECT_EQ(GetDIBits(screen.get(), bitmap.get(), 0, 2, pixels, &info, DIB_RGB_COLORS), 2);
    for (int i = 0; i < 4; ++i) {
        const Bytes& row = i < 2 ? topRowBgra : bottomRowBgra;
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(pixels[i * 4 + c], row[(i % 2) * 4 + c]) << i << "," << c;
        }
    }
}

TEST(PngWin32, FailuresReportTheirReason) {
    PngDecoder decoder;
    PngInit(&decoder);
    EXPECT_FALSE(PngLoadResource(&decoder, GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2)));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_RESOURCE_NOT_FOUND));
    EXPECT_EQ(decoder.state, uint32_t(PNG_STATE_EMPTY));

    DecodedResource png;
    ASSERT_TRUE(png.decoded);
    EXPECT_FALSE(PngCreateBitmap(&png.decoder, nullptr, 0x00080100, FALSE));
    EXPECT_EQ(png.decoder.lastError, uint32_t(PNG_ERR_OUTPUT_FORMAT));

    PngDecoder loadedOnly;
    PngInit(&loadedOnly);
    ASSERT_TRUE(PngLoadResource(&loadedOnly, GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
    EXPECT_FALSE(PngCreateBitmap(&loadedOnly, nullptr, PNG_FORMAT_DEFAULT, FALSE));
    EXPECT_EQ(loadedOnly.lastError, uint32_t(PNG_ERR_STATE));
    PngRelease(&loadedOnly);
}

TEST(PngWin32, FilesAreReadWhole) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(10));
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "pluvette-png-test.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), size);

    PngDecoder decoder;
    PngInit(&decoder);
    ASSERT_TRUE(PngLoadFile(&decoder, path.c_str()));
    EXPECT_EQ(decoder.sourceKind, uint32_t(PNG_SOURCE_FILE));
    ASSERT_TRUE(PngDecode(&decoder));
    const win32::Bitmap bitmap = PngCreateBitmap(&decoder, nullptr, PNG_FORMAT_DEFAULT, FALSE);
    PngRelease(&decoder);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(dibRow(bitmap.get(), 1, 8), bottomRowBgra); // the bitmap outlives the decoder
    DeleteFileA(path.c_str());

    EXPECT_FALSE(PngLoadFile(&decoder, path.c_str()));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_FILE));
    EXPECT_FALSE(PngLoadFile(&decoder, folder));
    EXPECT_EQ(decoder.lastError, uint32_t(PNG_ERR_FILE));
}

} // namespace
