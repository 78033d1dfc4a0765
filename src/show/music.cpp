#include "show/music.h"

#include <shlwapi.h>
#include <tlhelp32.h>

#include <string_view>
#include <utility>

#include "show/music_type.h"
#include "win32/path_limit.h"
#include "text/text.h"
#include "win32/handles.h"
#include "win32/read_only_file.h"
#include "win32/wide.h"

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

// The last component of a path: what a device's name is checked against.
std::string_view lastPathComponent(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// Opens the file the path names, links followed, and reads its first bytes: false for what
// is no regular file on a disk (a folder, a device, a pipe), for a final name that is a
// device's, and for bytes that begin a program or a script, whatever the file is called.
bool holdsNoProgram(const std::string& path) {
    const win32::ReadOnlyFile file(path);
    uint64_t bytes = 0;
    if (!file.size(bytes)) {
        return false;
    }
    const std::string finalPath = file.finalPath();
    if (finalPath.empty() || isDeviceName(lastPathComponent(finalPath))) {
        return false;
    }
    char first[16] = {};
    const size_t read = file.readSome(first, sizeof(first));
    return !startsLikeAProgram(std::string_view(first, read));
}

} // namespace

bool isPlayableMusic(const std::string& path) {
    // The shape and the name first: nothing reaches the file system or the registry for a
    // web address or a device (opening COM1 could wait for a modem).
    if (!hasPlainFilePathShape(path) || !fitsPathLimit(path) ||
        isDeviceName(lastPathComponent(path))) {
        return false;
    }
    const std::string extension = fileNameExtension(path);
    return isMusicType(extension, {classesValue(extension, "PerceivedType"),
                                   classesValue(extension, "Content Type")}) &&
           holdsNoProgram(path);
}

bool MusicPlayer::start(const std::string& path, bool quietly) {
    stop();
    if (!isPlayableMusic(path)) {
        return false; // never handed to the shell, which would run or open anything
    }
    // Handed over as a file of its extension's type, so that no shell tries to start it as a
    // program first (Wine's does, before it looks at the type).
    const std::wstring file = win32::widen(path);
    const std::wstring type = win32::widen(fileNameExtension(path)).insert(0, 1, L'.');
    SHELLEXECUTEINFOW launch{};
    launch.cbSize = sizeof(launch);
    launch.fMask =
        SEE_MASK_NOCLOSEPROCESS | SEE_MASK_CLASSNAME | (quietly ? SEE_MASK_FLAG_NO_UI : 0);
    launch.nShow = SW_SHOWMINNOACTIVE;
    launch.lpFile = file.c_str();
    launch.lpClass = type.c_str();
    GetSystemTimeAsFileTime(&launchTime_);
    const bool started = ShellExecuteExW(&launch) != FALSE;
    process_.reset(launch.hProcess); // null when a running player took the file
    if (started) {
        path_ = path;
    }
    return started;
}

void MusicPlayer::notePlayer() {
    playerExeName = findPlayerExeName(path_);
}

void MusicPlayer::stop() {
    if (path_.empty()) {
        return;
    }
    path_.clear();
    // The launched player's handle is given back whether or not it could be ended.
    const win32::Handle launched(std::move(process_));
    if (terminateByHandle(launched.get())) {
        return;
    }
    if (playerExeName.size() > 2) {
        terminateByExeName(playerExeName, launchTime_);
    }
}

std::string findPlayerExeName(const std::string& path) {
    if (path.empty() || !fitsPathLimit(path)) {
        return {};
    }
    wchar_t executable[MAX_PATH] = {};
    const auto found =
        reinterpret_cast<INT_PTR>(FindExecutableW(win32::widen(path).c_str(), nullptr, executable));
    return found > 32 ? win32::narrow(PathFindFileNameW(executable)) : std::string();
}

bool terminateByHandle(HANDLE process) {
    if (process == nullptr) {
        return false;
    }
    if (TerminateProcess(process, 0)) {
        return true;
    }
    const win32::Handle again(OpenProcess(PROCESS_TERMINATE, FALSE, GetProcessId(process)));
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
