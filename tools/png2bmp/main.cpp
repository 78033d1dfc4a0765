// png2bmp IN.png OUT.bmp [--format 0xDESCRIPTOR]: decodes a PNG with the program's decoder
// and writes the bitmap it makes as a .bmp file. On failure it writes nothing, prints the
// decoder's error code and name (or why the bitmap cannot be written), and exits with
// status 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "bmp_file.h"
#include "imaging/inflate.h"
#include "imaging/png_dib.h"

namespace {

bool parseDescriptor(const std::string& text, uint32_t& descriptor) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul) {
        return false;
    }
    descriptor = static_cast<uint32_t>(value);
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: png2bmp IN.png OUT.bmp [--format 0xDESCRIPTOR]\n");
    return 2;
}

int convert(const char* input, const char* output, uint32_t format) {
    PngDecoder decoder;
    PngInit(&decoder);
    PngDib dib;
    const bool decoded =
        PngLoadFile(&decoder, input) && PngDecode(&decoder) && PngCreateDib(&decoder, format, dib);
    const uint32_t error = decoder.lastError;
    PngRelease(&decoder);
    if (!decoded) {
        std::fprintf(stderr, "png2bmp: %s: 0x%04X %s\n", input, error, pngErrorName(error));
        return 1;
    }
    if (!fitsBmpFile(dib)) {
        std::fprintf(stderr, "png2bmp: %s: a .bmp file holds less than 4 GiB\n", input);
        return 1;
    }
    const std::vector<uint8_t> bytes = encodeBmpFile(dib);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "png2bmp: cannot write %s\n", output);
        std::remove(output);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    uint32_t format = PNG_FORMAT_DEFAULT;
    if (argc == 5 && std::string(argv[3]) == "--format") {
        if (!parseDescriptor(argv[4], format)) {
            return usage();
        }
    } else if (argc != 3) {
        return usage();
    }

    try {
        return convert(argv[1], argv[2], format);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "png2bmp: %s: out of memory\n", argv[1]);
        return 1;
    }
}
