#include "show/background.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <utility>

#include "jpeg/jpeg_picture.h"
#include "pictures/area_scaler.h"
#include "pictures/exif_orientation.h"
#include "pictures/picture_file.h"
#include "pictures/wic_picture.h"
#include "pictures/picture_header.h"
#include "png/png_pixels.h"
#include "png/png_win32.h"
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

win32::Bitmap loadBackground(const char* path, PictureWork work) {
    if (!fitsPathLimit(path)) {
        return win32::Bitmap();
    }
    PictureFileBytes file = readPictureFile(path, work.stop);
    return file ? decodePictureFile(file, work) : win32::Bitmap();
}

namespace {

// The monitors' canvases and the scalers that draw on them as the rows come.
struct ScaledCanvases {
    std::vector<win32::Bitmap> canvases;
    std::vector<AreaScalerByRows> scalers;
};

void scaleRow(void* context, uint32_t, const uint8_t* row) {
    for (AreaScalerByRows& scaler : static_cast<ScaledCanvases*>(context)->scalers) {
        scaler.addRow(row);
    }
}

// Where each monitor shows a picture of width x height under the placement: the rectangle it
// is drawn into, which may reach off the monitor; nothing when a monitor shows it at its own
// size.
std::vector<RECT> scaledTargets(int32_t width, int32_t height, const std::vector<SIZE>& screens,
                                Placement placement) {
    std::vector<RECT> targets;
    for (const SIZE& screen : screens) {
        const PicturePlacement place = placePicture(width, height, screen.cx, screen.cy, placement);
        if (!place.scaled && !place.stretch) {
            return {};
        }
        targets.push_back(
            place.scaled ? RECT{place.x, place.y, place.x + place.width, place.y + place.height}
                         : RECT{0, 0, screen.cx, screen.cy});
    }
    return targets;
}

// Whether every target is no larger than width x height and not empty.
bool allScaledDown(const std::vector<RECT>& targets, int32_t width, int32_t height) {
    return !targets.empty() && std::all_of(targets.begin(), targets.end(), [&](const RECT& to) {
        return to.right > to.left && to.bottom > to.top && to.right - to.left <= width &&
               to.bottom - to.top <= height;
    });
}

// A canvas of each monitor's size and a scaler that draws the picture's rows (width x height,
// bytesPerPixel) into its target on it as they come; false when one cannot be had.
bool startScaledCanvases(ScaledCanvases& scaled, int32_t width, int32_t height,
                         int32_t bytesPerPixel, const std::vector<SIZE>& screens,
                         const std::vector<RECT>& targets) {
    scaled.scalers.reserve(screens.size());
    for (size_t i = 0; i < screens.size(); ++i) {
        void* bits = nullptr;
        scaled.canvases.push_back(win32::makeDibSection(
            nullptr, win32::dibDescription(screens[i].cx, -screens[i].cy, 32), bits));
        const RECT canvas{0, 0, screens[i].cx, screens[i].cy};
        const RECT& to = targets[i];
        RECT visible{};
        if (!scaled.canvases.back() || !IntersectRect(&visible, &canvas, &to) ||
            to.right - to.left > width || to.bottom - to.top > height) {
            return false;
        }
        scaled.scalers.emplace_back(
            width, height, bytesPerPixel,
            ScaledArea{static_cast<uint8_t*>(bits) +
                           (ptrdiff_t(visible.top) * screens[i].cx + visible.left) * 4,
                       ptrdiff_t(screens[i].cx) * 4, to.right - to.left, to.bottom - to.top,
                       visible.left - to.left, visible.top - to.top, visible.right - to.left,
                       visible.bottom - to.top});
        if (!scaled.scalers.back().ready()) {
            return false;
        }
    }
    return true;
}

// A PNG's rows scaled for every monitor as they are decoded; nothing when the picture is not
// one that every monitor shows scaled down, or cannot be decoded.
std::vector<win32::Bitmap> pngScaledWhileDecoding(const PictureFileBytes& file,
                                                  const std::vector<SIZE>& screens,
                                                  Placement placement, PictureWork work) {
    OwnedPngDecoder decoder;
    decoder->stop = work.stop;
    PngBitmapInfo info;
    uint32_t descriptor = 0;
    if (!PngLoadMemory(decoder.get(), file.data(), file.length) ||
        !fitsPictureBudget(decoder->width, decoder->height) || decoder->interlace != 0) {
        return {};
    }
    PngFillBitmapInfo(decoder.get(), &info, &descriptor);
    const auto width = static_cast<int32_t>(decoder->width);
    const auto height = static_cast<int32_t>(decoder->height);
    const int32_t bytesPerPixel = info.header.biBitCount / 8;
    if (bytesPerPixel != 3 && bytesPerPixel != 4) {
        return {};
    }
    const std::vector<RECT> targets = scaledTargets(width, height, screens, placement);
    if (!allScaledDown(targets, width, height)) {
        return {}; // shown at its own size, or enlarged: placed from the whole picture
    }
    ScaledCanvases scaled;
    if (!startScaledCanvases(scaled, width, height, bytesPerPixel, screens, targets)) {
        return {};
    }
    decoder->overBlack = true; // transparent parts show black, as the margins do
    // With both cores, the rows are converted and scaled while the stream is inflated on the
    // other; on one, after it is inflated.
    if (!(work == PictureWork::atOnce ? PngDecodeConcurrently : PngDecode)(decoder.get()) ||
        !PngConvertRowsTo(decoder.get(), descriptor, scaleRow, &scaled)) {
        return {};
    }
    return std::move(scaled.canvases);
}

// Where a rectangle of an upright canvas of width x height lies on the same canvas as a photo
// of that EXIF orientation is stored (turned back, and its sides swapped where it turns
// sideways).
RECT rectAsStored(const RECT& upright, LONG width, LONG height, int orientation) {
    const bool sideways = orientationSwapsSides(orientation);
    const LONG storedWidth = sideways ? height : width, storedHeight = sideways ? width : height;
    const RECT& r = upright;
    switch (orientation) {
    case 2: // mirrored left to right
        return {storedWidth - r.right, r.top, storedWidth - r.left, r.bottom};
    case 3: // turned half a turn
        return {storedWidth - r.right, storedHeight - r.bottom, storedWidth - r.left,
                storedHeight - r.top};
    case 4: // mirrored top to bottom
        return {r.left, storedHeight - r.bottom, r.right, storedHeight - r.top};
    case 5: // mirrored across the diagonal
        return {r.top, r.left, r.bottom, r.right};
    case 6: // stored a quarter turn anticlockwise
        return {r.top, storedHeight - r.right, r.bottom, storedHeight - r.left};
    case 7: // mirrored across the other diagonal
        return {storedWidth - r.bottom, storedHeight - r.right, storedWidth - r.top,
                storedHeight - r.left};
    case 8: // stored a quarter turn clockwise
        return {storedWidth - r.bottom, r.left, storedWidth - r.top, r.right};
    default:
        return r;
    }
}

// A JPEG decoded at the fewest eighths that cover what every monitor shows of it and brought
// to each monitor's canvas by the area scaler row by row as it is decoded, so that it is
// never whole in memory. A photo stored turned is scaled onto canvases turned as it is
// stored, which are then turned upright: area averaging gives the same pixels either way, and
// only the monitors' canvases are ever turned. Nothing when a monitor shows it at its own
// size or enlarged (it is then placed from the whole picture), or when libjpeg-turbo leaves
// its form to the platform; failed when it cannot be decoded at all.
std::vector<win32::Bitmap> jpegScaledForScreens(PictureFileBytes& file,
                                                const std::vector<SIZE>& screens,
                                                Placement placement, PictureWork work,
                                                bool& failed) {
    SIZE upright{};
    if (!uprightJpegSize(file, upright)) {
        return {};
    }
    const std::vector<RECT> targets = scaledTargets(upright.cx, upright.cy, screens, placement);
    if (!allScaledDown(targets, upright.cx, upright.cy)) {
        return {};
    }
    const int orientation = jpegOrientation(file.data(), file.length);
    const bool sideways = orientationSwapsSides(orientation);
    SIZE covering{};
    std::vector<SIZE> storedScreens;
    std::vector<RECT> storedTargets;
    for (size_t i = 0; i < screens.size(); ++i) {
        const RECT& to = targets[i];
        covering.cx = std::max(covering.cx, sideways ? to.bottom - to.top : to.right - to.left);
        covering.cy = std::max(covering.cy, sideways ? to.right - to.left : to.bottom - to.top);
        storedScreens.push_back(sideways ? SIZE{screens[i].cy, screens[i].cx} : screens[i]);
        storedTargets.push_back(rectAsStored(to, screens[i].cx, screens[i].cy, orientation));
    }
    const SIZE stored = sideways ? SIZE{upright.cy, upright.cx} : upright;
    ScaledCanvases scaled;
    const auto start = [&](uint32_t width, uint32_t height) noexcept {
        try {
            return startScaledCanvases(scaled, int32_t(width), int32_t(height), 4, storedScreens,
                                       storedTargets);
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
    const auto addRow = [&](const uint32_t* row) noexcept {
        scaleRow(&scaled, 0, reinterpret_cast<const uint8_t*>(row));
    };
    const JpegOutcome outcome =
        decodeJpegRows(file.data(), file.length,
                       jpegCoveringEighths(uint32_t(stored.cx), uint32_t(stored.cy),
                                           uint32_t(covering.cx), uint32_t(covering.cy)),
                       maxJpegDecoderBytes, start, addRow, work.stop);
    failed = outcome != jpegDone && outcome != jpegUnsupported;
    if (outcome != jpegDone) {
        return {};
    }
    if (orientation <= 1 || orientation > 8) {
        return std::move(scaled.canvases);
    }
    std::vector<win32::Bitmap> canvases;
    for (size_t i = 0; i < scaled.canvases.size(); ++i) {
        void* bits = nullptr;
        BITMAP canvas{};
        GetObjectA(scaled.canvases[i].get(), sizeof(canvas), &canvas);
        canvases.push_back(win32::makeDibSection(
            nullptr, win32::dibDescription(screens[i].cx, -screens[i].cy, 32), bits));
        if (!canvases.back() || canvas.bmBits == nullptr) {
            failed = true;
            return {};
        }
        orientPixelsInto(static_cast<const uint32_t*>(canvas.bmBits), uint32_t(storedScreens[i].cx),
                         uint32_t(storedScreens[i].cy), orientation, static_cast<uint32_t*>(bits));
        scaled.canvases[i] = win32::Bitmap(); // each stored canvas goes once it is turned
    }
    return canvases;
}

} // namespace

ShowPictures showPicturesOf(PictureFileBytes& file, const std::vector<SIZE>& screens,
                            Placement placement, PictureWork work) {
    ShowPictures shown;
    bool failed = false;
    if (file.format == PictureFormat::png) {
        shown.pictures = pngScaledWhileDecoding(file, screens, placement, work);
    } else if (file.format == PictureFormat::jpeg) {
        shown.pictures = jpegScaledForScreens(file, screens, placement, work, failed);
    }
    shown.placed = !shown.pictures.empty();
    if (!shown.placed && !failed) {
        if (win32::Bitmap picture = decodePictureFile(file, work)) {
            shown.pictures.push_back(std::move(picture));
        }
    }
    return shown;
}

ShowPictures loadShowPictures(const char* path, const std::vector<SIZE>& screens,
                              Placement placement, PictureWork work) {
    if (!fitsPathLimit(path)) {
        return {};
    }
    try {
        PictureFileBytes file = readPictureFile(path, work.stop);
        return file ? showPicturesOf(file, screens, placement, work) : ShowPictures();
    } catch (const std::bad_alloc&) {
        return {}; // memory ran out on the way: the picture is skipped
    }
}
