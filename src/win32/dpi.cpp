#include "win32/dpi.h"

#include "win32/handles.h"

namespace win32 {

namespace {

// Looked up at run time: the functions are newer than the oldest Windows the program runs on.
template <typename Function> Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

struct DpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND);
    BOOL(WINAPI* setDialogDpiChangeBehavior)(HWND, int, int);
    int(WINAPI* getSystemMetricsForDpi)(int, UINT);
};

// Process-wide: user32's entry points, looked up once.
const DpiFunctions& dpiFunctions() {
    static const DpiFunctions functions{
        user32Function<decltype(DpiFunctions::getDpiForWindow)>("GetDpiForWindow"),
        user32Function<decltype(DpiFunctions::setDialogDpiChangeBehavior)>(
            "SetDialogDpiChangeBehavior"),
        user32Function<decltype(DpiFunctions::getSystemMetricsForDpi)>("GetSystemMetricsForDpi")};
    return functions;
}

} // namespace

int systemMetricForDpi(int index, int dpi) {
    const auto getSystemMetricsForDpi = dpiFunctions().getSystemMetricsForDpi;
    return getSystemMetricsForDpi != nullptr ? getSystemMetricsForDpi(index, UINT(dpi))
                                             : GetSystemMetrics(index);
}

int dpiOfWindow(HWND window) {
    const auto getDpiForWindow = dpiFunctions().getDpiForWindow;
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
    const auto setBehaviour = dpiFunctions().setDialogDpiChangeBehavior;
    if (setBehaviour != nullptr) {
        setBehaviour(dialog, disableAll, disableAll);
    }
}

} // namespace win32
