#include "pictures/placement.h"

#include <algorithm>

namespace {

// The picture's size scaled by the screen's width over its own, or by the heights' ratio,
// whichever covers the screen (cover) or fits in it; rounded, at least one pixel.
PicturePlacement scaledPlacement(int64_t pictureWidth, int64_t pictureHeight, int64_t screenWidth,
                                 int64_t screenHeight, bool cover) {
    const bool widerThanScreen = pictureWidth * screenHeight > pictureHeight * screenWidth;
    int64_t width = screenWidth;
    int64_t height = screenHeight;
    if (widerThanScreen != cover) {
        height =
            std::max<int64_t>(1, (pictureHeight * screenWidth + pictureWidth / 2) / pictureWidth);
    } else {
        width =
            std::max<int64_t>(1, (pictureWidth * screenHeight + pictureHeight / 2) / pictureHeight);
    }
    return {static_cast<int32_t>((screenWidth - width) / 2),
            static_cast<int32_t>((screenHeight - height) / 2),
            false,
            true,
            static_cast<int32_t>(width),
            static_cast<int32_t>(height)};
}

} // namespace

PicturePlacement placePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight, Placement placement) {
    const bool fill = placement == Placement::fill;
    if ((fill || placement == Placement::fit) && pictureWidth > 0 && pictureHeight > 0) {
        return scaledPlacement(pictureWidth, pictureHeight, screenWidth, screenHeight, fill);
    }
    if (pictureWidth > screenWidth || pictureHeight > screenHeight ||
        placement == Placement::stretch) {
        return {0, 0, true};
    }
    const int32_t x = pictureWidth < screenWidth ? screenWidth / 2 - pictureWidth / 2 : 0;
    const int32_t y = pictureHeight < screenHeight ? screenHeight / 2 - pictureHeight / 2 : 0;
    return {x, y, false};
}
