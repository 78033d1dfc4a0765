// Where the show puts its picture: centred at its own size, stretched over the screen, or
// scaled keeping its shape to cover the screen or to fit in it.
#pragma once

#include <cstdint>
#include <string>

struct PicturePlacement {
    int32_t x;
    int32_t y;
    bool stretch;        // to the whole screen, at (0, 0), proportions not kept
    bool scaled = false; // drawn at width x height from (x, y), which may lie off the screen
    int32_t width = 0;
    int32_t height = 0;
};

// "fill" (in any case) scales the picture keeping its shape until it covers the screen,
// centred, the overflow cut off; "fit" until it touches two sides, centred, with black bars.
// Otherwise a picture larger than the screen either way is stretched; so is any picture when
// the fit-to-screen setting begins with "yes" in any case; and any other is centred, each
// half rounded down on its own.
PicturePlacement placePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight, const std::string& fitscreenSetting);

// The first three characters equal "yes", ignoring case.
bool fitsScreen(const std::string& fitscreenSetting);

// The ways the launcher offers, in its list's order, and the setting each writes.
enum class PlacementChoice { stretch, centre, fill, fit };
inline constexpr const char* placementSettings[] = {"yes", "no", "fill", "fit"};

// The way a setting places pictures, as placePicture reads it: a hand-written value is the
// way the show treats it ("Yes please" stretches, "maybe" centres).
PlacementChoice placementChoiceOf(const std::string& fitscreenSetting);
