#include "show/folder_pictures.h"

#include <new>

#include "pictures/screen_pictures.h"
#include "show/background.h"
#include "pictures/placement.h"
#include "win32/bitmap_size.h"
#include "win32/dib.h"
#include "win32/wide.h"

std::vector<FolderEntry> listFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    const std::string pattern =
        folder.empty() || folder.back() == '\\' ? folder + "*" : folder + "\\*";
    WIN32_FIND_DATAW found{};
    const win32::FileSearch search(win32::widen(pattern).c_str(), found);
    if (!search.found()) {
        return entries;
    }
    constexpr DWORD unseen =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & unseen) != 0) {
            continue;
        }
        entries.push_back(
            {win32::narrow(name), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (search.next(found));
    return entries;
}

Canvas pictureOnCanvas(HBITMAP picture, int32_t width, int32_t height, Placement placement,
                       PictureWork work) {
    const SIZE size = bitmapSize(picture);
    void* pixels = nullptr;
    Canvas canvas{win32::makeDibSection(nullptr, win32::dibDescription(width, -height, 32), pixels),
                  nullptr, width, height};
    canvas.bits = static_cast<uint32_t*>(pixels);
    if (!canvas.bitmap || size.cx <= 0 || size.cy <= 0) {
        return Canvas();
    }
    const PicturePlacement place = placePicture(size.cx, size.cy, width, height, placement);
    RECT to{place.x, place.y, place.x + size.cx, place.y + size.cy};
    if (place.stretch) {
        to = {0, 0, width, height};
    } else if (place.scaled) {
        to = {place.x, place.y, place.x + place.width, place.y + place.height};
    }
    if (drawByAreaAveraging(picture, canvas.bits, width, height, to, work)) {
        return canvas;
    }
    const win32::OwnedDc from = win32::memoryDcFor(nullptr);
    const win32::OwnedDc onto = win32::memoryDcFor(nullptr);
    const win32::Selection fromSelected(from.get(), picture);
    const win32::Selection ontoSelected(onto.get(), canvas.bitmap.get());
    // Averaging, so that a photo many times the screen's size does not shimmer; the brush
    // origin must be set after the mode.
    SetStretchBltMode(onto.get(), HALFTONE);
    SetBrushOrgEx(onto.get(), 0, 0, nullptr);
    StretchBlt(onto.get(), to.left, to.top, to.right - to.left, to.bottom - to.top, from.get(), 0,
               0, size.cx, size.cy, SRCCOPY);
    GdiFlush(); // the pixels are read through bits next
    return canvas;
}

std::vector<Canvas> canvasesOfFile(const std::string& path, const std::vector<SIZE>& sizes,
                                   Placement placement, PictureWork work) {
    ScreenPictures shown = loadScreenPictures(path.c_str(), sizes, placement, work);
    if (shown.pictures.empty() || (shown.placed && shown.pictures.size() != sizes.size())) {
        return {};
    }
    std::vector<Canvas> canvases;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (!shown.placed) {
            try {
                canvases.push_back(pictureOnCanvas(shown.pictures.front().get(), sizes[i].cx,
                                                   sizes[i].cy, placement, work));
            } catch (const std::bad_alloc&) {
                return {}; // memory ran out on the way: the picture is skipped
            }
        } else {
            // A large PNG already scaled onto each canvas as its rows were decoded.
            DIBSECTION section{};
            if (GetObject(shown.pictures[i].get(), sizeof(section), &section) != sizeof(section)) {
                return {};
            }
            canvases.push_back({std::move(shown.pictures[i]),
                                static_cast<uint32_t*>(section.dsBm.bmBits), sizes[i].cx,
                                sizes[i].cy});
        }
        if (!canvases.back().bitmap) {
            return {};
        }
    }
    return canvases;
}

Canvas canvasOfFile(const std::string& path, int32_t width, int32_t height, Placement placement,
                    PictureWork work) {
    std::vector<Canvas> canvases = canvasesOfFile(path, {SIZE{width, height}}, placement, work);
    return canvases.empty() ? Canvas() : std::move(canvases.front());
}

std::vector<uint32_t> Canvas::pixels() const {
    if (!bitmap) {
        return {};
    }
    try {
        std::vector<uint32_t> copy(bits, bits + size_t(width) * size_t(height));
        for (uint32_t& pixel : copy) {
            pixel &= 0xFFFFFF;
        }
        return copy;
    } catch (const std::bad_alloc&) {
        return {};
    }
}
