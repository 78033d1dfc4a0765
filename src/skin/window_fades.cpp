#include "skin/window_fades.h"

#include "win32/handles.h"

namespace {

void makeLayered(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
}

void applyOpacity(HWND window, int alpha) {
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
}

} // namespace

void fadeIn(HWND window, int stepDelayMs, int alphaBound) {
    makeLayered(window);
    for (int alpha = 0; alpha < alphaBound; alpha += 5) {
        applyOpacity(window, alpha);
        Sleep(static_cast<DWORD>(stepDelayMs));
        // The caller's message loop is not running: paint now, so the window fades in whole.
        UpdateWindow(window);
        ShowWindow(window, SW_SHOW);
    }
}

void fadeOut(HWND window, int stepDelayMs, int startAlpha) {
    makeLayered(window);
    for (int alpha = startAlpha; alpha > 0; alpha -= 10) {
        applyOpacity(window, alpha);
        Sleep(static_cast<DWORD>(stepDelayMs));
    }
}

win32::Font createPointFont(const char* faceName, int points, int weight, int escapement,
                            int pixelsPerInch) {
    const int pixels = MulDiv(points, pixelsPerInch, 72);
    // A negative height asks for the character height rather than the cell height.
    return win32::Font(CreateFontA(-pixels, 0, escapement, escapement, weight, FALSE, FALSE, FALSE,
                                   ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName));
}
