#include "show/music.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <utility>

#include "settings/program_settings.h"
#include "show/music_type.h"
#include "show/path_limit.h"
#include "text/text.h"
#include "win32/handles.h"
#include "win32/wide.h"

SHELLEXECUTEINFOW musicLaunchInfo{};
std::string playerExeName;
FILETIME musicLaunchTime{};

namespace {

bool startedSince(HANDLE process, FILETIME since) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return false;
    }
    return CompareFileTime(&created, &since) >= 0;
}

// What the machine-wide classes say of a file type; Wine looks file types up there too.
std::string classesValue(const std::string& extension, const char* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof(value);
    const std::wstring key = win32::widen("." + extension);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), win32::widen(name).c_str(), RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
        return {};
    }
    return win32::narrow(value);
}

bool isExistingFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win32::widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

} // namespace

bool isPlayableMusic(const std::string& path) {
    // The shape first: nothing reaches the file system or the registry for a web address
    // or a device.
    if (!hasPlainFilePathShape(path) || !fitsPathLimit(path)) {
        return false;
    }
    const std::string extension = fileNameExtension(path);
    return isExistingFile(path) &&
           isMusicType(extension, {classesValue(extension, "PerceivedType"),
                                   classesValue(extension, "Content Type")});
}

bool musicChosen() {
    return soundSetting.size() > 5;
}

bool startMusic(bool quietly) {
    const win32::Handle earlier(std::exchange(musicLaunchInfo.hProcess, nullptr)); // given back
    musicLaunchInfo = {};
    if (!isPlayableMusic(soundSetting)) {
        return false; // never handed to the shell, which would run or open anything
    }
    musicLaunchInfo.cbSize = sizeof(musicLaunchInfo);
    musicLaunchInfo.fMask = SEE_MASK_NOCLOSEPROCESS | (quietly ? SEE_MASK_FLAG_NO_UI : 0);
    musicLaunchInfo.nShow = SW_SHOWMINNOACTIVE;
    const std::wstring file = win32::widen(soundSetting);
    musicLaunchInfo.lpFile = file.c_str(); // read by the call alone
    GetSystemTimeAsFileTime(&musicLaunchTime);
    const bool started = ShellExecuteExW(&musicLaunchInfo) != FALSE;
    musicLaunchInfo.lpFile = nullptr;
    return started;
}

std::string findPlayerExeName() {
    if (!fitsPathLimit(soundSetting)) {
        return {};
    }
    wchar_t executable[MAX_PATH] = {};
    const auto found = reinterpret_cast<INT_PTR>(
        FindExecutableW(win32::widen(soundSetting).c_str(), nullptr, executable));
    return found > 32 ? win32::narrow(PathFindFileNameW(executable)) : std::string();
}

void stopMusic() {
    if (!musicChosen()) {
        return;
    }
    // The launched player's handle is given back whether or not it could be ended.
    const win32::Handle launched(std::exchange(musicLaunchInfo.hProcess, nullptr));
    if (terminateByHandle(launched.get())) {
        return;
    }
    if (playerExeName.size() > 2) {
        terminateByExeName(playerExeName, musicLaunchTime);
    }
}

bool terminateByHandle(HANDLE process) {
    if (process == nullptr) {
        return false;
    }
    if (TerminateProcess(process, 0)) {
        return true;
    }
    const win32::Handle again(OpenProcess(0x1F0FFF, TRUE, GetProcessId(process)));
    return again.valid() && TerminateProcess(again.get(), 0);
}

void terminateByExeName(const std::string& name, FILETIME since) {
    const win32::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
    if (!snapshot.valid()) {
        return;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (!equalsIgnoringAsciiCase(win32::narrow(entry.szExeFile), name)) {
            continue;
        }
        const win32::Handle process(OpenProcess(
            PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        // Players the user had open before the show keep running, with what they hold.
        if (process.valid() && startedSince(process.get(), since)) {
            TerminateProcess(process.get(), 9);
        }
    }
}
