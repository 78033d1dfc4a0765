// The launcher: the small window the user meets first. It shows the background and music
// choices, changes them, starts the show, opens the About panel and the home page, and ends
// the program when it is closed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "language/program_texts.h"
#include "resources/resource_ids.h"

#include "settings/settings_store.h"

// Who opened the launcher: the program itself, whose process ends when the launcher is
// closed (asked by the screen saver's Settings button, it says so in its caption), or the
// water on the desktop, which takes every choice at once and goes on after.
enum class LauncherHost { program, screenSaverSettings, wallpaper };

// Runs the launcher over the settings file at the path until it is closed.
int runLauncher(HINSTANCE instance, const ProgramTexts& texts, std::string settingsPath,
                LauncherHost host = LauncherHost::program);

// The launcher's dialog template, mirrored for a language read right to left (a dialog's
// layout is fixed when it is made).
std::vector<BYTE> launcherTemplate(HINSTANCE instance, bool mirrored);

// Puts the texts on the launcher's caption, labels and buttons, and its lists' entries (none
// chosen); the launcher then lays itself out (launcher_layout.h).
void showLauncherTexts(HWND dialog, const ProgramTexts& texts, LauncherHost host);

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the control a plain hover tip (a balloon with the flag); its own tooltip window, which
// it returns (null when the tip could not be added), lives as long as the dialog.
HWND addTooltip(HWND dialog, const std::wstring& text, int controlId, bool balloon);

// The chosen full path of an existing file in UTF-8, or empty when the user cancels. The
// working directory, where config.txt lives, never changes.
std::string browseForFile(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension);
// The picked music is kept as its setting in the store when the check accepts it.
std::string browseMusic(HWND owner, const ProgramTexts& texts, SettingsStore& settings);

// What a field shows of a path: the name of the file or folder it names (a folder's without
// the separator its path may end with).
std::string shownNameOf(const std::string& path);
