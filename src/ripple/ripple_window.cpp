#include "ripple/ripple_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cstring>
#include <optional>
#include <utility>

#include "ripple/source_fade.h"
#include "win32/handles.h"

HWND effectWindow = nullptr;
RippleInput rippleInput = RippleInput::interactive;
RainAmount rainAmount = RainAmount::normal;

namespace {

// Where the pointer was said to be when the show started, and where it was at the first
// move away from there, once there has been one.
POINT pointerAtStart{};
std::optional<POINT> pointerStart;

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

// Rain falls anywhere on the picture under the water, which the surface covers.
void dropRain(RippleSurface* surface) {
    const int coin = rainAmount == RainAmount::light ? std::rand() : 0;
    for (int32_t drop = rainDropsAt(rainAmount, coin); drop > 0; --drop) {
        const int32_t y = std::rand() % surface->height;
        const int32_t x = std::rand() % surface->width;
        addDrop(surface, x, y, rainDrop.radius, rainDrop.strength);
    }
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    auto* surface =
        static_cast<RippleSurface*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (surface == nullptr) {
        return FALSE;
    }
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(surface));
    stepMovingRipple(surface);
    surface->stepTimer = SetTimer(window, rippleStepTimerId, rippleStepIntervalMs, nullptr);
    SetTimer(window, rippleRainTimerId, rippleRainIntervalMs, nullptr);
    if (rippleInput != RippleInput::none) {
        SetActiveWindow(window); // a preview must not take the activation
    }
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

// Draws the tiles the last step went over, a run of neighbouring tiles of a tile row at a
// time; the rest of the window shows what it held already.
void paintStepped(HWND window, const RippleSurface& surface) {
    const RippleTiles& tiles = *surface.tiles;
    constexpr int32_t tileWidth = int32_t(1) << rippleTileColumnShift;
    constexpr int32_t tileHeight = int32_t(1) << rippleTileRowShift;
    const win32::WindowDc dc(window);
    BITMAPINFO band;
    std::memcpy(&band, &surface.header, sizeof(band));
    for (int32_t ty = 0; ty < tiles.rows; ++ty) {
        const int32_t top = ty * tileHeight;
        const int32_t rows = std::min(tileHeight, surface.height - top);
        // The tile row as a picture of its own, so that its rows need no offset.
        band.bmiHeader.biHeight = -rows;
        const uint32_t* bits = surface.output + size_t(top) * size_t(surface.width);
        forEachSteppedRun(tiles, ty, [&](int32_t firstTile, int32_t endTile) {
            const int32_t left = firstTile * tileWidth;
            const int32_t width = std::min(endTile * tileWidth, surface.width) - left;
            SetDIBitsToDevice(dc.get(), left, top, DWORD(width), DWORD(rows), left, 0, 0,
                              UINT(rows), bits, &band, DIB_RGB_COLORS);
        });
    }
}

// The show's mouse and keys: ripples under the pointer and where it clicks, a right click or
// a close key ends the show. Empty for the messages it leaves to the default handling.
std::optional<LRESULT> answerShowInput(RippleSurface* surface, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
    switch (message) {
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
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void onDestroy(HWND window, RippleSurface* surface) {
    KillTimer(window, surface->stepTimer);
    SetWindowLongPtrA(window, 0, 0);
    // A window torn down while it is still being created leaves the surface to its creator.
    if (surface->window == nullptr) {
        KillTimer(window, rippleRainTimerId);
        return;
    }
    const OwnedRippleSurface adopted(surface); // the window's since adoptRippleSurface
    requestShowClose();
}

} // namespace

bool fadeInPicture(HWND window, std::vector<uint32_t> picture) {
    RippleSurface* surface = attachedSurface(window);
    return surface != nullptr && beginSourceFade(surface, std::move(picture), pictureFadeSteps);
}

void dimPicture(HWND window, uint32_t keep) {
    if (RippleSurface* surface = attachedSurface(window)) {
        std::vector<uint32_t> dimmer = dimmedSource(*surface, keep);
        if (!dimmer.empty()) {
            beginSourceFade(surface, std::move(dimmer), pictureFadeSteps);
        }
    }
}

RippleSurface* adoptRippleSurface(OwnedRippleSurface surface) {
    return surface.release(); // given back to an owner by the window's WM_NCDESTROY
}

bool isCloseKey(WPARAM virtualKey) {
    return std::find(std::begin(closeKeys), std::end(closeKeys), virtualKey) != std::end(closeKeys);
}

void rememberPointerStart() {
    GetCursorPos(&pointerAtStart);
    pointerStart.reset();
}

// Moves are measured from the first one that reports another place than the start: Wine
// knows where the pointer is only once it has moved over one of its windows, and reports a
// stale place until then, for example in the move sent when the show's window appears.
bool pointerMovedAway() {
    const DWORD position = GetMessagePos(); // for the message being handled
    const POINT now{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (!pointerStart) {
        if (now.x != pointerAtStart.x || now.y != pointerAtStart.y) {
            pointerStart = now;
        }
        return false;
    }
    return std::abs(now.x - pointerStart->x) > pointerSlackPixels ||
           std::abs(now.y - pointerStart->y) > pointerSlackPixels;
}

bool endsScreenSaver(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    case WM_MOUSEMOVE:
        return pointerMovedAway();
    default:
        return false;
    }
}

bool registerRippleClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = rippleWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
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
        advanceSourceFade(surface);
        stepMovingRipple(surface);
        paintStepped(window, *surface); // WM_PAINT draws the whole window when it is shown
        break;
    default:
        if (rippleInput == RippleInput::endOnInput && endsScreenSaver(message)) {
            requestShowClose();
            return 0;
        }
        if (rippleInput == RippleInput::interactive) {
            if (const auto answer = answerShowInput(surface, message, wParam, lParam)) {
                return *answer;
            }
        }
        break;
    case WM_NCDESTROY:
        onDestroy(window, surface);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
