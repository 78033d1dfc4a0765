#include <cstring>
#include <memory>
#include <new>

#include "png/png_decoder.h"
#include "png/png_internal.h"
#include "win32/read_only_file.h"

namespace {

// Reads the whole file when it begins with the PNG signature and is no larger than any
// picture the program shows: a file of another kind or size is refused before it is read.
std::unique_ptr<uint8_t[]> readPngFile(const char* path, uint32_t& size, uint32_t& error) {
    const win32::ReadOnlyFile file(path);
    uint64_t length = 0;
    error = PNG_ERR_FILE;
    uint8_t signature[8];
    if (!file.size(length) || length > pngLargestFileBytes || length < sizeof(signature) ||
        !file.read(signature, sizeof(signature))) {
        return nullptr;
    }
    if (std::memcmp(signature, pngSignature, sizeof(signature)) != 0) {
        error = PNG_ERR_FORMAT;
        return nullptr;
    }
    size = static_cast<uint32_t>(length);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size]);
    if (data == nullptr) {
        error = PNG_ERR_NO_MEMORY;
        return nullptr;
    }
    std::memcpy(data.get(), signature, sizeof(signature));
    if (!file.read(data.get() + sizeof(signature), size - sizeof(signature))) {
        return nullptr;
    }
    error = PNG_OK;
    return data;
}

} // namespace

uint32_t PngLoadFile(PngDecoder* decoder, const char* path) {
    if (pngIsBusy(decoder)) {
        return 0;
    }
    decoder->lastError = PNG_OK;
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> data = readPngFile(path, size, decoder->lastError);
    if (data == nullptr) {
        return 0;
    }
    if (!pngLoadInPlace(decoder, data.get(), size, PNG_SOURCE_FILE)) {
        decoder->inputData = nullptr;
        decoder->inputSize = 0;
        decoder->chunkCursor = nullptr;
        return 0;
    }
    decoder->fileBytes = std::move(data);
    return 1;
}
