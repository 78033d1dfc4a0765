#include "wallpaper/wallpaper_pictures.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "desktop/desktop_wallpaper.h"
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

// The desktop's own wallpaper on each monitor: each picture file decoded once for the
// monitors that show it alike, a spanned one over their bounding box.
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
