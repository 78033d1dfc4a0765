#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "long_path.h"
#include "probe_process.h"
#include "settings/program_settings.h"
#include "show/music.h"
#include "win32/handles.h"

namespace {

const char* const songExtension = ".plvsong";
const char* const songClass = "PluvetteTestSong";

std::string inQuotes(const std::string& text) {
    std::string result = "\"";
    result.append(text).append("\"");
    return result;
}

// Registers a file type in the test's own Wine prefix (Wine looks file types up in the
// machine-wide classes).
void setClassesValue(const std::string& key, const std::string& value, const char* name = nullptr) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                    DWORD(value.size() + 1));
}

struct PlayerReport {
    bool found = false;
    int showCommand = 0;
    DWORD processId = 0;
};

// What the stand-in player wrote when it was opened with the song.
PlayerReport waitForPlayer(const std::string& song) {
    PlayerReport report;
    for (int i = 0; i < 250 && !report.found; ++i) {
        std::ifstream in(song + ".player");
        report.found = static_cast<bool>(in >> report.showCommand >> report.processId);
        if (!report.found) {
            Sleep(20);
        }
    }
    return report;
}

bool isRunning(DWORD processId) {
    const win32::Handle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process.valid() && WaitForSingleObject(process.get(), 2000) == WAIT_TIMEOUT;
}

class MusicTest : public testing::Test {
  protected:
    void SetUp() override {
        setClassesValue(songExtension, songClass);
        setClassesValue(songExtension, "audio", "PerceivedType");
        setClassesValue(std::string(songClass) + "\\shell\\open\\command",
                        inQuotes(besideThisProgram("test_player.exe")).append(" \"%1\""));
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        song = std::string(folder) + "pluvette rain" + songExtension;
        earlierSong = std::string(folder) + "pluvette earlier" + songExtension;
        for (const std::string& file : {song, earlierSong}) {
            std::ofstream(file) << "la la la";
            DeleteFileA((file + ".player").c_str());
        }
    }
    void TearDown() override {
        music.stop();
        for (const std::string& file : {song, earlierSong}) {
            DeleteFileA(file.c_str());
            DeleteFileA((file + ".player").c_str());
        }
    }

    MusicPlayer music;

    std::string song;
    std::string earlierSong;
};

TEST_F(MusicTest, StartsThePlayerMinimisedAndEndsItByHandle) {
    ASSERT_TRUE(music.start(song));
    const PlayerReport player = waitForPlayer(song);
    ASSERT_TRUE(player.found);
    EXPECT_EQ(player.showCommand, SW_SHOWMINNOACTIVE);
    EXPECT_EQ(findPlayerExeName(song), "test_player.exe");

    music.stop();
    EXPECT_FALSE(isRunning(player.processId));
    music.stop(); // finds nothing left to end
}

TEST_F(MusicTest, ThePlayerEndsWithItsOwner) {
    DWORD processId = 0;
    {
        MusicPlayer owner;
        ASSERT_TRUE(owner.start(song));
        const PlayerReport player = waitForPlayer(song);
        ASSERT_TRUE(player.found);
        processId = player.processId;
    }
    EXPECT_FALSE(isRunning(processId));
}

TEST_F(MusicTest, ByNameOnlyPlayersStartedForTheShowAreEnded) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION earlier{};
    std::string commandLine = inQuotes(besideThisProgram("test_player.exe"));
    commandLine.append(" ").append(inQuotes(earlierSong));
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &earlier));
    const win32::Handle earlierProcess(earlier.hProcess);
    const win32::Handle earlierThread(earlier.hThread);
    ASSERT_TRUE(waitForPlayer(earlierSong).found);
    Sleep(50);

    // As when the shell hands the song to a player that was already running, which leaves
    // no handle: the players of that name that started since the launch are ended.
    FILETIME launched{};
    GetSystemTimeAsFileTime(&launched);
    ASSERT_TRUE(music.start(song));
    const PlayerReport player = waitForPlayer(song);
    ASSERT_TRUE(player.found);
    terminateByExeName(findPlayerExeName(song), launched);

    EXPECT_FALSE(isRunning(player.processId));
    EXPECT_TRUE(isRunning(earlier.dwProcessId));
    TerminateProcess(earlierProcess.get(), 0);
}

// Only music reaches the shell, whose default verb would run a program or a script, open a
// folder or a web page just as readily. A copy of the stand-in player leaves a mark when it
// runs as a program; the scripts leave one too.
TEST_F(MusicTest, NothingButMusicIsHandedToTheShell) {
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    const std::string folder = std::string(temporary) + "pluvette-not-music";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string marker = folder + "\\marker.txt";
    DeleteFileA(marker.c_str()); // marks an earlier run may have left
    std::vector<std::string> refused;
    for (const char* program : {"marker.exe", "song.mp3.exe", "marker.scr", "marker.com"}) {
        refused.push_back(folder + "\\" + program);
        DeleteFileA((refused.back() + ".ran").c_str());
        CopyFileA(besideThisProgram("test_player.exe").c_str(), refused.back().c_str(), FALSE);
    }
    for (const char* script : {"song.bat", "song.cmd"}) {
        refused.push_back(folder + "\\" + script);
        std::ofstream(refused.back()) << "echo ran > \"" << marker << "\"\r\n";
    }
    for (const char* other : {"song.plvsong.", "song.js", "song.lnk", "song.url"}) {
        refused.push_back(folder + "\\" + other);
        std::ofstream(refused.back()) << "la";
    }
    refused.push_back(folder); // a folder would open in a file manager over the show
    refused.push_back(folder + ".plvsong");
    CreateDirectoryA(refused.back().c_str(), nullptr);
    refused.push_back("https://www.pluvette.org/song.plvsong");
    refused.push_back("\\\\.\\" + song.substr(0, 2) + "\\" + song.substr(3));
    refused.push_back(song + ":stream.plvsong");
    for (const std::string& setting : refused) {
        EXPECT_FALSE(music.start(setting, true)) << setting;
        EXPECT_FALSE(isPlayableMusic(setting)) << setting;
    }
    Sleep(500); // a program or a script the shell had started would have left its mark
    for (const std::string& file : refused) {
        EXPECT_EQ(GetFileAttributesA((file + ".ran").c_str()), INVALID_FILE_ATTRIBUTES) << file;
        if (file.compare(0, folder.size() + 1, folder + "\\") == 0) {
            DeleteFileA(file.c_str());
        }
    }
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA((folder + ".plvsong").c_str());
    RemoveDirectoryA(folder.c_str());
    // The same song by its own name plays.
    EXPECT_TRUE(isPlayableMusic(song));
}

TEST(Music, NoHandleNothingToEnd) {
    EXPECT_FALSE(terminateByHandle(nullptr));
}

BOOL CALLBACK dismissBoxOfThisProcess(HWND window, LPARAM dismissed) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    if (owner == GetCurrentProcessId() && std::string(name) == "#32770" &&
        IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        *reinterpret_cast<bool*>(dismissed) = true;
    }
    return TRUE;
}

// Dismisses the box in which the shell says that no program opens the file.
DWORD WINAPI dismissShellBox(LPVOID dismissed) {
    for (int i = 0; i < 500 && !*static_cast<bool*>(dismissed); ++i) {
        EnumWindows(dismissBoxOfThisProcess, reinterpret_cast<LPARAM>(dismissed));
        Sleep(20);
    }
    return 0;
}

// Long paths play; paths past the platform's limit (259 characters) are music that cannot be
// played and never reach the shell, whose fixed buffers they would overrun. Wine's shell
// finds no file past 255 characters (Windows' takes 259), so 255 is the longest tried here.
TEST_F(MusicTest, PathsUpToThePlatformsLimitPlay) {
    const std::string longSong = pathOfLength(255, std::string("song") + songExtension);
    std::ofstream(longSong) << "la";
    ASSERT_TRUE(music.start(longSong));
    EXPECT_TRUE(waitForPlayer(longSong).found);
    EXPECT_EQ(findPlayerExeName(longSong), "test_player.exe");
    music.stop();
    DeleteFileA(longSong.c_str());
    DeleteFileA((longSong + ".player").c_str());
    RemoveDirectoryA(longSong.substr(0, longSong.rfind('\\')).c_str());
    for (size_t length : {260u, 1000u, 5000u}) {
        const std::string tooLong = "Z:\\tmp\\" + std::string(length - 11, 'a') + ".mp3";
        ASSERT_EQ(tooLong.size(), length);
        EXPECT_FALSE(music.start(tooLong)) << length;
        EXPECT_EQ(findPlayerExeName(tooLong), "") << length;
    }
}

TEST_F(MusicTest, AFileWithoutAnAssociatedPlayerDoesNotStart) {
    const std::string unplayed = song + "-no-player-for-this";
    std::ofstream(unplayed) << "x";
    EXPECT_EQ(findPlayerExeName(unplayed), "");
    bool dismissed = false;
    const win32::Handle watcher(CreateThread(nullptr, 0, dismissShellBox, &dismissed, 0, nullptr));
    EXPECT_FALSE(music.start(unplayed));
    WaitForSingleObject(watcher.get(), INFINITE);
    DeleteFileA(unplayed.c_str());
}

} // namespace
