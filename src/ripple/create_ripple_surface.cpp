#include <algorithm>
#include <cstring>
#include <utility>

#include "ripple/ripple_window.h"
#include "win32/handles.h"

namespace {

// Copies the bitmap's pixels into the source in the surface's own format. At most the
// surface's rows are taken, so a taller bitmap cannot overrun the buffer.
void copyBackground(RippleSurface& surface, HBITMAP background) {
    BITMAP size{};
    if (GetObjectA(background, sizeof(size), &size) == 0) {
        return;
    }
    const int32_t rows = std::min<int32_t>(size.bmHeight, surface.height);
    if (rows <= 0) {
        return;
    }
    BITMAPINFO info;
    std::memcpy(&info, &surface.header, sizeof(info));
    info.bmiHeader.biHeight = -rows;
    const win32::OwnedDc dc = win32::memoryDcFor(nullptr);
    GetDIBits(dc.get(), background, 0, static_cast<UINT>(rows), surface.source, &info,
              DIB_RGB_COLORS);
}

} // namespace

RippleSurface* createRippleSurface(int32_t x, int32_t y, int32_t width, int32_t height,
                                   unsigned controlId, HWND parent, HINSTANCE instance,
                                   HBITMAP background) {
    OwnedRippleSurface surface = allocateRippleSurface(width, height);
    if (surface == nullptr) {
        return nullptr;
    }
    if (background != nullptr) {
        copyBackground(*surface, background);
    }
    const auto childId = static_cast<UINT_PTR>(controlId & 0xFFFFu);
    HWND window =
        CreateWindowExA(0, rippleClassName, nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height,
                        parent, reinterpret_cast<HMENU>(childId), instance, surface.get());
    if (window == nullptr) {
        return nullptr;
    }
    surface->window = window;
    return adoptRippleSurface(std::move(surface));
}
