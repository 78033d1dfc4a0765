#include "ripple/ripple_window.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cstring>

#include "show/effect_state.h"
#include "win32/handles.h"

namespace {

RippleSurface* attachedSurface(HWND window) {
    return reinterpret_cast<RippleSurface*>(GetWindowLongPtrA(window, 0));
}

void requestShowClose() {
    SendMessageA(effectWindow, WM_CLOSE, 0, 0);
}

void dropAtPointer(RippleSurface* surface, LPARAM lParam, DropKind kind) {
    const auto x = static_cast<int32_t>(LOWORD(lParam));
    const auto y = static_cast<int32_t>(HIWORD(lParam));
    addDrop(surface, x, y, kind.radius, kind.strength);
}

void dropRain(RippleSurface* surface) {
    // No picture size yet means nowhere for the rain to fall.
    if (surfaceWidth <= 0 || surfaceHeight <= 0) {
        return;
    }
    const int32_t y = std::rand() % surfaceHeight;
    const int32_t x = std::rand() % surfaceWidth;
    addDrop(surface, x, y, rainDrop.radius, rainDrop.strength);
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    auto* surface =
        static_cast<RippleSurface*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (surface == nullptr) {
        return FALSE;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(surface));
    stepRipple(surface);
    surface->stepTimer = SetTimer(window, rippleStepTimerId, rippleStepIntervalMs, nullptr);
    SetTimer(window, rippleRainTimerId, rippleRainIntervalMs, nullptr);
    SetActiveWindow(window);
    return TRUE;
}

void paint(HWND window, HDC given, const RippleSurface& surface) {
    BITMAPINFO info;
    static_assert(sizeof(info) == sizeof(surface.header));
    std::memcpy(&info, &surface.header, sizeof(info));
    auto draw = [&](HDC dc) {
        SetDIBitsToDevice(dc, 0, 0, surface.width, surface.height, 0, 0, 0, surface.height,
                          surface.output, &info, DIB_RGB_COLORS);
    };
    if (given != nullptr) {
        draw(given);
    } else {
        draw(win32::WindowDc(window).get());
    }
    ValidateRect(window, nullptr);
}

void onDestroy(HWND window, RippleSurface* surface) {
    KillTimer(window, surface->stepTimer);
    SetWindowLongPtrA(window, 0, 0);
    // A window torn down while it is still being created leaves the surface to its creator.
    if (surface->window == nullptr) {
        KillTimer(window, rippleRainTimerId);
        return;
    }
    freeRippleSurface(surface);
    requestShowClose();
}

} // namespace

bool isCloseKey(WPARAM virtualKey) {
    return std::find(std::begin(closeKeys), std::end(closeKeys), virtualKey) != std::end(closeKeys);
}

bool registerRippleClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = rippleWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
    windowClass.lpszClassName = rippleClassName;
    return RegisterClassExA(&windowClass) != 0;
}

LRESULT CALLBACK rippleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RippleSurface* surface = attachedSurface(window);
    if (message == WM_NCCREATE) {
        return onCreate(window, lParam);
    }
    if (surface == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        paint(window, reinterpret_cast<HDC>(wParam), *surface);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wParam == rippleRainTimerId) {
            dropRain(surface);
        }
        stepRipple(surface);
        InvalidateRect(window, nullptr, FALSE);
        break;
    case WM_MOUSEMOVE:
        dropAtPointer(surface, lParam, mouseMoveDrop);
        return 0;
    case WM_LBUTTONDOWN:
        dropAtPointer(surface, lParam, mouseClickDrop);
        return 0;
    case WM_RBUTTONUP:
        requestShowClose();
        return 1;
    case WM_KEYDOWN:
        if (isCloseKey(wParam)) {
            requestShowClose();
            return 1;
        }
        break;
    case WM_NCDESTROY:
        onDestroy(window, surface);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
