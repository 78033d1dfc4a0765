// png2bmp IN.png OUT.bmp [--format 0xDESCRIPTOR]: decodes a PNG with the program's decoder
// and writes the bitmap it makes as a .bmp file. On failure it writes nothing, prints the
// decoder's error code and name (or why the bitmap cannot be written), and exits with
// status 1.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "png/png_pixels.h"
#include "png_to_bmp.h"

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
        const std::string failure = writePngAsBmp(argv[1], argv[2], format);
        if (!failure.empty()) {
            std::fprintf(stderr, "png2bmp: %s\n", failure.c_str());
            return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "png2bmp: %s: out of memory\n", argv[1]);
        return 1;
    }
}
