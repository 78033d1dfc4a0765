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

TEST(MusicType, DevicesAreNoFilesWhateverTheirExtension) {
    for (const char* name : {"nul.mp3", "NUL", "con.wav", "Com1.mp3", "lpt9.ogg", "aux", "prn.x.y",
                             "nul .mp3", "CONOUT$.mp3"}) {
        EXPECT_TRUE(isDeviceName(name)) << name;
    }
    for (const char* name : {"null.mp3", "com0.mp3", "com10.mp3", "lpt.mp3", "console.mp3",
                             "rain.nul", "xnul.mp3", ""}) {
        EXPECT_FALSE(isDeviceName(name)) << name;
    }
}

TEST(MusicType, ProgramsAreKnownByTheirFirstBytes) {
    using namespace std::string_view_literals;
    for (const std::string_view bytes :
         {"MZ\x90\0\x03"sv,
          "\x7F"
          "ELF\x02\x01"sv,
          "#!/bin/sh\n"sv, "\xCF\xFA\xED\xFE\x07"sv, "\xCA\xFE\xBA\xBE"sv,
          "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0"sv, "L\0\0\0\x01\x14\x02\0\0"sv}) {
        EXPECT_TRUE(startsLikeAProgram(bytes)) << bytes;
    }
    // Music (MP3 with and without a tag, WAV, OGG, FLAC, MIDI), and files too short to tell.
    for (const std::string_view bytes :
         {"ID3\x04\0"sv, "\xFF\xFB\x90\x64"sv, "RIFF\x24\0\0\0WAVE"sv, "OggS\0\x02"sv,
          "fLaC\0\0\0\x22"sv, "MThd\0\0\0\x06"sv, "M"sv, ""sv, "#"sv}) {
        EXPECT_FALSE(startsLikeAProgram(bytes)) << bytes;
    }
}

} // namespace
