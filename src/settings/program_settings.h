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

// Recreates config.txt holding exactly bg=null, sound=null and fitscreen=yes. Ends the
// program with error 114 when the new file cannot be read back, 115 when it cannot be
// written.
void writeDefaultSettings();

// Reads config.txt into the three setting strings. Ends the program with error 101 when the
// file cannot be read.
void loadSettings();

// Reads the three setting strings as a screen saver does: from config.txt in the folder of
// the program file (Windows starts screen savers in its system folder), or the defaults when
// that file cannot be read. Writes nothing and never ends the program.
void loadScreenSaverSettings();
