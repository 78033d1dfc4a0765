#include "app/default_mark.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "win32/dib.h"

bool fontDrawsText(HWND control, const std::wstring& text) {
    const win32::WindowDc dc(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ before =
        SelectObject(dc.get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    std::vector<WORD> glyphs(text.size() + 1);
    const DWORD found = GetGlyphIndicesW(dc.get(), text.c_str(), int(text.size()), glyphs.data(),
                                         GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc.get(), before);
    if (found == GDI_ERROR || text.empty()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (glyphs[i] == 0xFFFF) {
            return false;
        }
    }
    return true;
}

namespace {

constexpr double pi = 3.14159265358979323846;

// Whether a point (in pixels, y down) lies on the arrow: a ring open at the upper right, its
// head at the end the arrow travels to, anticlockwise.
bool onArrow(double x, double y, double size) {
    const double centre = size / 2, radius = size * 0.30, width = size * 0.12;
    const double dx = x - centre, dy = centre - y;
    double angle = std::atan2(dy, dx) * 180 / pi;
    angle += angle < 0 ? 360 : 0;
    const double distance = std::hypot(dx, dy);
    if (std::abs(distance - radius) <= width / 2 && !(angle > 20 && angle < 80)) {
        return true;
    }
    // The head where the ring ends, at 20 degrees, pointing on into the opening.
    const double end = 20 * pi / 180;
    const double px = centre + radius * std::cos(end), py = centre - radius * std::sin(end);
    const double tx = -std::sin(end), ty = -std::cos(end); // along the ring
    const double nx = std::cos(end), ny = -std::sin(end);  // outwards
    const double along = (x - px) * tx + (y - py) * ty;
    const double across = (x - px) * nx + (y - py) * ny;
    const double length = width * 2.2, half = width * 1.6;
    return along >= 0 && along <= length && std::abs(across) <= half * (1 - along / length);
}

} // namespace

win32::Icon defaultMarkIcon(int size) {
    void* bits = nullptr;
    const win32::Bitmap colour(
        win32::makeDibSection(nullptr, win32::dibDescription(size, -size, 32), bits));
    const std::vector<uint8_t> clear(size_t((size + 15) / 16 * 2) * size_t(size), 0);
    const win32::Bitmap mask(CreateBitmap(size, size, 1, 1, clear.data())); // alpha decides
    if (!colour || !mask) {
        return win32::Icon();
    }
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    auto* pixels = static_cast<uint32_t*>(bits);
    constexpr int samples = 4; // a side, for smooth edges
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    covered += onArrow(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples, size);
                }
            }
            const uint32_t alpha = uint32_t(covered * 255 / (samples * samples));
            pixels[size_t(y) * size + x] = alpha << 24 | uint32_t(GetRValue(text)) << 16 |
                                           uint32_t(GetGValue(text)) << 8 | GetBValue(text);
        }
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
    return win32::Icon(CreateIconIndirect(&info));
}
