#include "desktop/window_cover.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "desktop/desktop_layer.h"

namespace {

struct CoverSearch {
    const std::vector<RECT>* monitors;
    const wchar_t* ownClass;
    std::vector<bool> covered;
};

bool cloaked(HWND window) {
    DWORD cloak = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloak, sizeof(cloak))) &&
           cloak != 0;
}

bool counts(HWND window, const wchar_t* ownClass) {
    if (!IsWindowVisible(window) || IsIconic(window) || cloaked(window) ||
        isDesktopWindow(window)) {
        return false;
    }
    wchar_t name[64] = {};
    GetClassNameW(window, name, int(std::size(name)));
    return std::wstring_view(name) != ownClass;
}

BOOL CALLBACK markCovered(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<CoverSearch*>(lParam);
    if (!counts(window, search->ownClass)) {
        return TRUE;
    }
    RECT area{};
    GetWindowRect(window, &area);
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
            search->covered[i] = true;
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

std::vector<bool> coveredMonitors(const std::vector<RECT>& monitors, const wchar_t* ownClass) {
    CoverSearch search{&monitors, ownClass, std::vector<bool>(monitors.size())};
    EnumWindows(markCovered, reinterpret_cast<LPARAM>(&search));
    return search.covered;
}
