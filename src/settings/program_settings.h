// The program's three settings in config.txt, their defaults, and the fixed texts and web
// addresses that exist from start-up.
#pragma once

#include <string>

#include "settings/settings_store.h"

inline constexpr const char* backgroundKey = "bg";       // "null": capture the screen; else a path
inline constexpr const char* soundKey = "sound";         // "null": no music; else a path
inline constexpr const char* fitScreenKey = "fitscreen"; // begins with "yes": stretch to screen
inline constexpr char settingsSeparator = '=';

extern const std::string settingsFileName;
extern SettingsStore launcherSettings;

// What the show reads, filled by loadSettings.
extern std::string bgSetting;
extern std::string soundSetting;
extern std::string fitscreenSetting;

extern const std::string noMusicText;
extern const std::string captureScreenText;

extern const std::string homePageUrl;
extern const std::string socialPageUrl1;
extern const std::string socialPageUrl2;
extern const std::string gpPageUrl;
extern const std::string donatePageUrl;

// Puts a config.txt holding exactly bg=null, sound=null and fitscreen=yes in place of the old
// one in a single step, so that no moment leaves an empty or half-written file. Ends the
// program with error 114 when the file can neither be read nor created, 115 when the
// defaults cannot be written.
void writeDefaultSettings();

// Whether the loaded table has any of the three settings: a file with none of them (empty,
// or not a settings file at all) counts as one that could not be read.
bool holdsAnySetting(const SettingsStore& settings);

// Reads config.txt into the three setting strings. Ends the program with error 101 when the
// file cannot be read.
void loadSettings();

// Reads the three setting strings as a screen saver does: from config.txt in the folder of
// the program file (Windows starts screen savers in its system folder), or the defaults when
// that file cannot be read. Writes nothing and never ends the program.
void loadScreenSaverSettings();
