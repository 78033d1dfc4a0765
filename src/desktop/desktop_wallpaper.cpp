// The per-monitor wallpaper object came with Windows 8; whether it is there is found at run
// time, so its declarations are taken in although the program runs on Windows 7.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "desktop/desktop_wallpaper.h"

#include <shobjidl.h>

#include <cwchar>
#include <iterator>

#include "win32/handles.h"
#include "win32/wide.h"

namespace {

WallpaperFit fitOfPosition(DESKTOP_WALLPAPER_POSITION position) {
    switch (position) {
    case DWPOS_CENTER:
        return WallpaperFit::centre;
    case DWPOS_TILE:
        return WallpaperFit::tile;
    case DWPOS_STRETCH:
        return WallpaperFit::stretch;
    case DWPOS_FIT:
        return WallpaperFit::fit;
    case DWPOS_SPAN:
        return WallpaperFit::span;
    case DWPOS_FILL:
        break;
    }
    return WallpaperFit::fill;
}

// Each monitor's picture from the shell's per-monitor wallpaper object; empty where the
// system has none (before Windows 8, or no shell), or where it knows no monitor given.
std::vector<DesktopPicture> perMonitorPictures(const std::vector<RECT>& monitors) {
    const win32::ComScope com;
    win32::ComPtr<IDesktopWallpaper> wallpaper;
    if (FAILED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                reinterpret_cast<void**>(wallpaper.put())))) {
        return {};
    }
    DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
    COLORREF colour = GetSysColor(COLOR_DESKTOP);
    wallpaper->GetPosition(&position);
    wallpaper->GetBackgroundColor(&colour);
    UINT count = 0;
    if (FAILED(wallpaper->GetMonitorDevicePathCount(&count))) {
        return {};
    }
    std::vector<DesktopPicture> pictures(monitors.size());
    std::vector<bool> found(monitors.size());
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr;
        if (FAILED(wallpaper->GetMonitorDevicePathAt(i, &id)) || id == nullptr) {
            continue;
        }
        RECT area{};
        LPWSTR path = nullptr;
        if (SUCCEEDED(wallpaper->GetMonitorRECT(id, &area)) &&
            SUCCEEDED(wallpaper->GetWallpaper(id, &path))) {
            for (size_t m = 0; m < monitors.size(); ++m) {
                if (EqualRect(&area, &monitors[m])) {
                    pictures[m] = {path != nullptr ? win32::narrow(path) : std::string(),
                                   fitOfPosition(position), colour};
                    found[m] = true;
                }
            }
        }
        CoTaskMemFree(path);
        CoTaskMemFree(id);
    }
    for (bool seen : found) {
        if (!seen) {
            return {};
        }
    }
    return pictures;
}

int registryNumber(HKEY key, const wchar_t* name) {
    wchar_t text[16] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS) {
        return -1;
    }
    return int(std::wcstol(text, nullptr, 10));
}

// The one picture of every monitor, laid as Control Panel\Desktop says.
DesktopPicture sharedPicture() {
    DesktopPicture picture;
    picture.colour = GetSysColor(COLOR_DESKTOP);
    wchar_t path[MAX_PATH + 1] = {};
    if (SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) {
        picture.path = win32::narrow(path);
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        picture.fit = fitOfStyle(registryNumber(key, L"WallpaperStyle"),
                                 registryNumber(key, L"TileWallpaper") == 1);
        RegCloseKey(key);
    }
    return picture;
}

// Progman and the WorkerW windows: the shell's desktop, where it has one.
BOOL CALLBACK repaintShellWindow(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, int(std::size(name)));
    if (std::wcscmp(name, L"Progman") == 0 || std::wcscmp(name, L"WorkerW") == 0) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

} // namespace

WallpaperFit fitOfStyle(int wallpaperStyle, bool tiled) {
    switch (wallpaperStyle) {
    case 0:
        return tiled ? WallpaperFit::tile : WallpaperFit::centre;
    case 2:
        return WallpaperFit::stretch;
    case 6:
        return WallpaperFit::fit;
    case 22:
        return WallpaperFit::span;
    default:
        return WallpaperFit::fill; // 10, and what Windows takes a missing value for
    }
}

std::vector<DesktopPicture> desktopPictures(const std::vector<RECT>& monitors) {
    std::vector<DesktopPicture> pictures = perMonitorPictures(monitors);
    if (pictures.empty()) {
        pictures.assign(monitors.size(), sharedPicture());
    }
    return pictures;
}

void repaintDesktopWallpaper() {
    // Only a repaint: writing the wallpaper setting back, even unchanged, would turn
    // per-monitor pictures into one and end a slideshow or Spotlight.
    EnumWindows(repaintShellWindow, 0);
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
}
