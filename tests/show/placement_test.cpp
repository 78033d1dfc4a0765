#include "pictures/placement.h"
#include "settings/setting_values.h"

#include <gtest/gtest.h>

#include "ripple/rain.h"
#include "text/text.h"

namespace {

TEST(Placement, SmallerPicturesAreCentredEachHalfRoundedDown) {
    const PicturePlacement place = placePicture(800, 600, 1366, 768, placementOf("no"));
    EXPECT_EQ(place.x, 283);
    EXPECT_EQ(place.y, 84);
    EXPECT_FALSE(place.stretch);
    const PicturePlacement odd = placePicture(801, 599, 1366, 767, placementOf(""));
    EXPECT_EQ(odd.x, 683 - 400);
    EXPECT_EQ(odd.y, 383 - 299);
}

TEST(Placement, AScreenSizedPictureStaysAtTheOrigin) {
    const PicturePlacement place = placePicture(1920, 1080, 1920, 1080, placementOf("no"));
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_FALSE(place.stretch);
    EXPECT_TRUE(placePicture(1920, 1080, 1920, 1080, placementOf("yes")).stretch);
    const PicturePlacement wide = placePicture(1920, 500, 1920, 1080, placementOf("no"));
    EXPECT_EQ(wide.x, 0);
    EXPECT_EQ(wide.y, 290);
}

TEST(Placement, LargerPicturesAreStretchedWhateverTheSetting) {
    for (auto [w, h] : {std::pair{2000, 500}, {500, 2000}, {1921, 1080}, {1920, 1081}}) {
        const PicturePlacement place = placePicture(w, h, 1920, 1080, placementOf("no"));
        EXPECT_TRUE(place.stretch) << w << "x" << h;
        EXPECT_EQ(place.x, 0);
        EXPECT_EQ(place.y, 0);
    }
}

TEST(Placement, FillAndFitKeepThePicturesShapeCentred) {
    struct Case {
        int32_t width, height;
        const char* setting;
        PicturePlacement expected;
    };
    const Case cases[] = {
        {6000, 4000, "fit", {150, 0, false, true, 1620, 1080}},
        {6000, 4000, "FILL", {0, -100, false, true, 1920, 1280}},
        {8000, 1000, "fit", {0, 420, false, true, 1920, 240}}, // a panorama
        {8000, 1000, "fill", {-3360, 0, false, true, 8640, 1080}},
        {400, 300, "Fit", {240, 0, false, true, 1440, 1080}}, // smaller: scaled up
        {1920, 1080, "fill", {0, 0, false, true, 1920, 1080}},
        {100000, 1, "fit", {0, 539, false, true, 1920, 1}}, // never below one pixel
    };
    for (const Case& c : cases) {
        const PicturePlacement place =
            placePicture(c.width, c.height, 1920, 1080, placementOf(c.setting));
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " " + c.setting);
        EXPECT_EQ(place.x, c.expected.x);
        EXPECT_EQ(place.y, c.expected.y);
        EXPECT_EQ(place.width, c.expected.width);
        EXPECT_EQ(place.height, c.expected.height);
        EXPECT_TRUE(place.scaled);
        EXPECT_FALSE(place.stretch);
    }
    EXPECT_FALSE(placePicture(400, 300, 1920, 1080, placementOf("fits")).scaled);
}

TEST(Rain, AmountsNameDrops) {
    EXPECT_EQ(rainDropsAt(RainAmount::none, 1), 0);
    EXPECT_EQ(rainDropsAt(RainAmount::light, 6) + rainDropsAt(RainAmount::light, 7), 1);
    EXPECT_EQ(rainDropsAt(RainAmount::normal, 0), 1);
    EXPECT_GT(rainDropsAt(RainAmount::heavy, 0), 1);
}

TEST(FileExtension, IsWhatFollowsTheFileNamesLastDotInLowerCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\pics\\lake.png", "png"},
        {"C:\\pics\\LAKE.PNG", "png"},
        {"a.b.jpg", "jpg"},
        {"C:\\song.mp3.exe", "exe"},
        {"C:\\my.pics\\lake", ""},
        {"c:/my.pics/lake", ""},
        {"lake", ""},
        {"C:\\.hidden", "hidden"},
        {"song.exe.", ""},
        {"", ""},
    };
    for (auto [path, extension] : cases) {
        EXPECT_EQ(fileNameExtension(path), extension) << path;
    }
}

} // namespace
