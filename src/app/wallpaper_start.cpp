#include "app/wallpaper_start.h"

#include <vector>

#include "app/single_instance.h"
#include "desktop/desktop_wallpaper.h"
#include "resources/text_ids.h"
#include "wallpaper/wallpaper.h"
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

// The command that starts the program in a mode over the settings file.
std::wstring commandOver(const wchar_t* mode, const std::string& settingsFile) {
    return L"\"" + programFile() + L"\" " + mode + L" \"" + win32::widen(settingsFile) + L"\"";
}

// The started process, or an empty handle when it could not be started.
win32::Handle startProcess(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return win32::Handle();
    }
    const win32::Handle thread(process.hThread);
    return win32::Handle(process.hProcess);
}

// The watchdog opens this process by its number, which cannot be reused while it holds it.
// A wallpaper that stops as it should ends its watchdog itself, having tidied up already.
win32::Handle startWatchdog() {
    return startProcess(L"\"" + programFile() + L"\" /watch " +
                        std::to_wstring(GetCurrentProcessId()));
}

} // namespace

int runWallpaper(HINSTANCE instance, const ProgramTexts& texts, const std::string& settingsFile) {
    const auto claimed = claimInstance(InstanceRole::wallpaper);
    if (!claimed) {
        if (HWND running = FindWindowW(wallpaperWindowClass, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            AllowSetForegroundWindow(process); // for the launcher it opens
            PostMessageW(running, wallpaperOpenSettingsMessage, 0, 0);
        }
        return 0;
    }
    const std::string file = fullPathOf(settingsFile);
    const win32::Handle watchdog = startWatchdog();
    WallpaperSetup setup;
    setup.settingsFile = file;
    setup.menuTexts = {texts.text(IDS_MENU_PAUSE),       texts.text(IDS_MENU_RESUME),
                       texts.text(IDS_MENU_SETTINGS),    texts.text(IDS_MENU_SIGN_IN),
                       texts.text(IDS_MENU_STOP),        texts.text(IDS_MENU_TRY_AGAIN),
                       texts.text(IDS_WALLPAPER_UNSEEN), texts.rightToLeft()};
    setup.startCommand = [](const std::string& shown) {
        return win32::narrow(commandOver(L"/w", shown));
    };
    setup.openSettings = [](const std::string& shown) {
        // The launcher comes forward as the user asked for it; the water, asked through its
        // menu or by a second start that let it, lets it.
        const win32::Handle launcher = startProcess(commandOver(L"/settings", shown));
        if (launcher.valid()) {
            AllowSetForegroundWindow(GetProcessId(launcher.get()));
        }
    };
    Wallpaper wallpaper(std::move(setup));
    const int code = wallpaper.run(instance);
    if (watchdog.valid()) {
        TerminateProcess(watchdog.get(), 0);
    }
    return code;
}

bool handToRunningWallpaper(const std::string& settingsFile) {
    const HWND running = FindWindowW(wallpaperWindowClass, nullptr);
    if (running == nullptr) {
        return false;
    }
    std::string file = fullPathOf(settingsFile);
    COPYDATASTRUCT data{wallpaperSettingsFileData, DWORD(file.size()), file.data()};
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 5000, &answer) != 0;
}

bool startWallpaper(const std::string& settingsFile) {
    return handToRunningWallpaper(settingsFile) ||
           (FindWindowW(wallpaperWindowClass, nullptr) == nullptr &&
            startProcess(commandOver(L"/w", fullPathOf(settingsFile))).valid());
}

int runWatchdog(uintptr_t processId) {
    const win32::Handle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(processId)));
    if (!process.valid()) {
        return 1;
    }
    WaitForSingleObject(process.get(), INFINITE);
    repaintDesktopWallpaper();
    return 0;
}
