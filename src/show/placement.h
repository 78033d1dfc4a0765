// Where the show puts its picture: centred at its own size, or stretched over the screen.
#pragma once

#include <cstdint>
#include <string>

struct PicturePlacement {
    int32_t x;
    int32_t y;
    bool stretch; // to the whole screen, at (0, 0), proportions not kept
};

// A picture larger than the screen either way is stretched; so is any picture when the
// fit-to-screen setting begins with "yes" in any case. Otherwise it is centred, each half
// rounded down on its own.
PicturePlacement placePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight, const std::string& fitscreenSetting);

// The first three characters equal "yes", ignoring case.
bool fitsScreen(const std::string& fitscreenSetting);
