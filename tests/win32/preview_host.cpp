// Stands in for the little monitor of Windows' screen-saver settings: preview_host FILE MS
// opens a 240 x 180 window at (100, 100), writes its handle in decimal to FILE, keeps it for
// MS milliseconds, then destroys it and ends a second later.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "message_pump.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    HWND window =
        CreateWindowExA(0, "STATIC", "Preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                        100, 240, 180, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::FILE* file = std::fopen(argv[1], "w");
    if (window == nullptr || file == nullptr) {
        return 1;
    }
    std::fprintf(file, "%llu\n",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    std::fclose(file);
    pumpMessagesFor(static_cast<DWORD>(std::atoi(argv[2])));
    DestroyWindow(window);
    pumpMessagesFor(1000);
    return 0;
}
