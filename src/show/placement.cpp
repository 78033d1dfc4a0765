#include "show/placement.h"

#include "text/text.h"

bool fitsScreen(const std::string& fitscreenSetting) {
    return fitscreenSetting.size() >= 3 &&
           equalsIgnoringAsciiCase(fitscreenSetting.substr(0, 3), "yes");
}

PicturePlacement placePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight, const std::string& fitscreenSetting) {
    if (pictureWidth > screenWidth || pictureHeight > screenHeight ||
        fitsScreen(fitscreenSetting)) {
        return {0, 0, true};
    }
    const int32_t x = pictureWidth < screenWidth ? screenWidth / 2 - pictureWidth / 2 : 0;
    const int32_t y = pictureHeight < screenHeight ? screenHeight / 2 - pictureHeight / 2 : 0;
    return {x, y, false};
}
