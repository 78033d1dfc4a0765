#include "desktop/window_cover.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "desktop/desktop_layer.h"
#include "win32/handles.h"

namespace {

struct CoverSearch {
    const std::vector<RECT>* monitors;
    const wchar_t* ownClass;
    MonitorCover cover;
    bool behindDesktop = false; // below the desktop's own window: out of sight
};

bool cloaked(HWND window) {
    DWORD cloak = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloak, sizeof(cloak))) &&
           cloak != 0;
}

// Whether the window hides what lies under it: a click-through window, and a layered one
// drawn through a colour key, with an alpha below 255 or with alpha of its own in its pixels
// (no attributes to read), let it show.
bool opaque(HWND window) {
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((exStyle & WS_EX_TRANSPARENT) != 0) {
        return false;
    }
    if ((exStyle & WS_EX_LAYERED) == 0) {
        return true;
    }
    COLORREF key = 0;
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) {
        return false;
    }
    return (flags & LWA_COLORKEY) == 0 && ((flags & LWA_ALPHA) == 0 || alpha == 255);
}

bool counts(HWND window, const wchar_t* ownClass) {
    if (!IsWindowVisible(window) || IsIconic(window) || cloaked(window) ||
        isDesktopWindow(window) || !opaque(window)) {
        return false;
    }
    wchar_t name[64] = {};
    GetClassNameW(window, name, int(std::size(name)));
    return std::wstring_view(name) != ownClass;
}

// Walks the windows from the top of the order down.
BOOL CALLBACK markCovered(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<CoverSearch*>(lParam);
    // "Show desktop" raises the desktop's own window over the others without minimising
    // them: whatever lies below it is out of sight.
    if (IsWindowVisible(window) && holdsIcons(window)) {
        search->behindDesktop = true;
        return TRUE;
    }
    if (!counts(window, search->ownClass)) {
        return TRUE;
    }
    RECT area{};
    if (!GetWindowRect(window, &area) || IsRectEmpty(&area)) {
        return TRUE;
    }
    // Its process is watched whatever its place: one behind the desktop may come forward.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    search->cover.processes.push_back(process);
    if (search->behindDesktop) {
        return TRUE;
    }
    const bool maximised = IsZoomed(window) != FALSE;
    HMONITOR home = maximised ? MonitorFromWindow(window, MONITOR_DEFAULTTONULL) : nullptr;
    for (size_t i = 0; i < search->monitors->size(); ++i) {
        const RECT& monitor = (*search->monitors)[i];
        bool hides = coversMonitor(area, monitor);
        if (!hides && home != nullptr) {
            const POINT centre{(monitor.left + monitor.right) / 2,
                               (monitor.top + monitor.bottom) / 2};
            hides = MonitorFromPoint(centre, MONITOR_DEFAULTTONULL) == home;
        }
        if (hides) {
            search->cover.covered[i] = true;
        }
    }
    return TRUE;
}

} // namespace

bool coversMonitor(const RECT& window, const RECT& monitor) {
    RECT common{};
    if (!IntersectRect(&common, &window, &monitor)) {
        return false;
    }
    const int64_t shared =
        int64_t(common.right - common.left) * int64_t(common.bottom - common.top);
    const int64_t whole =
        int64_t(monitor.right - monitor.left) * int64_t(monitor.bottom - monitor.top);
    return whole > 0 && shared * 100 >= whole * 95;
}

MonitorCover coveredMonitors(const std::vector<RECT>& monitors, const wchar_t* ownClass) {
    CoverSearch search{&monitors, ownClass, {std::vector<bool>(monitors.size()), {}}};
    EnumWindows(markCovered, reinterpret_cast<LPARAM>(&search));
    return search.cover;
}

// Walked here rather than asked of WindowFromPoint, which under Wine finds the calling
// thread's own windows first, whatever lies over them.
bool desktopSeenAt(POINT at, const wchar_t* ownClass) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        RECT area{};
        if (!IsWindowVisible(window) || IsIconic(window) || cloaked(window) ||
            (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0 ||
            !GetWindowRect(window, &area) || !PtInRect(&area, at)) {
            continue;
        }
        const win32::GdiObject<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
        if (shape && GetWindowRgn(window, shape.get()) != ERROR &&
            !PtInRegion(shape.get(), at.x - area.left, at.y - area.top)) {
            continue;
        }
        wchar_t name[64] = {};
        GetClassNameW(window, name, int(std::size(name)));
        return isDesktopWindow(window) || std::wstring_view(name) == ownClass;
    }
    return true; // nothing but the desktop itself
}
