#include "png_to_bmp.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "bmp_file.h"
#include "png/png_decoder.h"
#include "png/png_dib.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Rows written as the decoder converts them, each padded with zeros to the bitmap's stride.
struct RowWriter {
    std::FILE* file;
    size_t rowBytes;
    size_t padding;
    bool failed = false;
};

void writeRow(void* context, uint32_t, const uint8_t* row) {
    auto& writer = *static_cast<RowWriter*>(context);
    static constexpr uint8_t zeros[4] = {};
    writer.failed |= std::fwrite(row, 1, writer.rowBytes, writer.file) != writer.rowBytes ||
                     std::fwrite(zeros, 1, writer.padding, writer.file) != writer.padding;
}

std::string decoderFailure(const char* input, uint32_t error) {
    char code[8];
    std::snprintf(code, sizeof(code), "0x%04X", unsigned(error & 0xFFFF));
    return std::string(input) + ": " + code + " " + pngErrorName(error);
}

} // namespace

std::string writePngAsBmp(const char* input, const char* output, uint32_t format) {
    OwnedPngDecoder decoder;
    PngBitmapInfo info;
    uint32_t descriptor = 0;
    // The stream is inflated on a second thread while the rows are converted and written.
    if (!PngLoadFile(decoder.get(), input) || !PngDecodeConcurrently(decoder.get()) ||
        !PngPrepareBitmap(decoder.get(), format, &info, &descriptor)) {
        return decoderFailure(input, decoder->lastError);
    }
    const uint64_t stride = pngBitmapStride(decoder->width, info.header.biBitCount);
    const uint64_t rowsSize = stride * decoder->height;
    if (!fitsBmpFile(info, rowsSize)) {
        return std::string(input) + ": a .bmp file holds less than 4 GiB";
    }
    // Written beside the output and renamed over it once whole, as a stream found broken
    // halfway through stops the writing.
    const std::string part = std::string(output) + ".part";
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(part.c_str(), "wb"));
    if (file == nullptr) {
        return "cannot write " + part;
    }
    std::vector<char> buffer(size_t(1) << 20);
    std::setvbuf(file.get(), buffer.data(), _IOFBF, buffer.size());
    const std::vector<uint8_t> headers = bmpFileHeaders(info, rowsSize);
    bool written = std::fwrite(headers.data(), 1, headers.size(), file.get()) == headers.size();
    bool decoded = true;
    if (decoder->interlace == 0) { // rows come top first: none is kept past its writing
        RowWriter writer{file.get(),
                         size_t((uint64_t(decoder->width) * info.header.biBitCount + 7) / 8)};
        writer.padding = size_t(stride) - writer.rowBytes;
        decoded = PngConvertRowsTo(decoder.get(), descriptor, writeRow, &writer) != 0;
        written = written && !writer.failed;
    } else {
        PngDib dib;
        decoded = PngCreateDib(decoder.get(), format, dib) != 0;
        written = written && (!decoded || std::fwrite(dib.bits.data(), 1, dib.bits.size(),
                                                      file.get()) == dib.bits.size());
    }
    written = std::fclose(file.release()) == 0 && written;
    if (!decoded || !written || std::rename(part.c_str(), output) != 0) {
        std::remove(part.c_str());
        return decoded ? "cannot write " + std::string(output)
                       : decoderFailure(input, decoder->lastError);
    }
    return {};
}
