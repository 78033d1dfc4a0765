#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ScreenSaverRequestsInEveryFormWindowsAndUsersWrite) {
    for (const char* line : {"/s", "/S", "-s", "-S", "  /s  "}) {
        EXPECT_EQ(parseCommandLine(line).mode, StartMode::screenSaver) << line;
    }
    const std::pair<const char*, uintptr_t> previews[] = {
        {"/p 123456", 123456}, {"/P:42", 42}, {"-p 7", 7}, {"/p  99 ", 99}};
    for (auto [line, parent] : previews) {
        const StartRequest request = parseCommandLine(line);
        EXPECT_EQ(request.mode, StartMode::preview) << line;
        EXPECT_EQ(request.previewParent, parent) << line;
    }
    // A preview without a usable window is still a preview, which then has nowhere to go.
    for (const char* line :
         {"/p", "/p:", "/p 0", "/p abc", "/p 12x", "/p -5", "/p 123456789012345678901234"}) {
        const StartRequest request = parseCommandLine(line);
        EXPECT_EQ(request.mode, StartMode::preview) << line;
        EXPECT_EQ(request.previewParent, 0u) << line;
    }
}

TEST(CommandLine, SettingsOpenTheLauncherWithTheScreenSaversSettings) {
    for (const char* line : {"/c", "/C:1234", "-c", " /c 5678 "}) {
        EXPECT_EQ(parseCommandLine(line).mode, StartMode::screenSaverSettings) << line;
    }
}

TEST(CommandLine, WallpaperWithOrWithoutItsSettingsFileAndItsWatchdog) {
    const std::pair<const char*, const char*> wallpapers[] = {
        {"/w", ""},
        {"-W", ""},
        {"/w \"C:\\My Pictures\\config.txt\"", "C:\\My Pictures\\config.txt"},
        {"/w:D:\\p\\config.txt", "D:\\p\\config.txt"},
        {"/w   config.txt  ", "config.txt"}};
    for (auto [line, file] : wallpapers) {
        const StartRequest request = parseCommandLine(line);
        EXPECT_EQ(request.mode, StartMode::wallpaper) << line;
        EXPECT_EQ(request.settingsFile, file) << line;
    }
    const StartRequest settings = parseCommandLine("/Settings \"C:\\Zoé Ж\\config.txt\"");
    EXPECT_EQ(settings.mode, StartMode::wallpaperSettings);
    EXPECT_EQ(settings.settingsFile, "C:\\Zoé Ж\\config.txt");
    const StartRequest watch = parseCommandLine("/watch 4242");
    EXPECT_EQ(watch.mode, StartMode::watchdog);
    EXPECT_EQ(watch.watched, 4242u);
    for (const char* line :
         {"/watch", "/watch 0", "/watch x1", "/watcher 12", "/wx", "/settings", "/settings  "}) {
        EXPECT_EQ(parseCommandLine(line).mode, StartMode::launcher) << line;
    }
}

TEST(CommandLine, EverythingElseOpensTheLauncherAsBefore) {
    for (const char* line :
         {"", "/cx", "/", "s", "/sx", "/s 1", "/px", "/x", "config.txt", "--help"}) {
        const StartRequest request = parseCommandLine(line);
        EXPECT_EQ(request.mode, StartMode::launcher) << line;
        EXPECT_EQ(request.previewParent, 0u) << line;
    }
}

} // namespace
