#include <cstdlib>

#include "imaging/png_decoder.h"
#include "imaging/png_internal.h"

#ifdef _WIN32
#include <windows.h>

namespace {

// Reads the whole file; false when it cannot be opened, is 4 GiB or larger, or reads short.
bool readWholeFile(const char* path, uint8_t*& data, uint32_t& size, uint32_t& error) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = PNG_ERR_FILE;
        return false;
    }
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length) || length.QuadPart >= 0xFFFFFFFF) {
        CloseHandle(file);
        error = PNG_ERR_FILE;
        return false;
    }
    size = static_cast<uint32_t>(length.QuadPart);
    data = static_cast<uint8_t*>(std::malloc(size != 0 ? size : 1));
    if (data == nullptr) {
        CloseHandle(file);
        error = PNG_ERR_NO_MEMORY;
        return false;
    }
    DWORD read = 0;
    const bool complete = ReadFile(file, data, size, &read, nullptr) && read == size;
    CloseHandle(file);
    if (!complete) {
        std::free(data);
        error = PNG_ERR_FILE;
        return false;
    }
    return true;
}

} // namespace

#else
#include <cstdio>
#include <sys/stat.h>

namespace {

bool readWholeFile(const char* path, uint8_t*& data, uint32_t& size, uint32_t& error) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        error = PNG_ERR_FILE;
        return false;
    }
    // Only regular files hold pictures; a directory cannot be opened on Windows either.
    struct stat status {};
    long length = -1;
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) &&
        std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    if (length < 0 || length >= 0xFFFFFFFFL || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        error = PNG_ERR_FILE;
        return false;
    }
    size = static_cast<uint32_t>(length);
    data = static_cast<uint8_t*>(std::malloc(size != 0 ? size : 1));
    if (data == nullptr) {
        std::fclose(file);
        error = PNG_ERR_NO_MEMORY;
        return false;
    }
    const bool complete = std::fread(data, 1, size, file) == size;
    std::fclose(file);
    if (!complete) {
        std::free(data);
        error = PNG_ERR_FILE;
        return false;
    }
    return true;
}

} // namespace

#endif

uint32_t PngLoadFile(PngDecoder* decoder, const char* path) {
    if (pngIsBusy(decoder)) {
        return 0;
    }
    decoder->lastError = PNG_OK;
    uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!readWholeFile(path, data, size, decoder->lastError)) {
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
