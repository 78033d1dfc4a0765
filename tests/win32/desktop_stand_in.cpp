// A stand-in for the shell's desktop, for tests under Wine, which has none: the windows a
// program meets behind the icons, laid out as the shell's documentation and the programs
// that draw there describe them. Nothing here comes from the shell itself.
//
//   desktop_stand_in run LAYOUT LOG   the desktop until closed; LAYOUT is
//       beside  Progman holds the icons' view and a WorkerW (Windows 11 24H2)
//       worker  Progman makes a top-level WorkerW behind itself on message 0x052C
//       none    Progman answers nothing and holds the icons' view alone
//     It logs "repaint MS" (Unix milliseconds) each time Progman or a WorkerW erases its
//     wallpaper, "wallpaper-set MS" for each SPI_SETDESKWALLPAPER broadcast and "selected N"
//     when an icon is selected.
//   desktop_stand_in restart | hide-icons | show-icons | show-desktop | show-windows
//                               asks the running desktop; "show desktop" raises Progman over
//                               every other window, as Windows does; show-windows brings the
//                               other programs' windows in front of it again
//   desktop_stand_in raise-worker | replace-worker
//                               Progman's WorkerW (beside the icons) put in front of its other
//                               children, or destroyed and made again, in front, as the
//                               shell does when the wallpaper or the slideshow changes
//   desktop_stand_in move-desktop X Y W H   Progman moved and sized, as after a display change
//   desktop_stand_in lock | unlock | close   tells the water on the desktop, as Windows does
//                               when the session is locked or unlocked, or an installer
//                               asks it to close
//   desktop_stand_in layout     prints the windows: "top CLASS X Y W H" from the top down,
//                               then "child PARENT CLASS X Y W H" for Progman's and
//                               WorkerW's children
//   desktop_stand_in at X Y    prints the window at the point, as "at CLASS X Y W H"
//   desktop_stand_in latency SECONDS   asks the water on the desktop's window for nothing every
//                               5 ms and prints how long its thread took to answer, as
//                               "latency p99 MS max MS over N"
//   desktop_stand_in window X Y W H [maximised | click-through | translucent]
//                               another program's window until killed; click-through is
//                               layered and WS_EX_TRANSPARENT, translucent layered at alpha 128
//
// The icons' view is transparent but for its icons and their names (a window region), as the
// real one looks; the desktop's own wallpaper is a plain teal. The icons stand in a column at the
// left of the primary monitor, from 80 pixels down.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT restartMessage = WM_APP + 1;
constexpr UINT hideIconsMessage = WM_APP + 2;
constexpr UINT showIconsMessage = WM_APP + 3;
constexpr UINT showDesktopMessage = WM_APP + 4;
constexpr UINT showWindowsMessage = WM_APP + 5;
constexpr UINT raiseWorkerMessage = WM_APP + 6;
constexpr UINT replaceWorkerMessage = WM_APP + 7;
constexpr UINT moveDesktopMessage = WM_APP + 8; // wParam: x and y, lParam: width and height
constexpr COLORREF wallpaperColour = RGB(0, 128, 128);
constexpr int iconCount = 3;
constexpr int iconCell = 80; // icons in a column at the primary monitor's left
constexpr int iconsTop = 80; // below the place of Wine's own notification area

struct Desktop {
    std::string layout;
    std::string log;
    HWND progman = nullptr;
    HWND icons = nullptr;
    HWND list = nullptr;
    HWND worker = nullptr;
    bool raised = false; // "show desktop": Progman over the other windows
};
Desktop* desktop = nullptr; // one desktop per process, as the shell's

void logLine(const char* text) {
    if (FILE* file = std::fopen(desktop->log.c_str(), "a")) {
        std::fprintf(file, "%s\n", text);
        std::fclose(file);
    }
}

long long unixMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (long long)(ticks / 10000 - 11644473600000ULL);
}

RECT virtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// What the icons' list draws where it has no icon, cut out of the view's shape.
constexpr COLORREF iconsBackground = RGB(0, 64, 64);

// The icons and their names as the list draws them, as a region in a window whose client
// origin is the virtual screen's corner: the real view shows only those over the wallpaper.
// The whole column when the list cannot be drawn into a picture.
HRGN iconsRegion() {
    const RECT screen = virtualScreen();
    const int left = -screen.left, top = -screen.top + iconsTop;
    const int width = iconCell, height = iconCell * iconCount;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (picture != nullptr && dc != nullptr && desktop->list != nullptr) {
        HGDIOBJ old = SelectObject(dc, picture);
        SendMessageW(desktop->list, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
        const auto* pixels = static_cast<const DWORD*>(bits);
        const DWORD background = DWORD(GetRValue(iconsBackground)) << 16 |
                                 DWORD(GetGValue(iconsBackground)) << 8 |
                                 GetBValue(iconsBackground);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width;) {
                if ((pixels[y * width + x] & 0xFFFFFF) == background) {
                    ++x;
                    continue;
                }
                int end = x + 1;
                while (end < width && (pixels[y * width + end] & 0xFFFFFF) != background) {
                    ++end;
                }
                HRGN run = CreateRectRgn(left + x, top + y, left + end, top + y + 1);
                CombineRgn(shape, shape, run, RGN_OR);
                DeleteObject(run);
                x = end;
            }
        }
        SelectObject(dc, old);
    }
    DeleteDC(dc);
    DeleteObject(picture);
    RECT bounds;
    if (GetRgnBox(shape, &bounds) == NULLREGION) {
        SetRectRgn(shape, left, top, left + width, top + height);
    }
    return shape;
}

LRESULT CALLBACK wallpaperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING && GetParent(window) == nullptr) {
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM; // behind Progman
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        char line[64];
        std::snprintf(line, sizeof(line), "repaint %lld", unixMs());
        logLine(line);
        RECT area;
        GetClientRect(window, &area);
        HBRUSH brush = CreateSolidBrush(wallpaperColour);
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void makeDesktop();

void destroyDesktop() {
    if (desktop->worker != nullptr && GetParent(desktop->worker) == nullptr) {
        DestroyWindow(desktop->worker);
    }
    DestroyWindow(desktop->progman);
    desktop->progman = desktop->icons = desktop->list = desktop->worker = nullptr;
}

BOOL CALLBACK raiseOtherProgram(HWND window, LPARAM) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wcscmp(name, L"SomeProgram") == 0) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return TRUE;
}

LRESULT CALLBACK progmanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case 0x052C:
        if (desktop->layout == "worker" && desktop->worker == nullptr) {
            const RECT screen = virtualScreen();
            // Behind Progman, which stays where it is from now on.
            desktop->worker = CreateWindowExW(
                WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"WorkerW", L"", WS_POPUP, screen.left,
                screen.top, screen.right - screen.left, screen.bottom - screen.top, nullptr,
                nullptr, GetModuleHandleW(nullptr), nullptr);
            SetWindowPos(desktop->worker, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            // Wine raises a window it has just shown once X has mapped it; the shell answers
            // with its windows in place, so the stand-in waits for that and puts it back.
            const DWORD until = GetTickCount() + 400;
            for (MSG pending; GetTickCount() < until;) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
                    DispatchMessageW(&pending);
                }
            }
            SetWindowPos(desktop->worker, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETDESKWALLPAPER) {
            char line[64];
            std::snprintf(line, sizeof(line), "wallpaper-set %lld", unixMs());
            logLine(line);
        }
        return 0;
    case WM_NOTIFY: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->hdr.code == LVN_ITEMCHANGED && (change->uNewState & LVIS_SELECTED) != 0) {
            char line[32];
            std::snprintf(line, sizeof(line), "selected %d", change->iItem);
            logLine(line);
        }
        return 0;
    }
    case restartMessage:
        destroyDesktop();
        Sleep(300);
        makeDesktop();
        PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        return 0;
    case showDesktopMessage:
        desktop->raised = true;
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    case showWindowsMessage:
        // As a click on a window does: the others come in front of the desktop again.
        desktop->raised = false;
        EnumWindows(raiseOtherProgram, 0);
        return 0;
    case raiseWorkerMessage:
        if (desktop->worker != nullptr && GetParent(desktop->worker) == window) {
            SetWindowPos(desktop->worker, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    case replaceWorkerMessage:
        if (desktop->worker != nullptr && GetParent(desktop->worker) == window) {
            RECT area;
            GetClientRect(window, &area);
            DestroyWindow(desktop->worker);
            // The new one in front of its siblings, where the programs that draw on the
            // desktop find the shell's new WorkerW.
            desktop->worker =
                CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE, 0, 0, area.right,
                                area.bottom, window, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetWindowPos(desktop->worker, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    case moveDesktopMessage:
        SetWindowPos(window, nullptr, short(LOWORD(wParam)), short(HIWORD(wParam)), LOWORD(lParam),
                     HIWORD(lParam), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case hideIconsMessage:
    case showIconsMessage:
        ShowWindow(desktop->icons, message == hideIconsMessage ? SW_HIDE : SW_SHOWNA);
        return 0;
    case WM_WINDOWPOSCHANGING:
        // The shell's desktop stays below every other window (but its WorkerW); another
        // shell's need not.
        if (desktop->layout != "none" && !desktop->raised) {
            auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
            if (desktop->worker != nullptr && GetParent(desktop->worker) == nullptr) {
                position->flags |= SWP_NOZORDER;
            } else {
                position->hwndInsertAfter = HWND_BOTTOM;
            }
        }
        return 0;
    default:
        return wallpaperProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK iconsViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        return SendMessageW(GetParent(window), message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

void makeDesktop() {
    const RECT screen = virtualScreen();
    const int width = screen.right - screen.left, height = screen.bottom - screen.top;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    desktop->progman = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager",
                                       WS_POPUP | WS_CLIPCHILDREN, screen.left, screen.top, width,
                                       height, nullptr, nullptr, instance, nullptr);
    desktop->icons = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                                     width, height, desktop->progman, nullptr, instance, nullptr);
    // The list covers the icons' column only, where it arranges them itself (Wine's list
    // draws its icons where it first arranged them, whatever positions it is given later).
    desktop->list = CreateWindowExW(
        0, WC_LISTVIEWW, L"FolderView",
        WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_EDITLABELS,
        -screen.left, -screen.top + iconsTop, iconCell, iconCell * iconCount, desktop->icons,
        nullptr, instance, nullptr);
    ListView_SetIconSpacing(desktop->list, iconCell, iconCell);
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, iconCount, 0);
    for (int shellIcon : {3, 31, 325}) { // a folder, the recycle bin, a picture
        HICON icon = ExtractIconW(instance, L"shell32.dll", shellIcon);
        ImageList_AddIcon(images, icon != nullptr && icon != HICON(1)
                                      ? icon
                                      : LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    }
    ListView_SetImageList(desktop->list, images, LVSIL_NORMAL);
    ListView_SetBkColor(desktop->list, iconsBackground);
    ListView_SetTextBkColor(desktop->list, iconsBackground);
    ListView_SetTextColor(desktop->list, RGB(255, 255, 255));
    const wchar_t* names[iconCount] = {L"Documents", L"Recycle Bin", L"Photos"};
    for (int i = 0; i < iconCount; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        item.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(desktop->list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    // Only the icons are drawn: elsewhere whatever lies behind the view shows.
    SetWindowRgn(desktop->icons, iconsRegion(), FALSE);
    if (desktop->layout == "beside") {
        // Drawn under its siblings, as the compositor draws the layered windows above it.
        desktop->worker =
            CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                            width, height, desktop->progman, nullptr, instance, nullptr);
        SetWindowPos(desktop->worker, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        // Without its WorkerW child, Progman itself is as transparent as its icons' view.
        SetWindowRgn(desktop->progman, iconsRegion(), FALSE);
    }
    SetWindowPos(desktop->progman, HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

int runDesktop(const char* layout, const char* log) {
    Desktop own{layout, log};
    desktop = &own;
    registerClass(L"Progman", progmanProc);
    registerClass(L"SHELLDLL_DefView", iconsViewProc);
    registerClass(L"WorkerW", wallpaperProc);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    makeDesktop();
    RECT item{};
    ListView_GetItemRect(desktop->list, 0, &item, LVIR_BOUNDS);
    char line[96];
    std::snprintf(line, sizeof(line), "ready (the first icon at %ld %ld %ld %ld)", item.left,
                  item.top, item.right, item.bottom);
    logLine(line);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void printWindow(const char* prefix, HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    RECT area{};
    GetWindowRect(window, &area);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::printf("%s%s %ld %ld %ld %ld%s %p %lu\n", prefix, name, area.left, area.top,
                area.right - area.left, area.bottom - area.top,
                IsWindowVisible(window) ? "" : " hidden", (void*)window, process);
}

BOOL CALLBACK printTop(HWND window, LPARAM) {
    if (IsWindowVisible(window)) {
        printWindow("top ", window);
    }
    return TRUE;
}

void printChildren(HWND parent) {
    char name[64] = {};
    GetClassNameA(parent, name, sizeof(name));
    const std::string prefix = std::string("child ") + name + " ";
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        printWindow(prefix.c_str(), child);
    }
}

BOOL CALLBACK printDesktopChildren(HWND window, LPARAM) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::strcmp(name, "Progman") == 0 || std::strcmp(name, "WorkerW") == 0) {
        printChildren(window);
    }
    return TRUE;
}

int runLatency(int seconds) {
    HWND wallpaper = FindWindowW(L"PluvetteWallpaper", nullptr);
    if (wallpaper == nullptr) {
        return 1;
    }
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> waits;
    for (const DWORD until = GetTickCount() + DWORD(seconds) * 1000; GetTickCount() < until;) {
        DWORD_PTR answer = 0;
        QueryPerformanceCounter(&before);
        SendMessageTimeoutW(wallpaper, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
        QueryPerformanceCounter(&after);
        waits.push_back(double(after.QuadPart - before.QuadPart) * 1000.0 /
                        double(frequency.QuadPart));
        Sleep(5);
    }
    std::sort(waits.begin(), waits.end());
    std::printf("latency p99 %.1f max %.1f over %zu\n", waits[waits.size() * 99 / 100],
                waits.back(), waits.size());
    return 0;
}

int runWindow(int argc, char** argv) {
    registerClass(L"SomeProgram", DefWindowProcW);
    const std::string kind = argc > 6 ? argv[6] : "";
    const DWORD exStyle = kind == "click-through" ? WS_EX_LAYERED | WS_EX_TRANSPARENT
                          : kind == "translucent" ? WS_EX_LAYERED
                                                  : 0;
    HWND window = CreateWindowExW(exStyle, L"SomeProgram", L"Some program",
                                  exStyle != 0 ? WS_POPUP : WS_OVERLAPPEDWINDOW, std::atoi(argv[2]),
                                  std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (exStyle != 0) {
        SetLayeredWindowAttributes(window, 0, kind == "translucent" ? 128 : 255, LWA_ALPHA);
    }
    ShowWindow(window, kind == "maximised" ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run" && argc > 3) {
        return runDesktop(argv[2], argv[3]);
    }
    if (command == "window" && argc > 5) {
        return runWindow(argc, argv);
    }
    if (command == "latency" && argc > 2) {
        return runLatency(std::atoi(argv[2]));
    }
    if (command == "at" && argc > 3) {
        printWindow("at ", WindowFromPoint({std::atoi(argv[2]), std::atoi(argv[3])}));
        return 0;
    }
    if (command == "layout") {
        if (HWND foreground = GetForegroundWindow()) {
            printWindow("foreground ", foreground);
        }
        EnumWindows(printTop, 0);
        EnumWindows(printDesktopChildren, 0);
        return 0;
    }
    if (command == "lock" || command == "unlock" || command == "close") {
        HWND wallpaper = FindWindowW(L"PluvetteWallpaper", nullptr);
        if (wallpaper == nullptr) {
            return 1;
        }
        if (command == "close") {
            PostMessageW(wallpaper, WM_CLOSE, 0, 0);
        } else {
            SendMessageW(wallpaper, WM_WTSSESSION_CHANGE,
                         command == "lock" ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK, 0);
        }
        return 0;
    }
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (command == "move-desktop" && argc > 5) {
        wParam = MAKEWPARAM(std::atoi(argv[2]), std::atoi(argv[3]));
        lParam = MAKELPARAM(std::atoi(argv[4]), std::atoi(argv[5]));
    }
    const UINT message = command == "restart"                    ? restartMessage
                         : command == "raise-worker"             ? raiseWorkerMessage
                         : command == "replace-worker"           ? replaceWorkerMessage
                         : command == "move-desktop" && argc > 5 ? moveDesktopMessage
                         : command == "hide-icons"               ? hideIconsMessage
                         : command == "show-icons"               ? showIconsMessage
                         : command == "show-desktop"             ? showDesktopMessage
                         : command == "show-windows"             ? showWindowsMessage
                                                                 : 0;
    HWND progman = FindWindowW(L"Progman", nullptr);
    if (message == 0 || progman == nullptr) {
        std::fprintf(stderr,
                     "usage: desktop_stand_in run|restart|hide-icons|show-icons|show-desktop|"
                     "show-windows|raise-worker|replace-worker|move-desktop|layout|window\n");
        return 2;
    }
    PostMessageW(progman, message, wParam, lParam);
    return 0;
}
