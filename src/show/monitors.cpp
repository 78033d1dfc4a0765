#include "show/monitors.h"

#include <algorithm>

namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<RECT>*>(list);
        const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        areas.insert(primary ? areas.begin() : areas.end(), info.rcMonitor);
    }
    return TRUE;
}

} // namespace

std::vector<RECT> showMonitors() {
    std::vector<RECT> areas;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty()) {
        areas.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    }
    return areas;
}

RECT boundsOf(const std::vector<RECT>& areas) {
    RECT bounds = areas.front();
    for (const RECT& area : areas) {
        bounds.left = std::min(bounds.left, area.left);
        bounds.top = std::min(bounds.top, area.top);
        bounds.right = std::max(bounds.right, area.right);
        bounds.bottom = std::max(bounds.bottom, area.bottom);
    }
    return bounds;
}

std::vector<SIZE> sizesOf(const std::vector<RECT>& areas) {
    std::vector<SIZE> sizes;
    for (const RECT& area : areas) {
        sizes.push_back({area.right - area.left, area.bottom - area.top});
    }
    return sizes;
}
