#include "pictures/screen_pictures.h"

#include <algorithm>
#include <new>
#include <utility>

#include "jpeg/jpeg_picture.h"
#include "pictures/area_scaler.h"
#include "pictures/exif_orientation.h"
#include "pictures/picture_header.h"
#include "png/png_win32.h"
#include "win32/dib.h"
#include "win32/path_limit.h"

win32::Bitmap loadPicture(const char* path, PictureWork work) {
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
    const int orientation = file.header.orientation;
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

ScreenPictures screenPicturesOf(PictureFileBytes& file, const std::vector<SIZE>& screens,
                                Placement placement, PictureWork work) {
    ScreenPictures shown;
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

ScreenPictures loadScreenPictures(const char* path, const std::vector<SIZE>& screens,
                                  Placement placement, PictureWork work) {
    if (!fitsPathLimit(path)) {
        return {};
    }
    try {
        PictureFileBytes file = readPictureFile(path, work.stop);
        return file ? screenPicturesOf(file, screens, placement, work) : ScreenPictures();
    } catch (const std::bad_alloc&) {
        return {}; // memory ran out on the way: the picture is skipped
    }
}
