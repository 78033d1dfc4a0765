// ripple-render PICTURE: runs the water arithmetic without a window over a binary PPM or a
// PNG picture. Commands come on standard input, one a line (see render_script.h).
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>

#include "png_picture.h"
#include "ppm.h"
#include "render_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ripple-render PICTURE.ppm|PICTURE.png < COMMANDS\n";
        return 2;
    }
    std::vector<uint8_t> bytes;
    if (!readFileBytes(argv[1], bytes)) {
        std::cerr << "ripple-render: cannot read " << argv[1] << "\n";
        return 1;
    }
    RgbPicture picture;
    std::string error;
    const bool read =
        isPng(bytes) ? decodePngPicture(bytes, picture, error) : parsePpm(bytes, picture, error);
    if (!read) {
        std::cerr << "ripple-render: " << argv[1] << ": " << error << "\n";
        return 1;
    }
    const OwnedRippleSurface surface(allocateRippleSurface(picture.width, picture.height));
    if (!surface) {
        std::cerr << "ripple-render: out of memory for a " << picture.width << "x" << picture.height
                  << " surface\n";
        return 1;
    }
    std::copy(picture.pixels.begin(), picture.pixels.end(), surface->source);

    std::string line;
    for (int lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        if (!runRenderCommand(*surface, line, error)) {
            std::cerr << "ripple-render: line " << lineNumber << ": " << error << "\n";
            return 1;
        }
    }
    return 0;
}
