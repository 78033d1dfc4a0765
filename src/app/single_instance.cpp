#include "app/single_instance.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "text/text.h"
#include "win32/wide.h"

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return lowerAscii(c); });
    return text;
}

// This program file's full path, lower-cased: the same file however it was started.
std::string programPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return lowered(win32::narrow({path, length < MAX_PATH ? length : 0}));
}

// Names may not hold backslashes: the path goes into the name as its 64-bit FNV-1a hash.
uint64_t hashOf(const std::string& text) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

std::string processPath(DWORD processId) {
    const win32::Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = MAX_PATH;
    if (!process.valid() || !QueryFullProcessImageNameW(process.get(), 0, path, &length)) {
        return {};
    }
    return lowered(win32::narrow({path, length}));
}

BOOL CALLBACK raiseIfOurLauncher(HWND window, LPARAM ownPath) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (GetPropW(window, launcherMark) == nullptr || processId == GetCurrentProcessId() ||
        processPath(processId) != *reinterpret_cast<const std::string*>(ownPath)) {
        return TRUE;
    }
    if (IsWindowVisible(window)) {
        if (IsIconic(window)) {
            ShowWindow(window, SW_RESTORE);
        }
        SetForegroundWindow(window);
    }
    return FALSE;
}

} // namespace

std::optional<win32::Handle> claimInstance(InstanceRole role) {
    char name[64] = "Local\\Pluvette-wallpaper";
    if (role != InstanceRole::wallpaper) {
        std::snprintf(name, sizeof(name), "Local\\Pluvette-%s-%016llx",
                      role == InstanceRole::launcher ? "launcher" : "screen-saver",
                      static_cast<unsigned long long>(hashOf(programPath())));
    }
    win32::Handle lock(CreateMutexA(nullptr, FALSE, name));
    if (lock.valid() && GetLastError() == ERROR_ALREADY_EXISTS) {
        return std::nullopt;
    }
    return lock;
}

void bringRunningLauncherForward() {
    const std::string ownPath = programPath();
    EnumWindows(raiseIfOurLauncher, reinterpret_cast<LPARAM>(&ownPath));
}
