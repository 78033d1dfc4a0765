#include "wallpaper/wallpaper_pictures.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "desktop/desktop_wallpaper.h"
#include "pictures/screen_pictures.h"
#include "show/background.h"
#include "show/folder_pictures.h"
#include "show/monitors.h"
#include "win32/handles.h"

namespace {

Placement placementOfFit(WallpaperFit fit) {
    switch (fit) {
    case WallpaperFit::centre:
    case WallpaperFit::tile:
        return Placement::centre;
    case WallpaperFit::stretch:
        return Placement::stretch;
    case WallpaperFit::fit:
        return Placement::fit;
    case WallpaperFit::fill:
    case WallpaperFit::span:
        break;
    }
    return Placement::fill;
}

// A monitor's worth of one colour, as the water's source holds pixels.
std::vector<uint32_t> plainPicture(SIZE size, COLORREF colour) {
    const uint32_t pixel = (uint32_t(GetRValue(colour)) << 16) |
                           (uint32_t(GetGValue(colour)) << 8) | GetBValue(colour);
    return std::vector<uint32_t>(size_t(size.cx) * size_t(size.cy), pixel);
}

// The part of a canvas of the monitors' bounding box that one monitor shows.
std::vector<uint32_t> partOf(const Canvas& box, const RECT& bounds, const RECT& monitor) {
    const size_t width = size_t(monitor.right - monitor.left);
    std::vector<uint32_t> part(width * size_t(monitor.bottom - monitor.top));
    for (LONG y = monitor.top; y < monitor.bottom; ++y) {
        const uint32_t* row = box.bits + size_t(y - bounds.top) * size_t(box.width) +
                              size_t(monitor.left - bounds.left);
        uint32_t* to = part.data() + size_t(y - monitor.top) * width;
        std::transform(row, row + width, to, [](uint32_t pixel) { return pixel & 0xFFFFFFu; });
    }
    return part;
}

// A picture's pixels, rows top first; none when it cannot be read.
std::vector<uint32_t> pixelsOf(HBITMAP picture, SIZE& size) {
    BITMAP shape{};
    if (GetObjectW(picture, sizeof(shape), &shape) == 0 || shape.bmWidth <= 0 ||
        shape.bmHeight <= 0) {
        return {};
    }
    size = {shape.bmWidth, shape.bmHeight};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(size_t(size.cx) * size_t(size.cy));
    const win32::OwnedDc dc = win32::memoryDcFor(nullptr);
    if (GetDIBits(dc.get(), picture, 0, UINT(size.cy), pixels.data(), &info, DIB_RGB_COLORS) !=
        size.cy) {
        return {};
    }
    return pixels;
}

// The picture tiled over a monitor as the desktop tiles it: from the primary monitor's
// top-left corner, the origin of the virtual screen, in every direction.
std::vector<uint32_t> tiledOver(const std::vector<uint32_t>& tile, SIZE size, const RECT& monitor) {
    const LONG width = monitor.right - monitor.left;
    std::vector<uint32_t> picture(size_t(width) * size_t(monitor.bottom - monitor.top));
    const auto wrap = [](LONG at, LONG length) { return ((at % length) + length) % length; };
    for (LONG y = monitor.top; y < monitor.bottom; ++y) {
        const uint32_t* row = tile.data() + size_t(wrap(y, size.cy)) * size_t(size.cx);
        uint32_t* to = picture.data() + size_t(y - monitor.top) * size_t(width);
        for (LONG x = monitor.left; x < monitor.right; ++x) {
            to[x - monitor.left] = row[wrap(x, size.cx)] & 0xFFFFFFu;
        }
    }
    return picture;
}

// The desktop's own wallpaper on each monitor: each picture file decoded once for the
// monitors that show it alike, a spanned one over their bounding box, a tiled one from the
// primary monitor's corner.
std::vector<std::vector<uint32_t>> desktopsOwn(const std::vector<RECT>& monitors,
                                               const std::vector<SIZE>& sizes, PictureWork work) {
    const std::vector<DesktopPicture> desktop = desktopPictures(monitors);
    std::vector<std::vector<uint32_t>> pictures(monitors.size());
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (!pictures[i].empty()) {
            continue;
        }
        const DesktopPicture& own = desktop[i];
        std::vector<size_t> alike;
        for (size_t j = i; j < monitors.size(); ++j) {
            if (pictures[j].empty() && desktop[j].path == own.path && desktop[j].fit == own.fit) {
                alike.push_back(j);
            }
        }
        if (!own.path.empty() && own.fit == WallpaperFit::span) {
            RECT bounds = monitors[alike.front()];
            for (size_t j : alike) {
                UnionRect(&bounds, &bounds, &monitors[j]);
            }
            const Canvas box = canvasOfFile(own.path, bounds.right - bounds.left,
                                            bounds.bottom - bounds.top, Placement::fill, work);
            for (size_t j : alike) {
                pictures[j] = box.bitmap ? partOf(box, bounds, monitors[j])
                                         : plainPicture(sizes[j], own.colour);
            }
            continue;
        }
        if (!own.path.empty() && own.fit == WallpaperFit::tile) {
            const win32::Bitmap picture = loadPicture(own.path.c_str(), work);
            SIZE size{};
            const std::vector<uint32_t> tile =
                picture ? pixelsOf(picture.get(), size) : std::vector<uint32_t>();
            for (size_t j : alike) {
                pictures[j] = tile.empty() ? plainPicture(sizes[j], own.colour)
                                           : tiledOver(tile, size, monitors[j]);
            }
            continue;
        }
        std::vector<SIZE> alikeSizes;
        for (size_t j : alike) {
            alikeSizes.push_back(sizes[j]);
        }
        std::vector<Canvas> canvases;
        if (!own.path.empty()) {
            canvases = canvasesOfFile(own.path, alikeSizes, placementOfFit(own.fit), work);
        }
        for (size_t k = 0; k < alike.size(); ++k) {
            std::vector<uint32_t> shown =
                k < canvases.size() ? canvases[k].pixels() : std::vector<uint32_t>();
            pictures[alike[k]] =
                shown.empty() ? plainPicture(alikeSizes[k], own.colour) : std::move(shown);
        }
    }
    return pictures;
}

} // namespace

WallpaperPictures wallpaperPictures(const Settings& settings, const std::vector<RECT>& monitors,
                                    const std::atomic<bool>& stop) {
    // The picture service and the imaging component are COM objects of this thread's.
    const win32::ComScope com;
    const PictureWork work(PictureWork::atOnce, &stop);
    const std::vector<SIZE> sizes = sizesOf(monitors);
    WallpaperPictures made;
    if (settings.backgroundKind == BackgroundKind::folder) {
        made.changer =
            std::make_unique<PictureChanger>(settings.background, sizes, settings.placement);
        for (Canvas& canvas : made.changer->firstHand(work)) {
            made.pictures.push_back(canvas.pixels());
        }
    } else if (settings.backgroundKind == BackgroundKind::file) {
        for (Canvas& canvas :
             canvasesOfFile(settings.background, sizes, settings.placement, work)) {
            made.pictures.push_back(canvas.pixels());
        }
    }
    const auto complete = [&] {
        return made.pictures.size() == monitors.size() &&
               std::none_of(made.pictures.begin(), made.pictures.end(),
                            [](const std::vector<uint32_t>& picture) { return picture.empty(); });
    };
    if (!complete()) {
        made.changer.reset();
        made.pictures =
            stop ? std::vector<std::vector<uint32_t>>() : desktopsOwn(monitors, sizes, work);
    }
    if (stop || !complete()) {
        return {};
    }
    return made;
}
