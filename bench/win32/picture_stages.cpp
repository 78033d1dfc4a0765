// Where the time goes from Launch to a picture under the water, stage by stage, for each
// picture file given: reading the file; decoding it (a PNG's inflate with its rows converted
// alongside and, when it is shown smaller, scaled for the monitor as they come, or the
// decoder the show takes for the others; the conversion, now part of the decode, stays at
// zero); placing it for a 1920 x 1080 monitor (stretched, as by default, and filling it;
// nothing left to do for a PNG scaled as it was decoded); copying it into the water's source; and
// the first paint. Each picture is measured three times; the fastest time of each stage is printed,
// with the total as a multiple of the first picture's with the same placement.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/picture_file.h"
#include "pictures/picture_header.h"
#include "png/png_win32.h"
#include "ripple/ripple_window.h"
#include "show/background.h"
#include "pictures/placement.h"
#include "pictures/screen_pictures.h"
#include "settings/setting_values.h"
#include "win32/bitmap_size.h"

namespace {

// Water that takes no input and no activation from the pointer over it.
constexpr RippleOptions quietWater{RainAmount::normal, false, false, nullptr};

constexpr int32_t screenWidth = 1920;
constexpr int32_t screenHeight = 1080;
constexpr int rounds = 3;

enum Stage { read, decode, convert, place, water, paint, stageCount };
constexpr const char* stageNames[stageCount] = {"read",  "decode", "convert",
                                                "place", "water",  "paint"};

double nowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// One pass of the picture through every stage, as the show takes it, with the placement
// given; false when a stage fails.
bool measure(const std::string& path, const char* fitscreen, HWND host, double (&ms)[stageCount]) {
    double at = nowMs();
    auto lap = [&](Stage stage) {
        const double now = nowMs();
        ms[stage] = now - at;
        at = now;
    };
    PictureFileBytes file = readPictureFile(path.c_str());
    lap(read);
    // As the show decodes: a PNG's rows are converted while its stream is still inflated,
    // and scaled for the monitor as they come when it is shown smaller, so that decoding,
    // converting and placing are one stage.
    ScreenPictures pictures =
        screenPicturesOf(file, {SIZE{screenWidth, screenHeight}}, placementOf(fitscreen));
    lap(decode);
    lap(convert);
    if (pictures.pictures.empty()) {
        return false;
    }
    HBITMAP picture = pictures.pictures.front().get();
    const SIZE size = bitmapSize(picture);
    const PlacedPicture placed =
        placedPicture(picture, screenWidth, screenHeight,
                      placePicture(size.cx, size.cy, screenWidth, screenHeight,
                                   pictures.placed ? Placement::centre : placementOf(fitscreen)));
    lap(place);
    const SIZE shown = bitmapSize(placed.shown);
    RippleSurface* surface = createRippleSurface(
        0, 0, shown.cx, shown.cy, 1, host, GetModuleHandleA(nullptr), placed.shown, quietWater);
    if (surface == nullptr) {
        return false;
    }
    lap(water);
    HWND window = GetDlgItem(host, 1);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    lap(paint);
    DestroyWindow(window);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_stages PICTURE...\n");
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    registerRippleClass(instance);
    HWND host = CreateWindowExA(0, "STATIC", "Stages", WS_POPUP | WS_VISIBLE, 0, 0, screenWidth,
                                screenHeight, nullptr, nullptr, instance, nullptr);
    std::printf("%-22s %-8s", "picture", "placed");
    for (const char* name : stageNames) {
        std::printf(" %8s", name);
    }
    std::printf(" %8s %6s\n", "total ms", "ratio");
    const char* const placements[] = {"yes", "fill"};
    double firstTotals[std::size(placements)] = {};
    for (int i = 1; i < argc; ++i) {
        for (size_t p = 0; p < std::size(placements); ++p) {
            const char* fitscreen = placements[p];
            double best[stageCount];
            std::fill(std::begin(best), std::end(best), 1e12);
            for (int round = 0; round < rounds; ++round) {
                double ms[stageCount] = {};
                if (!measure(argv[i], fitscreen, host, ms)) {
                    std::fprintf(stderr, "%s could not be shown\n", argv[i]);
                    return 1;
                }
                for (int stage = 0; stage < stageCount; ++stage) {
                    best[stage] = std::min(best[stage], ms[stage]);
                }
            }
            double total = 0;
            const char* name = std::max(std::strrchr(argv[i], '\\'), std::strrchr(argv[i], '/'));
            std::printf("%-22s %-8s", name != nullptr ? name + 1 : argv[i], fitscreen);
            for (double ms : best) {
                std::printf(" %8.1f", ms);
                total += ms;
            }
            if (firstTotals[p] == 0) {
                firstTotals[p] = total; // the first picture's, which the others are put beside
            }
            std::printf(" %8.1f %5.1fx\n", total, total / firstTotals[p]);
        }
    }
    DestroyWindow(host);
    return 0;
}
