#include "desktop/desktop_layer.h"

#include <iterator>
#include <string_view>

namespace {

constexpr const wchar_t* iconsViewClass = L"SHELLDLL_DefView";

std::wstring_view classOf(HWND window, wchar_t (&name)[64]) {
    const int length = GetClassNameW(window, name, int(std::size(name)));
    return {name, size_t(length > 0 ? length : 0)};
}

struct IconsHolderSearch {
    HWND holder = nullptr;
    HWND icons = nullptr;
};

BOOL CALLBACK findIconsHolder(HWND window, LPARAM lParam) {
    HWND icons = FindWindowExW(window, nullptr, iconsViewClass, nullptr);
    if (icons == nullptr) {
        return TRUE;
    }
    auto* search = reinterpret_cast<IconsHolderSearch*>(lParam);
    search->holder = window;
    search->icons = icons;
    return FALSE;
}

// Progman holding the icons' view and a WorkerW of its own, or nothing.
DesktopLayer besideIcons(HWND progman) {
    HWND icons = FindWindowExW(progman, nullptr, iconsViewClass, nullptr);
    HWND worker = FindWindowExW(progman, nullptr, L"WorkerW", nullptr);
    if (icons == nullptr || worker == nullptr) {
        return {};
    }
    return {DesktopLayout::besideIcons, progman, icons};
}

} // namespace

DesktopLayer findDesktopLayer() {
    HWND progman = FindWindowW(L"Progman", nullptr);
    if (progman == nullptr) {
        return {};
    }
    if (DesktopLayer layer = besideIcons(progman); layer.parent != nullptr) {
        return layer;
    }
    // The shell makes its WorkerW on request; a hung shell is not waited for long.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(progman, progmanSpawnWorker, 0xD, 0x1, SMTO_NORMAL, 1000, &answer);
    if (DesktopLayer layer = besideIcons(progman); layer.parent != nullptr) {
        return layer;
    }
    IconsHolderSearch search;
    EnumWindows(findIconsHolder, reinterpret_cast<LPARAM>(&search));
    if (search.holder == nullptr) {
        return {};
    }
    // The WorkerW right behind the window holding the icons is the one the wallpaper is
    // drawn on. (Walked to, since Wine's FindWindowEx finds no window after one of another
    // class.)
    HWND worker = GetWindow(search.holder, GW_HWNDNEXT);
    wchar_t name[64];
    while (worker != nullptr && classOf(worker, name) != L"WorkerW") {
        worker = GetWindow(worker, GW_HWNDNEXT);
    }
    if (worker == nullptr) {
        return {};
    }
    return {DesktopLayout::workerBehindIcons, worker, search.icons};
}

bool layerStands(const DesktopLayer& layer) {
    if (layer.layout == DesktopLayout::bottomWindows) {
        return true; // a shell that starts later says so (TaskbarCreated)
    }
    return IsWindow(layer.parent) && (layer.icons == nullptr || IsWindow(layer.icons));
}

RECT inLayerCoordinates(const DesktopLayer& layer, RECT screenArea) {
    if (layer.parent != nullptr) {
        MapWindowPoints(HWND_DESKTOP, layer.parent, reinterpret_cast<POINT*>(&screenArea), 2);
    }
    return screenArea;
}

void placeInLayer(const DesktopLayer& layer, HWND window, const RECT& area) {
    const RECT place = inLayerCoordinates(layer, area);
    HWND after = HWND_BOTTOM;
    if (layer.layout == DesktopLayout::besideIcons) {
        // Fully opaque: a layered child is what Progman's children are drawn with.
        SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
        after = layer.icons; // right below the icons' view, above the WorkerW
    } else if (layer.layout == DesktopLayout::workerBehindIcons) {
        after = HWND_TOP;
    }
    SetWindowPos(window, after, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool isDesktopWindow(HWND window) {
    for (HWND w = window; w != nullptr; w = GetParent(w)) {
        wchar_t name[64];
        const std::wstring_view kind = classOf(w, name);
        if (kind == iconsViewClass || kind == L"Progman" || kind == L"WorkerW") {
            return true;
        }
    }
    return false;
}
