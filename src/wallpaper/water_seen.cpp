#include "wallpaper/water_seen.h"

#include <cstdlib>

#include "win32/handles.h"

namespace {

constexpr int gridColumns = 8;
constexpr int gridRows = 6;
constexpr int fewestPoints = 8;
constexpr int channelTolerance = 12; // out of 255: colour profiles, night light

bool showsTheWater(HWND under, HWND water, HWND icons) {
    return under == water || (icons != nullptr && (under == icons || IsChild(icons, under)));
}

} // namespace

bool pixelShown(uint32_t onScreen, uint32_t drawn) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((onScreen >> shift) & 0xFF), b = int((drawn >> shift) & 0xFF);
        if (std::abs(a - b) > channelTolerance) {
            return false;
        }
    }
    return true;
}

std::vector<LookPoint> pointsToLook(const std::vector<ShownFrame>& frames) {
    std::vector<LookPoint> points;
    for (const ShownFrame& frame : frames) {
        const LONG width = frame.area.right - frame.area.left;
        const LONG height = frame.area.bottom - frame.area.top;
        for (int row = 0; row < gridRows; ++row) {
            for (int column = 0; column < gridColumns; ++column) {
                const LONG x = (2 * column + 1) * width / (2 * gridColumns);
                const LONG y = (2 * row + 1) * height / (2 * gridRows);
                points.push_back({{frame.area.left + x, frame.area.top + y},
                                  frame.window,
                                  frame.pixels[size_t(y) * size_t(width) + size_t(x)]});
            }
        }
    }
    return points;
}

WaterSeen watersSeen(const std::vector<LookPoint>& points, HWND icons) {
    const win32::WindowDc screen(nullptr);
    const win32::OwnedDc memory = win32::memoryDcFor(screen.get());
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const win32::Bitmap point(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!point || memory.get() == nullptr) {
        return WaterSeen::unknown;
    }
    const win32::Selection selected(memory.get(), point.get());
    int looked = 0;
    int matched = 0;
    for (const LookPoint& look : points) {
        if (!showsTheWater(WindowFromPoint(look.at), look.water, icons)) {
            continue;
        }
        // CAPTUREBLT: the screen as composed, layered windows included.
        BitBlt(memory.get(), 0, 0, 1, 1, screen.get(), look.at.x, look.at.y, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        ++looked;
        matched += pixelShown(*static_cast<const uint32_t*>(bits), look.drawn) ? 1 : 0;
    }
    if (looked < fewestPoints) {
        return WaterSeen::unknown;
    }
    return matched * 4 >= looked * 3 ? WaterSeen::yes : WaterSeen::no;
}
