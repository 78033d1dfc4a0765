#include "settings/file_access.h"

#include <cstdio>
#include <cstdlib>

#include "win32/handles.h"
#include "win32/read_only_file.h"

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#include <process.h>

#include "win32/wide.h"
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Paths are UTF-8; Windows takes them as UTF-16 through the wide forms of its calls.
win32::CFile openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    return win32::CFile(_wfopen(win32::widen(path).c_str(), win32::widen(mode).c_str()));
#else
    return win32::CFile(std::fopen(path.c_str(), mode));
#endif
}

int removeFile(const std::string& path) {
#ifdef _WIN32
    return _wremove(win32::widen(path).c_str());
#else
    return std::remove(path.c_str());
#endif
}

// Pushes the file's bytes down to the disk before it replaces the old one.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool moveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExW(win32::widen(from).c_str(), win32::widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

// Whether the file is marked read-only (on Windows its attribute, elsewhere no write
// permission for anybody). Asked of the mark itself: Windows refuses to write or replace such
// a file, but Wine run as root, like any root process, would write it all the same.
bool markedReadOnly(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(win32::widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
#else
    struct stat status {};
    return stat(path.c_str(), &status) == 0 &&
           (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}

// An existing file that is marked read-only or cannot be opened for writing is one the user
// protected.
bool writableOrAbsent(const std::string& path) {
    if (markedReadOnly(path)) {
        return false;
    }
    if (!openFile(path, "rb")) {
        return true; // absent
    }
    return bool(openFile(path, "r+b"));
}

unsigned long thisProcess() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

bool processRuns(unsigned long id) {
#ifdef _WIN32
    const win32::Handle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id)));
    if (!process.valid()) {
        return GetLastError() == ERROR_ACCESS_DENIED; // there, but not ours to see
    }
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
#else
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
#endif
}

// The process id in a file name of the form <base>.<id>.tmp, or 0 when it has another form.
unsigned long savingProcessOf(const std::string& name, const std::string& base) {
    const std::string suffix = ".tmp";
    if (name.size() <= base.size() + 1 + suffix.size() || name.compare(0, base.size(), base) != 0 ||
        name[base.size()] != '.' ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return 0;
    }
    const std::string digits =
        name.substr(base.size() + 1, name.size() - base.size() - 1 - suffix.size());
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    return std::strtoul(digits.c_str(), nullptr, 10);
}

// Removes the new files that saves of path by processes no longer running left behind.
void removeStaleReplacements(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = path.substr(folder.size());
    auto removeIfStale = [&](const std::string& name) {
        const unsigned long id = savingProcessOf(name, base);
        if (id != 0 && id != thisProcess() && !processRuns(id)) {
            removeFile(folder + name);
        }
    };
#ifdef _WIN32
    WIN32_FIND_DATAW found{};
    const win32::FileSearch search(win32::widen(path + ".*.tmp").c_str(), found);
    if (!search.found()) {
        return;
    }
    do {
        removeIfStale(win32::narrow(found.cFileName));
    } while (search.next(found));
#else
    const win32::FolderListing listing(folder.empty() ? "." : folder.c_str());
    while (const dirent* entry = listing.next()) {
        removeIfStale(entry->d_name);
    }
#endif
}

} // namespace

namespace {

ReadOutcome readOnce(const std::string& path, std::string& bytes, size_t maxBytes) {
    const win32::ReadOnlyFile file(path);
    if (!file.isOpen()) {
        // Opening a folder fails too. Only a file another program holds is busy; one this
        // user may not read will not become readable by trying again.
#ifdef _WIN32
        const DWORD error = GetLastError(); // the open's
        const DWORD attributes = GetFileAttributesW(win32::widen(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || error == ERROR_FILE_NOT_FOUND ||
            error == ERROR_PATH_NOT_FOUND || error == ERROR_CANT_RESOLVE_FILENAME) {
            return ReadOutcome::missing; // a link to nowhere or in a loop among them
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return ReadOutcome::notAFile;
        }
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
                   ? ReadOutcome::busy
                   : ReadOutcome::unreadable;
#else
        const int error = errno; // the open's
        struct stat status {};
        if (stat(path.c_str(), &status) != 0) {
            return errno == EACCES ? ReadOutcome::unreadable : ReadOutcome::missing;
        }
        if (!S_ISREG(status.st_mode)) {
            return ReadOutcome::notAFile;
        }
        return error == EAGAIN || error == EBUSY || error == ETXTBSY ? ReadOutcome::busy
                                                                     : ReadOutcome::unreadable;
#endif
    }
    uint64_t size = 0;
    if (!file.size(size) || size > maxBytes) {
        return ReadOutcome::notAFile;
    }
    std::string read(static_cast<size_t>(size), '\0');
    // Up to the end: a file that grew meanwhile is not cut short.
    if (!file.read(read.data(), read.size()) || !file.atEnd()) {
        return ReadOutcome::busy;
    }
    bytes.swap(read);
    return ReadOutcome::read;
}

void pauseFor(unsigned milliseconds) {
#ifdef _WIN32
    Sleep(milliseconds);
#else
    usleep(milliseconds * 1000);
#endif
}

} // namespace

ReadOutcome readWholeFileWhenSettled(const std::string& path, std::string& bytes, size_t maxBytes,
                                     int tries, unsigned pauseMs) {
    ReadOutcome outcome = readOnce(path, bytes, maxBytes);
    for (int again = 1; again < tries && outcome == ReadOutcome::busy; ++again) {
        pauseFor(pauseMs);
        outcome = readOnce(path, bytes, maxBytes);
    }
    return outcome;
}

bool entryExists(const std::string& path) {
#ifdef _WIN32
    // The folder's listing holds a link whatever it leads to.
    WIN32_FIND_DATAW found{};
    return win32::FileSearch(win32::widen(path).c_str(), found).found();
#else
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
#endif
}

bool readWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) {
    return readOnce(path, bytes, maxBytes) == ReadOutcome::read;
}

std::string replacementFileName(const std::string& path) {
    return path + "." + std::to_string(thisProcess()) + ".tmp";
}

bool replaceWholeFile(const std::string& path, const std::string& bytes) {
    if (!writableOrAbsent(path)) {
        return false;
    }
    removeStaleReplacements(path);
    const std::string fresh = replacementFileName(path);
    win32::CFile file = openFile(fresh, "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    written = flushToDisk(file.get()) && written;
    written = file.close() && written;
    if (!written || !moveOver(fresh, path)) {
        removeFile(fresh);
        return false;
    }
    return true;
}

void createEmptyFile(const std::string& path) {
    openFile(path, "wb");
}

bool readableOrCreated(const std::string& path) {
    if (openFile(path, "rb")) {
        return true;
    }
    // Created only where nothing stands: a link to nowhere is not followed.
#ifdef _WIN32
    const win32::Handle created(CreateFileW(win32::widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return created.valid();
#else
    const int created = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    return created >= 0 && close(created) == 0;
#endif
}
