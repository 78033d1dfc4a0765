// A JPEG photo made ready for a 1920 x 1080 monitor (stretched, as by default) the program's
// way, beside libjpeg-turbo decoding the same file at full size and the Windows Imaging
// Component decoding it, in the same run: the fastest of three passes of each, in ms, and the
// program's time as a share of the others'. The file is read into memory once, beforehand.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "jpeg/jpeg_picture.h"
#include "pictures/picture_file.h"
#include "pictures/picture_header.h"
#include "pictures/wic_picture.h"
#include "pictures/screen_pictures.h"
#include "win32/handles.h"

namespace {

constexpr int rounds = 3;

double nowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The fastest of the rounds of work, which says whether it succeeded; negative when it failed.
template <typename Work> double fastest(Work work) {
    double best = 1e12;
    for (int round = 0; round < rounds; ++round) {
        const double start = nowMs();
        if (!work()) {
            return -1;
        }
        best = std::min(best, nowMs() - start);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: jpeg_paths JPEG...\n");
        return 2;
    }
    const win32::ComScope com; // the imaging component's, once for every pass
    std::printf("%-22s %10s %14s %10s %16s %12s\n", "picture", "program", "libjpeg whole",
                "imaging", "/ libjpeg whole", "/ imaging");
    for (int i = 1; i < argc; ++i) {
        PictureFileBytes file = readPictureFile(argv[i]);
        if (!file) {
            std::fprintf(stderr, "%s could not be read\n", argv[i]);
            return 1;
        }
        const double ours = fastest([&] {
            return !screenPicturesOf(file, {SIZE{1920, 1080}}, Placement::stretch).pictures.empty();
        });
        const double whole = fastest([&] {
            return decodeJpeg(file.data(), file.length, 8, maxJpegDecoderBytes, maxPicturePixels)
                       .outcome == jpegDone;
        });
        const double imaging = fastest([&] {
            return LoadPictureWithImagingComponent(file.data(), file.length).get() != nullptr;
        });
        const char* name = std::max(std::strrchr(argv[i], '\\'), std::strrchr(argv[i], '/'));
        std::printf("%-22s %10.1f %14.1f %10.1f %16.2f %12.2f\n",
                    name != nullptr ? name + 1 : argv[i], ours, whole, imaging, ours / whole,
                    ours / imaging);
    }
    return 0;
}
