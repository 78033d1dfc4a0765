// Background music: the file is opened with the program the system associates with it,
// minimised and without taking the focus, and that program is ended when the show ends.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Program-wide state of the music, from its start to its end. The launch record keeps the
// started player's process handle (null when the shell handed
// the file to a player that was already running).
extern SHELLEXECUTEINFOW musicLaunchInfo;
// The file name (no folder) of the executable associated with the music file, or empty.
extern std::string playerExeName;
// When the music was launched: only players started since then are ended by name.
extern FILETIME musicLaunchTime;

// Whether the sound setting names music to play: a value longer than five characters, so
// that "null" and any other short value mean silence.
bool soundSettingNamesMusic();

// Whether the file at path may be opened as music: an existing file, not a folder, of a type
// the system registers as audio or video (or a common audio type where it says nothing), and
// never one that runs a program or a script or opens a link.
bool isPlayableMusic(const std::string& path);

// Opens the sound setting's file with its associated program; true when the shell took it.
// A path longer than the platform's limit, or one that is not playable music, is never
// handed to the shell: false.
// Quietly, the shell shows no box of its own when it cannot open the file.
bool startMusic(bool quietly = false);

// The associated executable's file name for the sound setting's file, or an empty string.
std::string findPlayerExeName();

// Ends the launched player: by its process handle, or else every process of the player's
// executable name that started since the music was launched. Does nothing without music.
void stopMusic();

// Ends the process, asking for it again by its identifier when the handle does not allow
// it. False for a null handle or when it could not be ended.
bool terminateByHandle(HANDLE process);

// Ends every process whose executable file name equals name, ignoring case, and that was
// created no earlier than startedSince. Processes that cannot be opened are skipped.
void terminateByExeName(const std::string& name, FILETIME startedSince);
