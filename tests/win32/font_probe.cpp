// Prints the pixels per inch of a window of this process and the character height of the
// ticker's font made for them: "DPI HEIGHT".
#include <windows.h>

#include <cstdio>

#include "skin/window_fades.h"
#include "win32/dpi.h"
#include "win32/handles.h"

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    const int dpi = win32::dpiOfWindow(window);
    const win32::Font font = createPointFont("Arial", 12, FW_BOLD, 0, dpi);
    LOGFONTA description{};
    GetObjectA(font.get(), sizeof(description), &description);
    std::printf("%d %ld\n", dpi, -description.lfHeight);
    return 0;
}
