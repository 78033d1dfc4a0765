#include "settings/file_access.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

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
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

// An existing file that cannot be opened for writing is one the user protected.
bool writableOrAbsent(const std::string& path) {
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    if (existing == nullptr) {
        return true;
    }
    std::fclose(existing);
    std::FILE* writable = std::fopen(path.c_str(), "r+b");
    if (writable == nullptr) {
        return false;
    }
    std::fclose(writable);
    return true;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::string read;
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        read.append(buffer, count);
    }
    const bool complete = std::ferror(file) == 0;
    std::fclose(file);
    if (complete) {
        bytes.swap(read);
    }
    return complete;
}

bool replaceWholeFile(const std::string& path, const std::string& bytes) {
    if (!writableOrAbsent(path)) {
        return false;
    }
    const std::string fresh = path + ".tmp";
    std::FILE* file = std::fopen(fresh.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = flushToDisk(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written || !moveOver(fresh, path)) {
        std::remove(fresh.c_str());
        return false;
    }
    return true;
}

bool truncateOrCreateFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    return std::fclose(file) == 0;
}
