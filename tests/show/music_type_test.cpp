#include "show/music_type.h"

#include <gtest/gtest.h>

namespace {

TEST(MusicType, OnlyPlainFilePathsReachTheFileSystem) {
    for (const char* path : {"C:\\Music\\rain.mp3", "c:/music/rain.mp3", "\\\\nas\\music\\rain.mp3",
                             "rain.mp3", "D:\\a b=c\\d.flac"}) {
        EXPECT_TRUE(hasPlainFilePathShape(path)) << path;
    }
    for (const char* path :
         {"", "http://example.com/rain.mp3", "file:///C:/rain.mp3", "shell:Music\\rain.mp3",
          "C:rain.mp3", "C:\\rain.exe:song.mp3", "\\\\.\\C:\\rain.mp3", "\\\\?\\C:\\rain.mp3",
          "//./pipe/rain.mp3", "C:\\*.mp3", "C:\\a\"b.mp3", "C:\\a|calc.mp3", "C:\\a\tb.mp3"}) {
        EXPECT_FALSE(hasPlainFilePathShape(path)) << path;
    }
}

TEST(MusicType, TheExtensionIsTheFileNamesInLowerCase) {
    EXPECT_EQ(fileNameExtension("C:\\Music\\Rain.MP3"), "mp3");
    EXPECT_EQ(fileNameExtension("C:\\song.mp3.exe"), "exe");
    EXPECT_EQ(fileNameExtension("C:\\song.exe."), "");
    EXPECT_EQ(fileNameExtension("C:\\a.folder\\song"), "");
    EXPECT_EQ(fileNameExtension("C:\\.hidden"), "hidden");
}

TEST(MusicType, MusicIsWhatTheRegistryCallsAudioOrVideoAndNeverAProgram) {
    struct Case {
        const char* extension;
        RegisteredFileType registered;
        bool music;
    };
    const Case cases[] = {
        {"mp3", {"audio", "audio/mpeg"}, true},
        {"plvsong", {"Audio", ""}, true},
        {"mkv", {"", "video/x-matroska"}, true},
        {"wav", {"", ""}, true}, // the registry says nothing: a common audio type
        {"xm", {"", ""}, true},
        {"txt", {"text", "text/plain"}, false},
        {"mp3", {"text", ""}, false}, // the registry's word holds over the built-in list
        {"audiobook", {"audiobook", "audiox"}, false},
        {"", {"audio", ""}, false},
        {"unknown", {"", ""}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isMusicType(c.extension, c.registered), c.music) << c.extension;
    }
    // Types that run something are refused even when the registry calls them audio.
    for (const char* extension : {"exe", "com", "bat",  "cmd",         "lnk",
                                  "scr", "pif", "js",   "vbs",         "wsf",
                                  "ps1", "hta", "msi",  "cpl",         "url",
                                  "jar", "reg", "html", "application", "settingcontent-ms"}) {
        EXPECT_FALSE(isMusicType(extension, {"audio", "audio/mpeg"})) << extension;
    }
}

} // namespace
