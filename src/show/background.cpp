#include "show/background.h"

#include <utility>

#include "imaging/exif_orientation.h"
#include "imaging/picture_file.h"
#include "imaging/wic_picture.h"
#include "imaging/picture_header.h"
#include "imaging/png_win32.h"
#include "show/path_limit.h"
#include "win32/bitmap_size.h"
#include "win32/dib.h"
#include "text/text.h"

win32::Bitmap captureScreen(const RECT& area) {
    // The screen's device context, whose coordinates are the virtual screen's, the primary
    // monitor's corner at 0, 0. (Wine's "DISPLAY" context puts the virtual screen's own
    // corner there instead, which differs when a monitor lies left of or above the primary.)
    const win32::WindowDc display(nullptr);
    const win32::OwnedDc memory = win32::memoryDcFor(display.get());
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    void* bits = nullptr;
    win32::Bitmap capture =
        win32::makeDibSection(display.get(), win32::dibDescription(width, height, 24), bits);
    if (capture) {
        const win32::Selection selected(memory.get(), capture.get());
        BitBlt(memory.get(), 0, 0, width, height, display.get(), area.left, area.top, SRCCOPY);
    }
    return capture;
}

win32::Bitmap captureScreen() {
    return captureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

win32::Bitmap stretchBitmap(HBITMAP source, uint16_t width, uint16_t height) {
    BITMAP size{};
    if (GetObjectA(source, sizeof(size), &size) == 0) {
        return win32::Bitmap();
    }
    win32::Bitmap target(CreateCompatibleBitmap(win32::WindowDc(nullptr).get(), width, height));
    if (!target) {
        return target;
    }
    const win32::OwnedDc from = win32::memoryDcFor(nullptr);
    const win32::OwnedDc to = win32::memoryDcFor(nullptr);
    const win32::Selection fromSelected(from.get(), source);
    const win32::Selection toSelected(to.get(), target.get());
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    return target;
}

win32::Bitmap drawScaled(HBITMAP source, int32_t screenWidth, int32_t screenHeight,
                         const PicturePlacement& place) {
    const SIZE size = bitmapSize(source);
    win32::Bitmap target(
        CreateCompatibleBitmap(win32::WindowDc(nullptr).get(), screenWidth, screenHeight));
    if (!target || size.cx <= 0 || size.cy <= 0) {
        return win32::Bitmap();
    }
    const win32::OwnedDc from = win32::memoryDcFor(nullptr);
    const win32::OwnedDc to = win32::memoryDcFor(nullptr);
    const win32::Selection fromSelected(from.get(), source);
    const win32::Selection toSelected(to.get(), target.get());
    const RECT all{0, 0, screenWidth, screenHeight};
    FillRect(to.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); // the bars
    // Averaging, so that a photo many times the screen's size does not shimmer; the brush
    // origin must be set after the mode.
    SetStretchBltMode(to.get(), HALFTONE);
    SetBrushOrgEx(to.get(), 0, 0, nullptr);
    StretchBlt(to.get(), place.x, place.y, place.width, place.height, from.get(), 0, 0, size.cx,
               size.cy, SRCCOPY);
    return target;
}

PlacedPicture placedPicture(HBITMAP picture, int32_t screenWidth, int32_t screenHeight,
                            const PicturePlacement& place) {
    if (!place.scaled && !place.stretch) {
        return {picture, {place.x, place.y}, win32::Bitmap()};
    }
    win32::Bitmap made = place.scaled ? drawScaled(picture, screenWidth, screenHeight, place)
                                      : stretchBitmap(picture, static_cast<uint16_t>(screenWidth),
                                                      static_cast<uint16_t>(screenHeight));
    HBITMAP shown = made.get();
    return {shown, {0, 0}, std::move(made)};
}

namespace {

win32::Bitmap decodePng(const uint8_t* data, DWORD length) {
    OwnedPngDecoder decoder;
    if (!PngLoadMemory(decoder.get(), data, length) ||
        !fitsPictureBudget(decoder->width, decoder->height) || !PngDecode(decoder.get())) {
        return win32::Bitmap();
    }
    decoder->overBlack = true; // transparent parts show black, as the margins do
    return PngCreateBitmap(decoder.get(), nullptr, PNG_FORMAT_DEFAULT, FALSE);
}

} // namespace

win32::Bitmap loadPngBitmap(const char* path) {
    const PictureFileBytes file = readPictureFile(path);
    return file.format == PictureFormat::png ? decodePng(file.data(), file.length)
                                             : win32::Bitmap();
}

namespace {

// A picture file through the decoder its bytes name. Every image the file declares is within
// the budget before any decoder sees it: a PNG goes to the program's own decoder, any other
// file to decodeOther. The file's bytes are freed as soon as the picture is decoded.
template <typename DecodeOther>
win32::Bitmap loadPicture(const char* path, DecodeOther decodeOther) {
    if (!fitsPathLimit(path)) {
        return win32::Bitmap();
    }
    PictureFileBytes file = readPictureFile(path);
    if (!file) {
        return win32::Bitmap();
    }
    if (file.format == PictureFormat::png) {
        return decodePng(file.data(), file.length);
    }
    return decodeOther(file);
}

} // namespace

win32::Bitmap loadBackground(const char* path) {
    // JPEG, GIF and BMP the picture service; the rest, and what the service cannot read, the
    // imaging component.
    return loadPicture(path, [](PictureFileBytes& file) {
        // Transparent parts show black, whichever decoder reads them. The picture service's
        // bitmap does not say which parts are transparent; the imaging component composes
        // them over black, so GIF and bitmap files that have such parts go to it first.
        if (declaresTransparency(file.data(), file.length)) {
            if (win32::Bitmap composed =
                    LoadPictureWithImagingComponent(file.data(), file.length)) {
                return composed;
            }
        }
        win32::Bitmap picture = LoadPictureFromBytes(file);
        return picture ? std::move(picture)
                       : LoadPictureWithImagingComponent(file.data(), file.length);
    });
}

win32::Bitmap loadBackgroundInWorker(const char* path) {
    return loadPicture(path, [](PictureFileBytes& file) {
        const int orientation =
            file.format == PictureFormat::jpeg ? jpegOrientation(file.data(), file.length) : 1;
        win32::Bitmap picture =
            LoadPictureWithImagingComponent(file.data(), file.length, orientation);
        return picture ? std::move(picture) : LoadPictureFromBytes(file);
    });
}
