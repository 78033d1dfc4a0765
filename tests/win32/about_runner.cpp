// Opens the About panel from the program's own resources, as the launcher does, for the
// end-to-end tests and for trying it by hand: about_runner [LAYOUT-FILE]. With a file name it
// writes where the panel and each control sit on the screen, a line each: id x y w h.
// about_runner LAYOUT-FILE DPI then tells the panel, 1.5 s after it opens, that it moved to a
// monitor of that many pixels per inch where it stands, and writes the file again.
// about_runner --open-close N opens the panel N times, closing each as soon as it shows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/web_addresses.h"
#include "skin/about_panel.h"

namespace {

const char* layoutFile = nullptr;
int newDpi = 0;
AboutPanel panel; // the panel this runner opens

void writeLayout(HWND dialog) {
    std::FILE* file = std::fopen(layoutFile, "w");
    if (file == nullptr) {
        return;
    }
    RECT box;
    GetWindowRect(dialog, &box);
    std::fprintf(file, "panel %ld %ld %ld %ld\n", box.left, box.top, box.right - box.left,
                 box.bottom - box.top);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &box);
        std::fprintf(file, "%d %ld %ld %ld %ld\n", GetDlgCtrlID(child), box.left, box.top,
                     box.right - box.left, box.bottom - box.top);
    }
    std::fclose(file);
}

void CALLBACK reportLayout(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    writeLayout(panel.form.window);
}

void CALLBACK changeDpi(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = panel.form.window;
    RECT suggested;
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    writeLayout(dialog);
}

void CALLBACK closePanel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(panel.form.window, WM_CLOSE, 0, 0);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc == 3 && std::strcmp(__argv[1], "--open-close") == 0) {
        panel.fadeStepMs = 0;
        for (int opening = std::atoi(__argv[2]); opening > 0; --opening) {
            SetTimer(nullptr, 0, 1, closePanel);
            runAboutPanel(instance, panel);
        }
        return 0;
    }
    if (__argc > 1) {
        layoutFile = __argv[1];
        SetTimer(nullptr, 0, 100, reportLayout); // runs in the panel's modal loop
    }
    if (__argc > 2) {
        newDpi = std::atoi(__argv[2]);
        SetTimer(nullptr, 0, 1500, changeDpi);
    }
    panel.links = aboutLinks;
    return static_cast<int>(runAboutPanel(instance, panel));
}
