#include "show/background.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

#include "pictures/area_scaler.h"
#include "win32/bitmap_size.h"
#include "win32/dib.h"

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

namespace {

// Whether a DIB section's rows run top first in memory. Windows does not say (GetObject gives
// the height as positive either way), so one pixel is drawn at the top through GDI and looked
// for in the first row in memory; the bytes it touched are put back.
bool rowsRunTopDown(HBITMAP picture, const DIBSECTION& dib) {
    auto* firstRow = static_cast<uint8_t*>(dib.dsBm.bmBits);
    uint8_t* lastRow = firstRow + ptrdiff_t(dib.dsBm.bmHeight - 1) * dib.dsBm.bmWidthBytes;
    const size_t bytes = dib.dsBm.bmBitsPixel / 8;
    uint8_t first[4] = {}, last[4] = {};
    std::memcpy(first, firstRow, bytes);
    std::memcpy(last, lastRow, bytes);
    {
        const win32::OwnedDc dc = win32::memoryDcFor(nullptr);
        const win32::Selection selected(dc.get(), picture);
        SetPixelV(dc.get(), 0, 0, RGB(first[2] ^ 0x80, first[1] ^ 0x80, first[0] ^ 0x80));
        GdiFlush();
    }
    const bool topDown = std::memcmp(first, firstRow, bytes) != 0;
    std::memcpy(firstRow, first, bytes);
    std::memcpy(lastRow, last, bytes);
    return topDown;
}

// A DIB section's pixels as the area scaler reads them; first is null for other bitmaps.
PixelRows rowsOf(HBITMAP picture) {
    DIBSECTION dib{};
    if (GetObjectA(picture, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBits == nullptr ||
        dib.dsBm.bmHeight <= 0 || (dib.dsBm.bmBitsPixel != 24 && dib.dsBm.bmBitsPixel != 32) ||
        (dib.dsBmih.biCompression != BI_RGB &&
         !(dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[0] == 0xFF0000 &&
           dib.dsBitfields[1] == 0xFF00 && dib.dsBitfields[2] == 0xFF))) {
        return {};
    }
    GdiFlush(); // drawing into the picture has reached its pixels
    const LONG height = dib.dsBm.bmHeight;
    const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
    auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const bool bottomUp = !rowsRunTopDown(picture, dib);
    return {bottomUp ? bits + (height - 1) * stride : bits, bottomUp ? -stride : stride,
            dib.dsBm.bmWidth, height, dib.dsBm.bmBitsPixel / 8};
}

bool drawRowsByArea(const PixelRows& rows, void* canvasBits, int32_t width, int32_t height,
                    const RECT& to, PictureWork work) {
    const RECT canvas{0, 0, width, height};
    RECT visible{};
    if (!canvasBits || !canScaleByArea(rows, to.right - to.left, to.bottom - to.top)) {
        return false;
    }
    if (!IntersectRect(&visible, &canvas, &to)) {
        return true; // nothing of it on the canvas
    }
    const ScaledArea area{static_cast<uint8_t*>(canvasBits) +
                              (ptrdiff_t(visible.top) * width + visible.left) * 4,
                          ptrdiff_t(width) * 4,
                          to.right - to.left,
                          to.bottom - to.top,
                          visible.left - to.left,
                          visible.top - to.top,
                          visible.right - to.left,
                          visible.bottom - to.top};
    const int threads = work == PictureWork::atOnce
                            ? int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u))
                            : 1;
    return scaleByArea(rows, area, threads, work.stop);
}

} // namespace

bool drawByAreaAveraging(HBITMAP picture, void* canvasBits, int32_t width, int32_t height,
                         const RECT& to, PictureWork work) {
    return drawRowsByArea(rowsOf(picture), canvasBits, width, height, to, work);
}

PlacedPicture placedPicture(HBITMAP picture, int32_t screenWidth, int32_t screenHeight,
                            const PicturePlacement& place) {
    if (!place.scaled && !place.stretch) {
        return {picture, {place.x, place.y}, win32::Bitmap()};
    }
    // Smaller each way: averaged by the program's own scaler onto a black canvas.
    const RECT to = place.scaled
                        ? RECT{place.x, place.y, place.x + place.width, place.y + place.height}
                        : RECT{0, 0, screenWidth, screenHeight};
    void* bits = nullptr;
    const PixelRows rows = rowsOf(picture);
    if (canScaleByArea(rows, to.right - to.left, to.bottom - to.top)) {
        win32::Bitmap canvas = win32::makeDibSection(
            nullptr, win32::dibDescription(screenWidth, -screenHeight, 32), bits);
        if (canvas &&
            drawRowsByArea(rows, bits, screenWidth, screenHeight, to, PictureWork::atOnce)) {
            HBITMAP shown = canvas.get();
            return {shown, {0, 0}, std::move(canvas)};
        }
    }
    win32::Bitmap made = place.scaled ? drawScaled(picture, screenWidth, screenHeight, place)
                                      : stretchBitmap(picture, static_cast<uint16_t>(screenWidth),
                                                      static_cast<uint16_t>(screenHeight));
    HBITMAP shown = made.get();
    return {shown, {0, 0}, std::move(made)};
}
