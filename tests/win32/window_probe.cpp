// Prints what a top-level window of another process shows, for the end-to-end scripts:
// window_probe CAPTION writes "visible 0|1", "foreground 0|1", then a line "ID X Y W H TEXT"
// for each control, with its place on the screen and its text in UTF-8, "disabled ID" for each
// control that is disabled, "right-to-left ID" and "mirrored ID" for each that reads or is laid
// out right to left, and "tip X Y W H" for each tooltip of its thread that shows;
// window_probe CAPTION deep prints the controls inside controls too; window_probe CAPTION post
// NUMBER posts the message to the window instead. Exits 1 when there is no such window.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

BOOL CALLBACK printShownTooltip(HWND window, LPARAM) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof(name));
    RECT box;
    if (std::strcmp(name, "tooltips_class32") == 0 && IsWindowVisible(window) &&
        GetWindowRect(window, &box)) {
        std::printf("tip %ld %ld %ld %ld\n", box.left, box.top, box.right - box.left,
                    box.bottom - box.top);
    }
    return TRUE;
}

// Prints each control of the window (and, deep, the controls inside them, as a wizard's page
// holds its own): "ID X Y W H TEXT", and "disabled ID" for one that is disabled.
void printControls(HWND window, bool deep) {
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        // Asked of the control itself: an edit control keeps its text to itself.
        // In UTF-8, so that names in any language come out as they are.
        wchar_t wide[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide),
                            SMTO_ABORTIFHUNG, 2000, &length);
        char text[4096] = {};
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        RECT box;
        GetWindowRect(child, &box);
        std::printf("%d %ld %ld %ld %ld %s\n", GetDlgCtrlID(child), box.left, box.top,
                    box.right - box.left, box.bottom - box.top, text);
        if (!IsWindowEnabled(child)) {
            std::printf("disabled %d\n", GetDlgCtrlID(child));
        }
        const LONG_PTR extended = GetWindowLongPtrW(child, GWL_EXSTYLE);
        if ((extended & WS_EX_RTLREADING) != 0) {
            std::printf("right-to-left %d\n", GetDlgCtrlID(child));
        }
        if ((extended & WS_EX_LAYOUTRTL) != 0) {
            std::printf("mirrored %d\n", GetDlgCtrlID(child));
        }
        if (deep) {
            printControls(child, true);
        }
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    // The caption from the wide command line: in any language, whatever the code page.
    int count = 0;
    LPWSTR* wideArguments = CommandLineToArgvW(GetCommandLineW(), &count);
    HWND window = count >= 2 ? FindWindowW(nullptr, wideArguments[1]) : nullptr;
    LocalFree(wideArguments);
    if (window == nullptr) {
        return 1;
    }
    if (argc >= 4 && std::strcmp(argv[2], "post") == 0) {
        const auto message = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
        return PostMessageA(window, message, 0, 0) ? 0 : 1;
    }
    std::printf("visible %d\n", IsWindowVisible(window) ? 1 : 0);
    std::printf("foreground %d\n", GetForegroundWindow() == window ? 1 : 0);
    printControls(window, argc >= 3 && std::strcmp(argv[2], "deep") == 0);
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), printShownTooltip, 0);
    return 0;
}
