// The program's settings file, config.txt: where it is, writing its defaults, and reading it
// into one record. Failures are returned; the
// application says what they mean to the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/setting_values.h"
#include "settings/settings_store.h"

inline constexpr const char* settingsFileName = "config.txt";

// What the background is: the screen as it shows when the show starts, a picture file, or a
// folder of pictures.
enum class BackgroundKind { screen, file, folder };

// What a settings file says, read once into its meaning (see setting_values.h): the paths
// made openable from anywhere (see openablePath).
struct Settings {
    BackgroundKind backgroundKind = BackgroundKind::screen;
    std::string background; // the picture file or folder; empty for the screen
    std::string music;      // the music file; empty for silence
    Placement placement = Placement::centre;
    Rain rain = Rain::normal;
    std::optional<uint32_t> changeMs = changeIntervalMs(""); // nothing: never
};

enum class DefaultsOutcome {
    written,
    fileUncreatable, // config.txt can neither be read nor created
    notWritten,      // the defaults could not be put in its place
};

// A path as a settings file holds it, made one the program can open wherever it was started
// from: its %VARIABLE% parts expanded, and a relative path read against the folder of the
// settings file.
std::string openablePath(const std::string& written, const std::string& settingsFile);

// Bytes of the system's ANSI code page, in which settings files were once written, as UTF-8.
std::string ansiToUtf8(std::string_view bytes);

// Where the screen saver keeps its settings, whether it shows (/s, /p) or is set up (/c):
// config.txt beside the program file when that folder already holds one or takes new files,
// else in the user's own folder, %APPDATA%\Pluvette\config.txt.
std::string screenSaverSettingsPath();

// The screen saver's settings path, with the user's own folder for it made when that is
// where it goes.
std::string prepareScreenSaverSettingsPath();

// Adds each of the three settings that the table lacks, with its default (bg=null,
// sound=null, fitscreen=yes, in this order), so that every choice is saved and read back.
void addMissingSettings(SettingsStore& settings);

// Puts a settings file holding exactly bg=null, sound=null and fitscreen=yes in place of the
// old one at path in a single step, so that no moment leaves an empty or half-written file.
DefaultsOutcome writeDefaultSettings(const std::string& path);

// Whether the loaded table has any of the three settings: a file with none of them (empty,
// or not a settings file at all) counts as one that could not be read.
bool holdsAnySetting(const SettingsStore& settings);

// What the store's settings say, its paths read against its file's folder.
Settings readSettings(const SettingsStore& store);

// Whether a file that is there but could not be read (busy still after the retries, or
// not to be read by this user) stands: the defaults are used and the file left as it is.
inline bool keptUnread(ReadOutcome outcome) {
    return outcome == ReadOutcome::busy || outcome == ReadOutcome::unreadable;
}

// What reading a settings file gave: its settings when read; the defaults when it is there
// but could not be read (keptUnread), missing or no file.
struct SettingsRead {
    ReadOutcome outcome = ReadOutcome::missing;
    Settings settings;
};
SettingsRead readSettingsFile(const std::string& path);

// Reads the settings file at path, trying again for about a second while another program
// holds or writes it; the defaults when it still cannot be read then or may not be read,
// nothing when it is missing or no file. The paths in bg and sound
// are made openable from anywhere: %VARIABLE% parts expanded, a relative path read against
// the settings file's folder.
std::optional<Settings> loadSettings(const std::string& path);

// The language the settings file at path sets, or empty (no file, or none set). Reads the
// file once and writes nothing.
std::string languageSetting(const std::string& path);

// Reads the settings as a screen saver does: from its settings (Windows starts screen savers
// in its system folder, so never the current folder's), or the defaults when that file
// cannot be read. Writes nothing and never ends the program.
Settings loadScreenSaverSettings();
