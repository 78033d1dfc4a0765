// Where the show puts its picture: centred at its own size, stretched over the screen, or
// scaled keeping its shape to cover the screen or to fit in it.
#pragma once

#include <cstdint>

// How a picture is placed on a monitor: stretched over it; centred at its own size (one larger
// than the monitor either way stretched); scaled keeping its shape to cover it or to fit in
// it.
enum class Placement { stretch, centre, fill, fit };

struct PicturePlacement {
    int32_t x;
    int32_t y;
    bool stretch;        // to the whole screen, at (0, 0), proportions not kept
    bool scaled = false; // drawn at width x height from (x, y), which may lie off the screen
    int32_t width = 0;
    int32_t height = 0;
};

// Fill scales the picture keeping its shape until it covers the screen, centred, the overflow
// cut off; fit until it touches two sides, centred, with black bars. Otherwise a picture
// larger than the screen either way is stretched; so is any picture to be stretched; and any
// other is centred, each half rounded down on its own.
PicturePlacement placePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight, Placement placement);
