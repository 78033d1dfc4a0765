// Prints the screen's pixels per inch and the character height of the ticker's font, as the
// program makes it: "DPI HEIGHT".
#include <windows.h>

#include <cstdio>

#include "skin/window_fades.h"
#include "win32/handles.h"

int main() {
    const win32::WindowDc screen(nullptr);
    const win32::Font font = createPointFont("Arial", 12, FW_BOLD, 0);
    LOGFONTA description{};
    GetObjectA(font.get(), sizeof(description), &description);
    std::printf("%d %ld\n", GetDeviceCaps(screen.get(), LOGPIXELSY), -description.lfHeight);
    return 0;
}
