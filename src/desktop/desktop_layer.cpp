#include "desktop/desktop_layer.h"

#include <algorithm>
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
    return {DesktopLayout::besideIcons, progman, icons, worker};
}

// The first window after `from` in its z-order (its siblings, top first) with the class
// given. (Walked to, since Wine's FindWindowEx finds no window after one of another class.)
HWND nextOfClass(HWND from, std::wstring_view kind) {
    wchar_t name[64];
    HWND window = GetWindow(from, GW_HWNDNEXT);
    while (window != nullptr && classOf(window, name) != kind) {
        window = GetWindow(window, GW_HWNDNEXT);
    }
    return window;
}

// Whether `lower` comes after `upper` among their siblings.
bool below(HWND lower, HWND upper) {
    for (HWND window = GetWindow(upper, GW_HWNDNEXT); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == lower) {
            return true;
        }
    }
    return false;
}

// Shown (whatever its parent) over exactly the area.
bool covers(HWND window, const RECT& area) {
    RECT now{};
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0 &&
           GetWindowRect(window, &now) && EqualRect(&now, &area);
}

} // namespace

DesktopLayer findDesktopLayer(DesktopLayout from) {
    HWND progman = FindWindowW(L"Progman", nullptr);
    if (progman == nullptr || from == DesktopLayout::bottomWindows) {
        return {};
    }
    if (from == DesktopLayout::besideIcons) {
        if (DesktopLayer layer = besideIcons(progman); layer.parent != nullptr) {
            return layer;
        }
    }
    // The shell makes its WorkerW on request; a hung shell is not waited for.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(progman, progmanSpawnWorker, 0xD, 0x1, SMTO_NORMAL | SMTO_ABORTIFHUNG, 1000,
                        &answer);
    if (from == DesktopLayout::besideIcons) {
        if (DesktopLayer layer = besideIcons(progman); layer.parent != nullptr) {
            return layer;
        }
    }
    IconsHolderSearch search;
    EnumWindows(findIconsHolder, reinterpret_cast<LPARAM>(&search));
    if (search.holder == nullptr) {
        return {};
    }
    // The WorkerW right behind the window holding the icons is the one the wallpaper is
    // drawn on.
    HWND worker = nextOfClass(search.holder, L"WorkerW");
    if (worker == nullptr) {
        return {};
    }
    return {DesktopLayout::workerBehindIcons, worker, search.icons, nullptr, search.holder};
}

bool refreshLayer(DesktopLayer& layer) {
    switch (layer.layout) {
    case DesktopLayout::besideIcons:
        if (!IsWindow(layer.parent) || !IsWindow(layer.icons)) {
            return false;
        }
        if (!IsWindow(layer.worker) || GetParent(layer.worker) != layer.parent) {
            layer.worker = FindWindowExW(layer.parent, nullptr, L"WorkerW", nullptr);
        }
        return layer.worker != nullptr;
    case DesktopLayout::workerBehindIcons:
        return IsWindow(layer.parent) && IsWindow(layer.holder) && holdsIcons(layer.holder);
    case DesktopLayout::bottomWindows:
        break;
    }
    return true; // a shell that starts later says so (TaskbarCreated)
}

bool adoptIntoLayer(const DesktopLayer& layer, HWND window) {
    if (layer.layout == DesktopLayout::bottomWindows) {
        return true;
    }
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE,
                      (style & ~LONG_PTR(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS);
    if (layer.layout == DesktopLayout::besideIcons) {
        // Progman's children are drawn by the compositor only as layered windows; fully
        // opaque.
        SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_NOACTIVATE | WS_EX_LAYERED);
        SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    } else {
        SetWindowLongPtrW(window, GWL_EXSTYLE, WS_EX_NOACTIVATE);
    }
    SetParent(window, layer.parent);
    return GetParent(window) == layer.parent;
}

bool arrangeInLayer(const DesktopLayer& layer, const std::vector<LayerWindow>& windows) {
    HWND after = layer.layout == DesktopLayout::besideIcons         ? layer.icons
                 : layer.layout == DesktopLayout::workerBehindIcons ? HWND_TOP
                                                                    : HWND_BOTTOM;
    for (const LayerWindow& placed : windows) {
        const RECT place = inLayerCoordinates(layer, placed.area);
        if (!SetWindowPos(placed.window, after, place.left, place.top, place.right - place.left,
                          place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW)) {
            return false;
        }
        if (layer.layout != DesktopLayout::bottomWindows) {
            after = placed.window; // each below the one before
        }
    }
    // The shell's own windows back where the layout has them, should it have moved them.
    if (layer.layout == DesktopLayout::besideIcons && layer.worker != nullptr) {
        SetWindowPos(layer.worker, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (layer.layout == DesktopLayout::workerBehindIcons &&
               !below(layer.parent, layer.holder)) {
        SetWindowPos(layer.parent, layer.holder, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

bool arrangementStands(const DesktopLayer& layer, const std::vector<LayerWindow>& windows) {
    for (const LayerWindow& placed : windows) {
        if (!IsWindow(placed.window) || !covers(placed.window, placed.area)) {
            return false;
        }
        if (layer.layout != DesktopLayout::bottomWindows &&
            GetAncestor(placed.window, GA_PARENT) != layer.parent) {
            return false;
        }
    }
    switch (layer.layout) {
    case DesktopLayout::besideIcons: {
        // The icons' view over every water, every WorkerW of Progman under them all.
        wchar_t name[64];
        for (HWND child = GetWindow(layer.parent, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (classOf(child, name) != L"WorkerW") {
                continue;
            }
            for (const LayerWindow& placed : windows) {
                if (!below(placed.window, layer.icons) || !below(child, placed.window)) {
                    return false;
                }
            }
        }
        return true;
    }
    case DesktopLayout::workerBehindIcons:
        return below(layer.parent, layer.holder);
    case DesktopLayout::bottomWindows:
        break;
    }
    return true;
}

RECT inLayerCoordinates(const DesktopLayer& layer, RECT screenArea) {
    if (layer.parent != nullptr) {
        MapWindowPoints(HWND_DESKTOP, layer.parent, reinterpret_cast<POINT*>(&screenArea), 2);
    }
    return screenArea;
}

bool holdsIcons(HWND window) {
    return FindWindowExW(window, nullptr, iconsViewClass, nullptr) != nullptr;
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
