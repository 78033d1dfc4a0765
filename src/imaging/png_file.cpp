#include <cstdlib>
#include <cstring>

#include "imaging/picture_header.h"
#include "imaging/png_decoder.h"
#include "imaging/png_internal.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/handles.h"
#include "win32/wide.h"
#else
#include <cstdio>
#include <sys/stat.h>
#endif

namespace {

// A file opened for reading, closed when it goes out of scope.
class ReadOnlyFile {
  public:
#ifdef _WIN32
    explicit ReadOnlyFile(const char* path)
        : handle_(CreateFileW(win32::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
    bool isOpen() const {
        return handle_.valid();
    }
    bool size(uint64_t& bytes) const {
        LARGE_INTEGER length{};
        if (!GetFileSizeEx(handle_.get(), &length)) {
            return false;
        }
        bytes = uint64_t(length.QuadPart);
        return true;
    }
    bool readAll(uint8_t* to, uint32_t count) const {
        DWORD read = 0;
        return ReadFile(handle_.get(), to, count, &read, nullptr) && read == count;
    }

  private:
    win32::Handle handle_;
#else
    explicit ReadOnlyFile(const char* path) : file_(std::fopen(path, "rb")) {}
    ~ReadOnlyFile() {
        if (isOpen()) {
            std::fclose(file_);
        }
    }
    bool isOpen() const {
        return file_ != nullptr;
    }
    // Only regular files hold pictures; a directory cannot be opened on Windows either.
    bool size(uint64_t& bytes) const {
        struct stat status {};
        if (fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode)) {
            return false;
        }
        bytes = uint64_t(status.st_size);
        return true;
    }
    bool readAll(uint8_t* to, uint32_t count) const {
        return std::fread(to, 1, count, file_) == count;
    }

  private:
    std::FILE* file_;
#endif
  public:
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
};

// Reads the whole file when it begins with the PNG signature and is no larger than any
// picture the program shows: a file of another kind or size is refused before it is read.
bool readPngFile(const char* path, uint8_t*& data, uint32_t& size, uint32_t& error) {
    ReadOnlyFile file(path);
    uint64_t length = 0;
    error = PNG_ERR_FILE;
    if (!file.isOpen() || !file.size(length) || length > maxPictureFileBytes) {
        return false;
    }
    uint8_t signature[8];
    if (length < sizeof(signature) || !file.readAll(signature, sizeof(signature))) {
        return false;
    }
    if (pictureFormatOf(signature, sizeof(signature)) != PictureFormat::png) {
        error = PNG_ERR_FORMAT;
        return false;
    }
    size = static_cast<uint32_t>(length);
    data = static_cast<uint8_t*>(std::malloc(size));
    if (data == nullptr) {
        error = PNG_ERR_NO_MEMORY;
        return false;
    }
    std::memcpy(data, signature, sizeof(signature));
    if (!file.readAll(data + sizeof(signature), size - uint32_t(sizeof(signature)))) {
        std::free(data);
        return false;
    }
    error = PNG_OK;
    return true;
}

} // namespace

uint32_t PngLoadFile(PngDecoder* decoder, const char* path) {
    if (pngIsBusy(decoder)) {
        return 0;
    }
    decoder->lastError = PNG_OK;
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!readPngFile(path, data, size, decoder->lastError)) {
        return 0;
    }
    if (!pngLoadInPlace(decoder, data, size, PNG_SOURCE_FILE)) {
        std::free(data);
        decoder->inputData = nullptr;
        decoder->inputSize = 0;
        decoder->chunkCursor = nullptr;
        return 0;
    }
    return 1;
}
