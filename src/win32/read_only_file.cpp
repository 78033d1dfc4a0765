#include "win32/read_only_file.h"

#include <algorithm>

#ifdef _WIN32
#include "win32/wide.h"
#else
#include <sys/stat.h>
#endif

namespace win32 {

#ifdef _WIN32

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : file_(CreateFileW(widen(path).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

bool ReadOnlyFile::isOpen() const {
    return file_.valid();
}

bool ReadOnlyFile::size(uint64_t& bytes) const {
    LARGE_INTEGER length{};
    if (!isOpen() || GetFileType(file_.get()) != FILE_TYPE_DISK ||
        !GetFileSizeEx(file_.get(), &length)) {
        return false;
    }
    bytes = uint64_t(length.QuadPart);
    return true;
}

bool ReadOnlyFile::read(void* into, size_t count) const {
    auto* at = static_cast<uint8_t*>(into);
    while (count > 0) { // ReadFile takes at most 4 GiB less one byte a call
        const auto part = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        DWORD read = 0;
        if (!isOpen() || !ReadFile(file_.get(), at, part, &read, nullptr) || read != part) {
            return false;
        }
        at += part;
        count -= part;
    }
    return true;
}

size_t ReadOnlyFile::readSome(void* into, size_t count) const {
    DWORD read = 0;
    const auto part = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
    return isOpen() && ReadFile(file_.get(), into, part, &read, nullptr) ? read : 0;
}

bool ReadOnlyFile::atEnd() const {
    uint8_t more;
    DWORD read = 0;
    return isOpen() && ReadFile(file_.get(), &more, 1, &read, nullptr) && read == 0;
}

std::string ReadOnlyFile::finalPath() const {
    std::wstring path(32768, L'\0');
    const DWORD length =
        isOpen() ? GetFinalPathNameByHandleW(file_.get(), path.data(), DWORD(path.size()), 0) : 0;
    return length == 0 || length >= path.size() ? std::string() : narrow(path.substr(0, length));
}

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#else

ReadOnlyFile::ReadOnlyFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

bool ReadOnlyFile::isOpen() const {
    return bool(file_);
}

bool ReadOnlyFile::size(uint64_t& bytes) const {
    struct stat status {};
    if (!isOpen() || fstat(fileno(file_.get()), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    bytes = uint64_t(status.st_size);
    return true;
}

bool ReadOnlyFile::read(void* into, size_t count) const {
    return isOpen() && std::fread(into, 1, count, file_.get()) == count;
}

size_t ReadOnlyFile::readSome(void* into, size_t count) const {
    return isOpen() ? std::fread(into, 1, count, file_.get()) : 0;
}

bool ReadOnlyFile::atEnd() const {
    return isOpen() && std::fgetc(file_.get()) == EOF && !std::ferror(file_.get());
}

#endif

} // namespace win32
