// Preview entry point: covers the screen with water over a capture of the screen, or over
// the BMP file named on the command line. Escape, a close key or a right click ends it.
#include <windows.h>

#include <cstdlib>

#include "ripple/ripple_window.h"
#include "show/effect_state.h"

namespace {

constexpr const char* previewClassName = "PluvettePreview";
constexpr unsigned surfaceControlId = 555;

HBITMAP captureWholeScreen(int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

HBITMAP loadPicture(const char* path, int width, int height) {
    if (path == nullptr || *path == '\0') {
        return captureWholeScreen(width, height);
    }
    return static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, width, height,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (isCloseKey(wParam)) {
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        // The surface window's own close request arrives while this window is torn down.
        effectWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    registerRippleClass(instance);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = previewWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = previewClassName;
    RegisterClassExA(&windowClass);

    surfaceWidth = GetSystemMetrics(SM_CXSCREEN);
    surfaceHeight = GetSystemMetrics(SM_CYSCREEN);
    HBITMAP picture = loadPicture(__argc > 1 ? __argv[1] : nullptr, surfaceWidth, surfaceHeight);

    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, previewClassName, "Pluvette", WS_POPUP | WS_VISIBLE, 0, 0,
                        surfaceWidth, surfaceHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    effectWindow = window;
    std::srand(GetTickCount());
    RippleSurface* surface = createRippleSurface(0, 0, surfaceWidth, surfaceHeight,
                                                 surfaceControlId, window, instance, picture);
    if (picture != nullptr) {
        DeleteObject(picture);
    }
    if (surface != nullptr) {
        SetFocus(static_cast<HWND>(surface->window));
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
