#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <new>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "../jpeg/exif_marker.h"

#include "pictures/picture_decoder.h"
#include "pictures/picture_file.h"
#include "long_path.h"
#include "message_pump.h"
#include "show/picture_changer.h"
#include "pictures/screen_pictures.h"
#include "settings/setting_values.h"
#include "show/background.h"
#include "show/folder_pictures.h"
#include "pictures/placement.h"
#include "win32/bitmap_size.h"
#include "win32/dib.h"
#include "win32/handles.h"

// Allocations of exactly failingSize bytes made by threads other than the test's fail from
// the failFrom-th on (none while failFrom is 0), as when memory runs out on a worker.
std::atomic<size_t> failingSize{0};
std::atomic<int> failFrom{0};
std::atomic<int> seen{0};
std::atomic<DWORD> testThread{0};

// The replaced operators pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (size == failingSize && GetCurrentThreadId() != testThread && failFrom > 0 &&
        ++seen >= failFrom) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size != 0 ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}

namespace {

const std::string pictures = PLUVETTE_TEST_PICTURES;
std::string picture(const char* name) {
    return pictures + "\\" + name;
}

// A path in the temporary folder.
std::string inTemp(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

SIZE sizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    return {info.bmWidth, std::abs(info.bmHeight)};
}

// The bitmap's pixels as a 32-bit top-down copy, BGRA.
std::string pixelsOf(HBITMAP bitmap) {
    const SIZE size = sizeOf(bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::string pixels(size_t(size.cx) * size.cy * 4, '\0');
    GetDIBits(win32::WindowDc(nullptr).get(), bitmap, 0, UINT(size.cy), pixels.data(), &info,
              DIB_RGB_COLORS);
    return pixels;
}

// The colour at (x, y).
COLORREF colourAt(HBITMAP bitmap, int x, int y) {
    const std::string pixels = pixelsOf(bitmap);
    const auto* p =
        reinterpret_cast<const uint8_t*>(pixels.data()) + (size_t(y) * sizeOf(bitmap).cx + x) * 4;
    return RGB(p[2], p[1], p[0]);
}

void expectNear(COLORREF actual, COLORREF expected, int tolerance, const std::string& what) {
    EXPECT_NEAR(GetRValue(actual), GetRValue(expected), tolerance) << what;
    EXPECT_NEAR(GetGValue(actual), GetGValue(expected), tolerance) << what;
    EXPECT_NEAR(GetBValue(actual), GetBValue(expected), tolerance) << what;
}

// Every picture format the launcher offers loads with its size and colours: red, green, blue
// and white quarters.
TEST(Background, PictureFilesLoadWithTheirSizeAndColours) {
    for (const char* name : {"quad.png", "quad.jpg", "quad.gif", "quad.bmp"}) {
        const win32::Bitmap bitmap = loadPicture(picture(name).c_str());
        ASSERT_NE(bitmap.get(), nullptr) << name;
        const SIZE size = sizeOf(bitmap.get());
        EXPECT_EQ(size.cx, 32) << name;
        EXPECT_EQ(size.cy, 16) << name;
        const int tolerance = std::string(name).find(".jpg") != std::string::npos ? 24 : 0;
        expectNear(colourAt(bitmap.get(), 4, 4), RGB(255, 0, 0), tolerance, name);
        expectNear(colourAt(bitmap.get(), 27, 3), RGB(0, 255, 0), tolerance, name);
        expectNear(colourAt(bitmap.get(), 5, 12), RGB(0, 0, 255), tolerance, name);
        expectNear(colourAt(bitmap.get(), 28, 13), RGB(255, 255, 255), tolerance, name);
    }
}

// A picture at a path of the longest length the platform takes loads; a longer one is no
// picture, whatever the file system holds.
TEST(Background, PathsUpToThePlatformsLimitLoad) {
    for (const char* name : {"quad.png", "quad.bmp"}) {
        const std::string longest = pathOfLength(259, name);
        ASSERT_TRUE(CopyFileA(picture(name).c_str(), longest.c_str(), FALSE)) << longest;
        const win32::Bitmap bitmap = loadPicture(longest.c_str());
        EXPECT_NE(bitmap.get(), nullptr) << name;
        DeleteFileA(longest.c_str());
        RemoveDirectoryA(longest.substr(0, longest.rfind('\\')).c_str());
        EXPECT_EQ(loadPicture((longest + std::string(1000, 'x')).c_str()).get(), nullptr);
    }
}

TEST(Background, WhatIsNoBitmapGivesNull) {
    for (const char* name :
         {"empty.gif", "not-a-picture.jpg", "missing.bmp", "damaged.png", "missing.png"}) {
        EXPECT_EQ(loadPicture(picture(name).c_str()).get(), nullptr) << name;
    }
}

// The picture service gives an icon as no bitmap; the imaging component reads it.
TEST(Background, WhatThePictureServiceCannotReadGoesToTheImagingComponent) {
    PictureFileBytes file = readPictureFile(picture("icon.ico").c_str());
    ASSERT_TRUE(file);
    EXPECT_EQ(LoadPictureFromBytes(file).get(), nullptr);
    const win32::Bitmap icon = loadPicture(picture("icon.ico").c_str());
    ASSERT_NE(icon.get(), nullptr);
    const SIZE size = bitmapSize(icon.get());
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
}

TEST(Background, TheBytesChooseTheDecoder) {
    // A JPEG named .PNG and a bitmap without a dot load as what they are.
    const std::string jpegAsPng = inTemp("pluvette-test.PNG");
    const std::string withoutDot = inTemp("pluvette-test-bmp");
    CopyFileA(picture("quad.jpg").c_str(), jpegAsPng.c_str(), FALSE);
    CopyFileA(picture("quad.bmp").c_str(), withoutDot.c_str(), FALSE);
    EXPECT_NE(loadPicture(jpegAsPng.c_str()).get(), nullptr);
    const win32::Bitmap bitmap = loadPicture(withoutDot.c_str());
    EXPECT_NE(bitmap.get(), nullptr);
    DeleteFileA(jpegAsPng.c_str());
    DeleteFileA(withoutDot.c_str());

    PictureFileBytes file = readPictureFile(picture("quad.png").c_str());
    ASSERT_EQ(file.format, PictureFormat::png);
    const win32::Bitmap png = decodePictureFile(file);
    ASSERT_NE(png.get(), nullptr);
    DIBSECTION section{};
    EXPECT_EQ(GetObjectA(png.get(), sizeof(section), &section),
              int(sizeof(section))); // a DIB section
}

TEST(Background, StretchingMakesANewBitmapOfTheAskedSize) {
    const win32::Bitmap source = loadPicture(picture("quad.bmp").c_str());
    ASSERT_NE(source.get(), nullptr);
    const win32::Bitmap same = stretchBitmap(source.get(), 32, 16);
    ASSERT_NE(same.get(), nullptr);
    EXPECT_NE(same.get(), source.get());
    const win32::Bitmap wide = stretchBitmap(source.get(), 64, 8);
    ASSERT_NE(wide.get(), nullptr);
    EXPECT_EQ(sizeOf(wide.get()).cx, 64);
    EXPECT_EQ(sizeOf(wide.get()).cy, 8);
    expectNear(colourAt(wide.get(), 8, 2), RGB(255, 0, 0), 0, "stretched red");
    expectNear(colourAt(wide.get(), 60, 6), RGB(255, 255, 255), 0, "stretched white");
    expectNear(colourAt(source.get(), 4, 4), RGB(255, 0, 0), 0, "source kept");
}

TEST(Background, CaptureTakesTheWholeScreen) {
    const win32::Bitmap capture = captureScreen();
    ASSERT_NE(capture.get(), nullptr);
    EXPECT_EQ(sizeOf(capture.get()).cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(sizeOf(capture.get()).cy, GetSystemMetrics(SM_CYSCREEN));
    DIBSECTION section{};
    GetObjectA(capture.get(), sizeof(section), &section);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
}

// A photo-like picture (smooth shades, fine noise and a hard edge) as a DIB section of the
// given depth, rows top first or bottom first.
win32::Bitmap photoLike(LONG width, LONG height, WORD bits, bool bottomUp) {
    const BITMAPINFO info = win32::dibDescription(width, bottomUp ? height : -height, bits);
    void* pixels = nullptr;
    win32::Bitmap bitmap = win32::makeDibSection(nullptr, info, pixels);
    const LONG stride = (width * bits / 8 + 3) & ~3;
    uint32_t noise = 12345;
    for (LONG y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(pixels) + (bottomUp ? height - 1 - y : y) * stride;
        for (LONG x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = int(noise >> 27) - 16;
            const uint8_t values[4] = {uint8_t(std::clamp(int(x * 255 / width) + grain, 0, 255)),
                                       uint8_t(y * 255 / height), uint8_t(x < width / 3 ? 30 : 220),
                                       0};
            std::copy_n(values, bits / 8, row + x * (bits / 8));
        }
    }
    return bitmap;
}

// Pictures larger than the screen are averaged by the program's own scaler, onto the screen as
// the placement says, with the look of the platform's halftone stretch.
TEST(Background, LargePicturesAreAveragedLikeTheHalftoneStretch) {
    for (const char* fitscreen : {"yes", "fill", "fit"}) {
        for (WORD bits : {WORD(24), WORD(32)}) {
            const win32::Bitmap bottomUp = photoLike(640, 360, bits, true);
            const win32::Bitmap topDown = photoLike(640, 360, bits, false);
            const PicturePlacement place = placePicture(640, 360, 200, 150, placementOf(fitscreen));
            const PlacedPicture ours = placedPicture(bottomUp.get(), 200, 150, place);
            const PlacedPicture same = placedPicture(topDown.get(), 200, 150, place);
            const win32::Bitmap halftone =
                place.scaled ? drawScaled(topDown.get(), 200, 150, place) : win32::Bitmap();
            ASSERT_NE(ours.shown, nullptr);
            const std::string shown = pixelsOf(ours.shown);
            EXPECT_EQ(shown, pixelsOf(same.shown)) << fitscreen << ": rows read the wrong way";
            long long difference = 0;
            int furthest = 0;
            const std::string platform = halftone ? pixelsOf(halftone.get()) : shown;
            for (size_t i = 0; i < shown.size(); ++i) {
                if (i % 4 != 3) {
                    const int d = std::abs(int(uint8_t(shown[i])) - int(uint8_t(platform[i])));
                    difference += d;
                    furthest = std::max(furthest, d);
                }
            }
            std::printf("%s, %d bits: mean difference from halftone %.2f, largest %d\n", fitscreen,
                        bits, double(difference) / (200 * 150 * 3), furthest);
            EXPECT_LE(difference, 200 * 150 * 3 * 3) << fitscreen; // at most 3 levels on average
        }
    }
}

// A PNG file of noisy colours, its image data in stored deflate blocks (the decoder checks
// neither CRCs nor the Adler-32 sum, so they are left zero), in a picture file's block.
PictureFileBytes storedPng(uint32_t width, uint32_t height, uint8_t colourType, bool interlaced) {
    const uint32_t channels = colourType == 6 ? 4 : 3;
    std::string scanlines;
    uint32_t noise = 7;
    auto addRows = [&](uint32_t passWidth, uint32_t passHeight) {
        for (uint32_t y = 0; y < passHeight && passWidth > 0; ++y) {
            scanlines += '\0';
            for (uint32_t i = 0; i < passWidth * channels; ++i) {
                noise = noise * 1103515245u + 12345u;
                scanlines += char(noise >> 24);
            }
        }
    };
    if (!interlaced) {
        addRows(width, height);
    } else { // the seven passes' sizes
        const uint32_t starts[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
        const uint32_t steps[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
        for (int pass = 0; pass < 7; ++pass) {
            addRows((width + steps[pass][0] - 1 - starts[pass][0]) / steps[pass][0],
                    (height + steps[pass][1] - 1 - starts[pass][1]) / steps[pass][1]);
        }
    }
    std::string stream = "\x78\x01";
    for (size_t at = 0; at < scanlines.size(); at += 65535) {
        const size_t length = std::min<size_t>(65535, scanlines.size() - at);
        stream += char(at + length == scanlines.size() ? 1 : 0);
        stream += {char(length & 0xFF), char(length >> 8), char(~length & 0xFF),
                   char((~length >> 8) & 0xFF)};
        stream += scanlines.substr(at, length);
    }
    stream += std::string(4, '\0');
    auto bigEndian = [](uint32_t value) {
        return std::string{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    };
    auto chunk = [&](const char* kind, const std::string& data) {
        return bigEndian(uint32_t(data.size())) + kind + data + std::string(4, '\0');
    };
    const std::string file =
        "\x89PNG\r\n\x1a\n" +
        chunk("IHDR", bigEndian(width) + bigEndian(height) + char(8) + char(colourType) + char(0) +
                          char(0) + char(interlaced ? 1 : 0)) +
        chunk("IDAT", stream) + chunk("IEND", "");
    PictureFileBytes bytes;
    bytes.block = win32::GlobalMemory(GlobalAlloc(GMEM_FIXED, file.size()));
    std::memcpy(bytes.block.get(), file.data(), file.size());
    bytes.length = DWORD(file.size());
    bytes.format = PictureFormat::png;
    readPictureDimensions(bytes.data(), bytes.length, bytes.header);
    return bytes;
}

// A large PNG shown smaller is scaled for each monitor as its rows are decoded, to the pixels
// placing the whole decoded picture gives, on both cores or on one; a folder's canvas too.
// Interlaced, or centred at its own size on a larger monitor, it is decoded whole.
TEST(Background, LargePngsAreScaledAsTheyAreDecoded) {
    const std::vector<SIZE> screens = {{200, 150}, {120, 160}};
    const std::string path = testing::TempDir() + "large.png";
    for (uint8_t colourType : {uint8_t(2), uint8_t(6)}) {
        for (const char* fitscreen : {"yes", "fill", "fit"}) {
            for (PictureWork work : {PictureWork::atOnce, PictureWork::besideTheWater}) {
                PictureFileBytes file = storedPng(640, 360, colourType, false);
                const ScreenPictures shown =
                    screenPicturesOf(file, screens, placementOf(fitscreen), work);
                ASSERT_TRUE(shown.placed) << fitscreen;
                ASSERT_EQ(shown.pictures.size(), screens.size());
                PictureFileBytes again = storedPng(640, 360, colourType, false);
                const win32::Bitmap whole = decodePictureFile(again);
                for (size_t i = 0; i < screens.size(); ++i) {
                    const PlacedPicture placed =
                        placedPicture(whole.get(), screens[i].cx, screens[i].cy,
                                      placePicture(640, 360, screens[i].cx, screens[i].cy,
                                                   placementOf(fitscreen)));
                    EXPECT_EQ(pixelsOf(shown.pictures[i].get()), pixelsOf(placed.shown))
                        << fitscreen << ", colour type " << int(colourType) << ", monitor " << i;
                }
                std::FILE* out = std::fopen(path.c_str(), "wb");
                ASSERT_NE(out, nullptr);
                std::fwrite(again.data(), 1, again.length, out);
                std::fclose(out);
                EXPECT_EQ(
                    canvasOfFile(path, 200, 150, placementOf(fitscreen), work).pixels(),
                    pictureOnCanvas(whole.get(), 200, 150, placementOf(fitscreen), work).pixels())
                    << fitscreen;
            }
        }
    }
    std::remove(path.c_str());
    PictureFileBytes interlaced = storedPng(640, 360, 2, true);
    EXPECT_FALSE(screenPicturesOf(interlaced, screens, Placement::fill).placed);
    PictureFileBytes centred = storedPng(100, 80, 2, false); // smaller than the monitors
    const ScreenPictures atOwnSize = screenPicturesOf(centred, screens, Placement::centre);
    ASSERT_EQ(atOwnSize.pictures.size(), 1u);
    EXPECT_FALSE(atOwnSize.placed);
    EXPECT_EQ(sizeOf(atOwnSize.pictures.front().get()).cx, 100);
}

// quad.jpg (32 x 16) with an EXIF orientation of 6, so that it is turned on the way.
std::string sidewaysJpeg() {
    std::ifstream in(picture("quad.jpg"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const unsigned char exif[] = {
        0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
        1,    0,    0x12, 0x01, 3,   0,   1,   0,   0, 0, 6,   0,   0,    0, 0, 0, 0, 0};
    return bytes.insert(2, reinterpret_cast<const char*>(exif), sizeof(exif));
}

// A file just picked is judged as a show judges it: a JPEG whose form libjpeg-turbo leaves to
// the platform (12-bit) is refused when picked exactly when a show could not show it.
TEST(Background, PickedAndShownDecideAlike) {
    for (const std::string& path :
         {std::string(PLUVETTE_JPEG_TEST_IMAGES) + "\\testorig12.jpg",
          std::string(PLUVETTE_JPEG_TEST_IMAGES) + "\\testorig.jpg", picture("quad.jpg")}) {
        EXPECT_EQ(pictureCanBeShown(path.c_str()), loadPicture(path.c_str()).get() != nullptr)
            << path;
    }
    EXPECT_TRUE(pictureCanBeShown(picture("quad.jpg").c_str()));
}

// A JPEG whose one scan is repeated 20,000 times is within the pixel budget, but no decoder
// should go over it that often: refused when picked and when shown, before any decoder sees it.
TEST(Background, AJpegOfTooManyScansIsRefused) {
    std::ifstream in(picture("quad.jpg"), std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t scan = jpeg.find("\xFF\xDA");
    const size_t end = jpeg.rfind("\xFF\xD9");
    ASSERT_NE(scan, std::string::npos);
    std::string scans = jpeg.substr(0, scan);
    for (int i = 0; i < 20000; ++i) {
        scans += jpeg.substr(scan, end - scan);
    }
    scans += "\xFF\xD9";
    const std::string path = inTemp("pluvette-scans.jpg");
    std::ofstream(path, std::ios::binary) << scans;
    EXPECT_FALSE(looksLikeShowablePicture(path.c_str()));
    EXPECT_EQ(loadPicture(path.c_str()).get(), nullptr);
    std::ofstream(path, std::ios::binary) << jpeg; // one scan: shown
    EXPECT_TRUE(looksLikeShowablePicture(path.c_str()));
    EXPECT_NE(loadPicture(path.c_str()).get(), nullptr);
    DeleteFileA(path.c_str());
}

// Red, green, blue and white quarters, upright.
uint32_t quarterAt(int x, int y, int width, int height) {
    static const uint32_t colours[] = {0xE02020, 0x20C020, 0x2040E0, 0xF0F0F0};
    return colours[(x * 2 / width) + 2 * (y * 2 / height)];
}

// Where the pixel stored at (x, y) of a picture stored storedWidth x storedHeight stands once
// the EXIF orientation has turned it upright.
POINT uprightOf(int x, int y, int storedWidth, int storedHeight, int orientation) {
    switch (orientation) {
    case 2:
        return {storedWidth - 1 - x, y};
    case 3:
        return {storedWidth - 1 - x, storedHeight - 1 - y};
    case 4:
        return {x, storedHeight - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {storedHeight - 1 - y, x};
    case 7:
        return {storedHeight - 1 - y, storedWidth - 1 - x};
    case 8:
        return {y, storedWidth - 1 - x};
    default:
        return {x, y};
    }
}

// The quarters as a JPEG of width x height stored as the EXIF orientation (1 to 8) stands
// upright again, as phones and cameras write them.
PictureFileBytes quartersJpeg(int width, int height, int orientation) {
    const bool sideways = orientation >= 5;
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &bytes, &size);
    const int storedWidth = sideways ? height : width, storedHeight = sideways ? width : height;
    encoder.image_width = JDIMENSION(storedWidth);
    encoder.image_height = JDIMENSION(storedHeight);
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 95, TRUE);
    jpeg_start_compress(&encoder, TRUE);
    if (orientation != 1) {
        writeExifOrientation(&encoder, orientation);
    }
    std::vector<uint8_t> row(size_t(storedWidth) * 3);
    for (int y = 0; y < storedHeight; ++y) {
        for (int x = 0; x < storedWidth; ++x) {
            const POINT at = uprightOf(x, y, storedWidth, storedHeight, orientation);
            const uint32_t colour = quarterAt(at.x, at.y, width, height);
            row[size_t(x) * 3] = uint8_t(colour >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(colour >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(colour);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    PictureFileBytes file;
    file.block = win32::GlobalMemory(GlobalAlloc(GMEM_FIXED, size));
    std::memcpy(file.block.get(), bytes, size);
    file.length = DWORD(size);
    file.format = PictureFormat::jpeg;
    readPictureDimensions(file.data(), file.length, file.header);
    std::free(bytes);
    return file;
}

// The mean difference of the channels of two pictures of one size.
double meanDifference(const std::string& a, const std::string& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        sum += (i % 4 == 3) ? 0 : std::abs(int(uint8_t(a[i])) - int(uint8_t(b[i])));
    }
    return sum / double(a.size() / 4 * 3);
}

// A JPEG photo shown smaller is decoded at the scale that covers each monitor, upright first
// when it is stored turned, and brought to each monitor as placing the whole picture does,
// within the small differences of the smaller decode.
TEST(Background, JpegsAreDecodedAtTheSizeTheyAreShown) {
    const std::vector<SIZE> screens = {{200, 150}, {120, 160}};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (const char* fitscreen : {"yes", "fill", "fit"}) {
            PictureFileBytes file = quartersJpeg(640, 360, orientation);
            const ScreenPictures shown = screenPicturesOf(file, screens, placementOf(fitscreen));
            ASSERT_TRUE(shown.placed) << fitscreen;
            ASSERT_EQ(shown.pictures.size(), screens.size());
            PictureFileBytes again = quartersJpeg(640, 360, orientation);
            const win32::Bitmap whole = decodePictureFile(again);
            ASSERT_EQ(sizeOf(whole.get()).cx, 640);
            for (size_t i = 0; i < screens.size(); ++i) {
                const PlacedPicture placed = placedPicture(
                    whole.get(), screens[i].cx, screens[i].cy,
                    placePicture(640, 360, screens[i].cx, screens[i].cy, placementOf(fitscreen)));
                EXPECT_LT(meanDifference(pixelsOf(shown.pictures[i].get()), pixelsOf(placed.shown)),
                          3.0)
                    << fitscreen << ", orientation " << orientation << ", monitor " << i;
            }
        }
    }
}

// A photo whose data turns to noise after its first third, or that ends there, is refused
// when picked and when shown: not a grey screen with a strip of the photo along its top.
TEST(Background, AJpegWithCorruptOrMissingDataIsRefused) {
    const PictureFileBytes photo = quartersJpeg(640, 360, 1);
    const std::string bytes(reinterpret_cast<const char*>(photo.data()), photo.length);
    std::string noisy = bytes;
    uint32_t seed = 7;
    for (size_t i = noisy.size() / 3; i + 2 < noisy.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        noisy[i] = char(seed >> 16);
    }
    const std::string path = inTemp("pluvette-damaged.jpg");
    for (const std::string& damaged : {noisy, bytes.substr(0, bytes.size() / 3)}) {
        std::ofstream(path, std::ios::binary) << damaged;
        EXPECT_FALSE(looksLikeShowablePicture(path.c_str()));
        EXPECT_TRUE(loadScreenPictures(path.c_str(), {SIZE{200, 150}}, Placement::stretch)
                        .pictures.empty());
    }
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_TRUE(looksLikeShowablePicture(path.c_str()));
    EXPECT_FALSE(
        loadScreenPictures(path.c_str(), {SIZE{200, 150}}, Placement::stretch).pictures.empty());
    DeleteFileA(path.c_str());
}

// Memory that runs out while the folder's worker turns a photo skips the photo; the process
// goes on, and the same photo is shown once memory is there.
TEST(Background, AnAllocationThatFailsOnTheFolderWorkerSkipsThePicture) {
    const std::string folder = inTemp("pluvette-memory-test");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string photo = folder + "\\sideways.jpg";
    std::ofstream(photo, std::ios::binary) << sidewaysJpeg();
    const win32::Bitmap upright = loadPicture(photo.c_str());
    ASSERT_NE(upright.get(), nullptr);
    EXPECT_EQ(sizeOf(upright.get()).cx, 16);
    EXPECT_EQ(sizeOf(upright.get()).cy, 32);
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    // The next hand of a new show's changer, from its worker.
    const auto nextHand = [&] {
        PictureChanger changer(folder, {SIZE{64, 48}}, Placement::stretch);
        changer.awaitNextHand(window, WM_APP);
        EXPECT_FALSE(changer.handWhenDue()); // due; the worker's message not come yet
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_APP) {
            DispatchMessageA(&message);
        }
        EXPECT_FALSE(changer.handWhenReady(message.wParam + 1)); // another changer's
        return changer.handWhenReady(message.wParam).value_or(PictureChanger::Hand());
    };
    testThread = GetCurrentThreadId();
    failingSize = 32 * 16 * 4; // the photo's pixels: stored, then turned
    seen = 0;
    failFrom = 2;
    const std::vector<std::vector<uint32_t>> starved = nextHand();
    failFrom = 0;
    EXPECT_GE(seen, 2);
    ASSERT_EQ(starved.size(), 1u);
    EXPECT_TRUE(starved[0].empty());
    const std::vector<std::vector<uint32_t>> fed = nextHand();
    ASSERT_EQ(fed.size(), 1u);
    EXPECT_FALSE(fed[0].empty());
    DestroyWindow(window);
    DeleteFileA(photo.c_str());
    RemoveDirectoryA(folder.c_str());
}

// The threads of this process.
size_t threadsOfThisProcess() {
    const win32::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    size_t threads = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    return threads;
}

// Shows that end while their folder's worker decodes a large picture (Launch, then Escape at
// once, fifteen times) leave no worker behind: each asks its worker to stop as it goes,
// which then ends within a few rows, and no message of theirs comes afterwards.
TEST(Background, AChangerStopsItsWorkerWhenItGoes) {
    const std::string folder = inTemp("pluvette-worker-test");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\large.png";
    {
        const PictureFileBytes large = storedPng(3000, 3000, 6, true);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(large.data()), large.length);
    }
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    const size_t threadsBefore = threadsOfThisProcess();
    for (int show = 0; show < 15; ++show) {
        PictureChanger changer(folder, {SIZE{640, 360}}, Placement::fill);
        changer.awaitNextHand(window, WM_APP);
        Sleep(30); // the worker reads and decodes
    }
    // Each was asked to stop and ends on its own within a few rows, the show not waiting.
    for (int wait = 0; wait < 100 && threadsOfThisProcess() != threadsBefore; ++wait) {
        Sleep(20);
    }
    EXPECT_EQ(threadsOfThisProcess(), threadsBefore);
    // A changer left alone lets its worker finish the hand.
    PictureChanger changer(folder, {SIZE{640, 360}}, Placement::fill);
    changer.awaitNextHand(window, WM_APP);
    changer.handWhenDue();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_APP) {
        DispatchMessageA(&message);
    }
    // None came from the changers gone: the first message is this one's.
    const std::optional<PictureChanger::Hand> hand = changer.handWhenReady(message.wParam);
    ASSERT_TRUE(hand);
    ASSERT_EQ(hand->size(), 1u);
    EXPECT_FALSE((*hand)[0].empty());
    DestroyWindow(window);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace
