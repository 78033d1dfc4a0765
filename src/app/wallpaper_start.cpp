#include "app/wallpaper_start.h"

#include <vector>

#include "app/single_instance.h"
#include "desktop/desktop_wallpaper.h"
#include "show/wallpaper.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace {

std::wstring programFile() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            return {path.data(), length};
        }
        path.resize(path.size() * 2);
    }
}

std::string fullPathOf(const std::string& file) {
    const std::wstring wide = win32::widen(file.empty() ? std::string("config.txt") : file);
    std::vector<wchar_t> full(MAX_PATH);
    DWORD length = GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length + 1);
        length = GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    return length > 0 && length < full.size() ? win32::narrow({full.data(), length})
                                              : win32::narrow(wide);
}

// The command that starts the wallpaper over the settings file.
std::wstring wallpaperCommand(const std::string& settingsFile) {
    return L"\"" + programFile() + L"\" /w \"" + win32::widen(settingsFile) + L"\"";
}

bool startProcess(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The watchdog holds no handle of ours: it opens this process by its number, which cannot be
// reused while it holds it.
void startWatchdog() {
    startProcess(L"\"" + programFile() + L"\" /watch " + std::to_wstring(GetCurrentProcessId()));
}

} // namespace

int runWallpaper(HINSTANCE instance, const std::string& settingsFile,
                 std::function<void(const std::string&)> openSettings) {
    const auto claimed = claimInstance(InstanceRole::wallpaper);
    if (!claimed) {
        if (HWND running = FindWindowW(wallpaperWindowClass, nullptr)) {
            PostMessageW(running, wallpaperOpenSettingsMessage, 0, 0);
        }
        return 0;
    }
    const std::string file = fullPathOf(settingsFile);
    startWatchdog();
    WallpaperSetup setup;
    setup.settingsFile = file;
    setup.startCommand = win32::narrow(wallpaperCommand(file));
    setup.openSettings = [open = std::move(openSettings), file](HWND) { open(file); };
    Wallpaper wallpaper(std::move(setup));
    return wallpaper.run(instance);
}

bool startWallpaper(const std::string& settingsFile) {
    const std::string file = fullPathOf(settingsFile);
    if (HWND running = FindWindowW(wallpaperWindowClass, nullptr)) {
        COPYDATASTRUCT data{wallpaperSettingsFileData, DWORD(file.size()),
                            const_cast<char*>(file.data())};
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                   SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    }
    return startProcess(wallpaperCommand(file));
}

int runWatchdog(uintptr_t processId) {
    const win32::Handle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(processId)));
    if (!process.valid()) {
        return 1;
    }
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    if (code != 0) {
        repaintDesktopWallpaper();
    }
    return 0;
}
