#include "win32/dpi.h"

#include "win32/handles.h"

namespace win32 {

namespace {

// Looked up at run time: the functions are newer than the oldest Windows the program runs on.
template <typename Function> Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

} // namespace

int dpiOfWindow(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (window != nullptr && getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    const WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

void layOutDialogOnDpiChangeItself(HWND dialog) {
    // DDC_DISABLE_ALL, and the mask of what it changes.
    constexpr int disableAll = 0x0001;
    using SetBehaviourFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour =
        user32Function<SetBehaviourFunction>("SetDialogDpiChangeBehavior");
    if (setBehaviour != nullptr) {
        setBehaviour(dialog, disableAll, disableAll);
    }
}

} // namespace win32
