// Background music: the file is opened with the program the system associates with it,
// minimised and without taking the focus, and that program is ended when the show ends.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win32/handles.h"

// Whether the file at path may be opened as music: an existing file, not a folder, of a type
// the system registers as audio or video (or a common audio type where it says nothing), and
// never one that runs a program or a script or opens a link.
bool isPlayableMusic(const std::string& path);

// The music of one show: the file opened with its associated program, minimised, and that
// program ended when the music stops or its owner goes.
class MusicPlayer {
  public:
    MusicPlayer() = default;
    ~MusicPlayer() { stop(); }
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Opens the file with its associated program; true when the shell took it. A path longer
    // than the platform's limit, or one that is not playable music, is never handed to the
    // shell: false. Quietly, the shell shows no box of its own when it cannot open the file.
    bool start(const std::string& path, bool quietly = false);

    // Notes the file name of the program the shell gave the file to, for stop.
    void notePlayer();

    // Ends the launched player: by its process handle, or else every process of the player's
    // executable name that started since the music was launched. Does nothing without music,
    // and nothing the second time.
    void stop();

  private:
    std::string path_;      // empty while nothing plays
    win32::Handle process_; // none when the shell gave the file to a running player
    std::string playerExeName;
    FILETIME launchTime_{};
};

// The associated executable's file name for the file, or an empty string.
std::string findPlayerExeName(const std::string& path);

// Ends the process, asking for it again by its identifier when the handle does not allow
// it. False for a null handle or when it could not be ended.
bool terminateByHandle(HANDLE process);

// Ends every process whose executable file name equals name, ignoring case, and that was
// created no earlier than startedSince. Processes that cannot be opened are skipped.
void terminateByExeName(const std::string& name, FILETIME startedSince);
