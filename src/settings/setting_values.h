// What the values of config.txt mean: the keys and their defaults, the choices each key takes
// with the spelling written for each, and how any hand-written value is read. Nothing outside
// this folder compares the text of a setting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pictures/placement.h"

inline constexpr char settingsSeparator = '=';

// Every key; the first three are in every file the program writes, with these defaults.
struct SettingKey {
    const char* name;
    const char* defaultValue;
};
inline constexpr SettingKey backgroundKey{"bg", "null"}; // "null": capture the screen
inline constexpr SettingKey soundKey{"sound", "null"};   // "null": no music
inline constexpr SettingKey fitScreenKey{"fitscreen", "yes"};
inline constexpr SettingKey rainKey{"rain", "normal"}; // optional
inline constexpr SettingKey changeKey{"change", "5"};  // minutes or "never"; optional
// The language the program speaks ("de", "pt-BR"...); the user's own when absent. Optional,
// and never written by the program.
inline constexpr SettingKey languageKey{"language", ""};
inline constexpr SettingKey keysWrittenByDefault[] = {backgroundKey, soundKey, fitScreenKey};

// "null" in any case: the screen for bg, silence for sound.
bool meansNothing(std::string_view value);
// The launcher shows its own words for exactly "null"; a hand-written "NULL" it shows as the
// name it is (the show still reads it as nothing).
bool launcherShowsAsNothing(std::string_view value);

// Whether a sound value names music to play: one longer than five characters, so that "null"
// and any other short value mean silence.
bool namesMusic(std::string_view sound);

// The placements (pictures/placement.h) in the order of the launcher's list, with the
// spelling each writes.
inline constexpr const char* placementSpellings[] = {"yes", "no", "fill", "fit"};
// "fill" and "fit" in any case; a value beginning with "yes" in any case stretches; any other
// value (a missing one too) centres.
Placement placementOf(std::string_view fitscreen);

// How much it rains, in the order of the launcher's list, with the spelling each writes.
enum class Rain { none, light, normal, heavy };
inline constexpr const char* rainSpellings[] = {"none", "light", "normal", "heavy"};
// The amount named in any case; a missing or unknown value is normal, the rain the show has
// always had.
Rain rainOf(std::string_view rain);

// Minutes as the change setting names them: a decimal number ("5", "0.5", "2,5" with a comma
// as some keyboards write it), or "never"; a missing or unreadable value is the default.
inline constexpr double defaultChangeMinutes = 5;
// The shortest and longest waits: a change every two seconds at most, so that each fade (a
// second) ends well before the next begins; at least one a week, the longest a timer takes.
inline constexpr uint32_t shortestChangeMs = 2000;
inline constexpr uint32_t longestChangeMs = 7 * 24 * 60 * 60 * 1000u;
// The spelling each entry of the launcher's Change list writes, in its order.
inline constexpr const char* changeSpellings[] = {"1", "5", "15", "60", "never"};

// The wait between pictures in milliseconds, held between the shortest and the longest;
// nothing for "0" and "never" (in any case), which keep the first picture.
std::optional<uint32_t> changeIntervalMs(std::string_view change);

// The minutes a change value waits as the launcher's list shows them: the interval it means,
// rounded to two decimals with the decimal mark the value was written with, so that a
// hand-written value of any length shows as a short number; empty for one that never
// changes.
std::string shownChangeMinutes(std::string_view change);
