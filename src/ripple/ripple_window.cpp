#include "ripple/ripple_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "ripple/source_fade.h"
#include "win32/handles.h"

namespace {

// What a water window holds: its surface and how it behaves. The window owns it from the
// moment createRippleSurface hands it over (adopted) until its WM_NCDESTROY; a window torn
// down while it is still being made leaves it to its maker.
struct Water {
    OwnedRippleSurface surface;
    RippleOptions options;
    bool adopted = false;
    bool paused = false;
    bool resting = false; // calm: no step runs until a drop falls or a picture comes in
    bool fadeBandPosted = false;
};

// A picture coming in changes every pixel at every step: each step's share of the work and
// of the drawing comes in bands of about this many pixels, a message each, so that the
// window's thread (on the desktop, the one whose input Explorer's windows share) answers
// between them.
constexpr int32_t fadeBandPixels = int32_t(1) << 18;
constexpr UINT fadeBandMessage = WM_USER + 1;

Water* waterOf(HWND window) {
    return reinterpret_cast<Water*>(GetWindowLongPtrA(window, 0));
}

void dropAtPointer(RippleSurface* surface, LPARAM lParam, DropKind kind) {
    const auto x = static_cast<int32_t>(LOWORD(lParam));
    const auto y = static_cast<int32_t>(HIWORD(lParam));
    addDrop(surface, x, y, kind.radius, kind.strength);
}

// Rain falls anywhere on the picture under the water, which the surface covers.
void dropRain(RippleSurface* surface, RainAmount rainAmount) {
    const int coin = rainAmount == RainAmount::light ? std::rand() : 0;
    for (int32_t drop = rainDropsAt(rainAmount, coin); drop > 0; --drop) {
        const int32_t y = std::rand() % surface->height;
        const int32_t x = std::rand() % surface->width;
        addDrop(surface, x, y, rainDrop.radius, rainDrop.strength);
    }
}

// The rain's timer runs where it drops rain or paces the steps.
void startTimers(HWND window, Water& water) {
    RippleSurface& surface = *water.surface;
    surface.stepTimer = SetTimer(window, rippleStepTimerId, rippleStepIntervalMs, nullptr);
    if (water.options.rainSteps || water.options.rain != RainAmount::none) {
        SetTimer(window, rippleRainTimerId, rippleRainIntervalMs, nullptr);
    }
    water.resting = false;
}

void stopTimers(HWND window, RippleSurface& surface) {
    KillTimer(window, rippleStepTimerId);
    KillTimer(window, rippleRainTimerId);
    surface.stepTimer = 0;
}

// Calm water costs nothing: its steps stop, and the next drop or picture starts them again.
void rest(HWND window, Water& water) {
    KillTimer(window, rippleStepTimerId);
    water.surface->stepTimer = 0;
    water.resting = true;
}

void wake(HWND window, Water& water) {
    if (water.resting && !water.paused) {
        water.surface->stepTimer =
            SetTimer(window, rippleStepTimerId, rippleStepIntervalMs, nullptr);
        water.resting = false;
    }
}

LRESULT onCreate(HWND window, LPARAM lParam) {
    auto* water = static_cast<Water*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (water == nullptr || water->surface == nullptr) {
        return FALSE;
    }
    RippleSurface* surface = water->surface.get();
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(water));
    if (water->options.pictureAtEdges) {
        showSourceAtEdges(surface);
    }
    stepMovingRipple(surface);
    startTimers(window, *water);
    if (water->options.takesActivation) {
        SetActiveWindow(window);
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

// Draws the rows [top, bottom) whole.
void paintRows(HWND window, const RippleSurface& surface, FadedRows rows) {
    if (rows.bottom <= rows.top) {
        return;
    }
    BITMAPINFO band;
    std::memcpy(&band, &surface.header, sizeof(band));
    band.bmiHeader.biHeight = -(rows.bottom - rows.top);
    SetDIBitsToDevice(win32::WindowDc(window).get(), 0, rows.top, DWORD(surface.width),
                      DWORD(rows.bottom - rows.top), 0, 0, 0, UINT(rows.bottom - rows.top),
                      surface.output + size_t(rows.top) * size_t(surface.width), &band,
                      DIB_RGB_COLORS);
}

// The next band of the picture coming in, drawn; the rest of the stage's bands come in
// messages of their own.
void fadeBand(HWND window, Water& water) {
    RippleSurface* surface = water.surface.get();
    const FadedRows rows = advanceSourceFade(surface, std::max(1, fadeBandPixels / surface->width));
    if (water.options.pictureAtEdges) {
        showSourceAtEdges(surface);
    }
    paintRows(window, *surface, rows);
    if (sourceFadeMidStage(*surface) && !water.fadeBandPosted) {
        water.fadeBandPosted = PostMessageA(window, fadeBandMessage, 0, 0) != FALSE;
    }
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

// One step: the rain when it is due, the waves, drawn where the step went over; the picture
// coming in follows band by band, a message each.
void step(HWND window, Water& water, bool rainDue) {
    RippleSurface* surface = water.surface.get();
    if (water.options.host != nullptr) {
        water.options.host->waterStepping(window);
    }
    if (rainDue) {
        dropRain(surface, water.options.rain);
        wake(window, water);
    }
    stepMovingRipple(surface);
    paintStepped(window, *surface);
    if (surface->fade != nullptr && !water.fadeBandPosted) {
        water.fadeBandPosted = PostMessageA(window, fadeBandMessage, 0, 0) != FALSE;
    }
    if (!water.resting && rippleSurfaceCalm(surface)) {
        rest(window, water);
    }
}

bool isInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Input goes to the host first; what it leaves makes ripples when the water makes them.
LRESULT onInput(HWND window, Water& water, UINT message, WPARAM wParam, LPARAM lParam) {
    if (water.options.host != nullptr &&
        water.options.host->waterInput(window, message, wParam, lParam)) {
        return 0;
    }
    if (water.options.pointerRipples && message == WM_MOUSEMOVE) {
        dropAtPointer(water.surface.get(), lParam, mouseMoveDrop);
    } else if (water.options.pointerRipples && message == WM_LBUTTONDOWN) {
        dropAtPointer(water.surface.get(), lParam, mouseClickDrop);
    } else {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    wake(window, water);
    return 0;
}

void onDestroy(HWND window, Water* water) {
    stopTimers(window, *water->surface);
    SetWindowLongPtrA(window, 0, 0);
    // A window torn down while it is still being created leaves the water to its creator.
    if (!water->adopted) {
        return;
    }
    const std::unique_ptr<Water> owned(water);
    if (owned->options.host != nullptr) {
        owned->options.host->waterGone(window);
    }
}

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

RippleSurface* rippleSurfaceOf(HWND window) {
    wchar_t className[16] = {};
    if (GetClassNameW(window, className, int(std::size(className))) == 0 ||
        std::wstring_view(className) != L"RippleImage") {
        return nullptr;
    }
    const Water* water = waterOf(window);
    return water != nullptr ? water->surface.get() : nullptr;
}

void pauseWater(HWND window, bool paused) {
    RippleSurface* surface = rippleSurfaceOf(window);
    Water* water = surface != nullptr ? waterOf(window) : nullptr;
    if (water == nullptr || water->paused == paused) {
        return;
    }
    water->paused = paused;
    if (paused) {
        stopTimers(window, *surface);
    } else {
        startTimers(window, *water);
    }
}

bool waterPaused(HWND window) {
    const Water* water = rippleSurfaceOf(window) != nullptr ? waterOf(window) : nullptr;
    return water != nullptr && water->paused;
}

void setWaterRain(HWND window, RainAmount rain) {
    if (rippleSurfaceOf(window) == nullptr) {
        return;
    }
    Water& water = *waterOf(window);
    water.options.rain = rain;
    if (water.paused) {
        return; // started as it should be with the water
    }
    if (water.options.rainSteps || rain != RainAmount::none) {
        SetTimer(window, rippleRainTimerId, rippleRainIntervalMs, nullptr);
    } else {
        KillTimer(window, rippleRainTimerId);
    }
}

void wakeWater(HWND window) {
    if (rippleSurfaceOf(window) != nullptr) {
        wake(window, *waterOf(window));
    }
}

void dropOnWater(HWND window, int32_t x, int32_t y, DropKind kind) {
    if (RippleSurface* surface = rippleSurfaceOf(window)) {
        addDrop(surface, x, y, kind.radius, kind.strength);
        wake(window, *waterOf(window));
    }
}

bool fadeInPicture(HWND window, std::vector<uint32_t> picture) {
    RippleSurface* surface = rippleSurfaceOf(window);
    if (surface == nullptr || !beginSourceFade(surface, std::move(picture), pictureFadeSteps)) {
        return false;
    }
    wake(window, *waterOf(window));
    return true;
}

void dimPicture(HWND window, uint32_t keep) {
    if (RippleSurface* surface = rippleSurfaceOf(window)) {
        std::vector<uint32_t> dimmer = dimmedSource(*surface, keep);
        if (!dimmer.empty() && beginSourceFade(surface, std::move(dimmer), pictureFadeSteps)) {
            wake(window, *waterOf(window));
        }
    }
}

bool registerRippleClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    // No CS_PARENTDC: a water inside a window that has no surface of its own to draw on
    // (the shell's on the desktop) clips by its own edges, not its parent's.
    windowClass.style = 0;
    windowClass.lpfnWndProc = rippleWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = rippleClassName;
    return RegisterClassExA(&windowClass) != 0;
}

LRESULT CALLBACK rippleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return onCreate(window, lParam);
    }
    Water* water = waterOf(window);
    if (water == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    RippleSurface* surface = water->surface.get();
    switch (message) {
    case WM_PAINT:
        paint(window, reinterpret_cast<HDC>(wParam), *surface);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case fadeBandMessage:
        water->fadeBandPosted = false;
        if (surface->fade != nullptr) {
            fadeBand(window, *water);
        }
        return 0;
    case WM_TIMER:
        if (wParam == rippleRainTimerId && !water->options.rainSteps) {
            dropRain(surface, water->options.rain);
            wake(window, *water);
        } else {
            step(window, *water, wParam == rippleRainTimerId);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (!water->options.takesActivation) {
            return MA_NOACTIVATE;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        if (water->options.staysAtBottom) {
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            position->hwndInsertAfter = HWND_BOTTOM;
            position->flags &= ~UINT(SWP_NOZORDER);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_NCDESTROY:
        onDestroy(window, water);
        return 0;
    default:
        if (isInput(message)) {
            return onInput(window, *water, message, wParam, lParam);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

RippleSurface* createRippleSurface(int32_t x, int32_t y, int32_t width, int32_t height,
                                   unsigned controlId, HWND parent, HINSTANCE instance,
                                   HBITMAP background, const RippleOptions& options) {
    OwnedRippleSurface surface = allocateRippleSurface(width, height);
    if (surface == nullptr) {
        return nullptr;
    }
    if (background != nullptr) {
        copyBackground(*surface, background);
    }
    RippleSurface* shown = surface.get();
    auto water = std::make_unique<Water>(Water{std::move(surface), options});
    const auto childId = static_cast<UINT_PTR>(controlId & 0xFFFFu);
    const bool child = (options.style & WS_CHILD) != 0;
    HWND window = CreateWindowExA(
        options.exStyle, rippleClassName, nullptr, options.style, x, y, width, height, parent,
        child ? reinterpret_cast<HMENU>(childId) : nullptr, instance, water.get());
    if (window == nullptr) {
        return nullptr;
    }
    shown->window = window;
    water.release()->adopted = true; // given back to an owner by the window's WM_NCDESTROY
    return shown;
}
