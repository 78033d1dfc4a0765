// Prints what a top-level window of another process shows, for the end-to-end scripts:
// window_probe CAPTION writes "visible 0|1", "foreground 0|1", then a line "ID X Y W H TEXT"
// for each control,
// with its place on the screen. Exits 1 when there is no such window.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr) {
        return 1;
    }
    std::printf("visible %d\n", IsWindowVisible(window) ? 1 : 0);
    std::printf("foreground %d\n", GetForegroundWindow() == window ? 1 : 0);
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // Asked of the control itself: an edit control keeps its text to itself.
        char text[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, &length);
        RECT box;
        GetWindowRect(child, &box);
        std::printf("%d %ld %ld %ld %ld %s\n", GetDlgCtrlID(child), box.left, box.top,
                    box.right - box.left, box.bottom - box.top, text);
    }
    return 0;
}
