// The change setting: how many minutes each picture of a folder stays before the next one
// comes in.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Minutes as the setting names them: a decimal number ("5", "0.5", "2,5" with a comma as some
// keyboards write it), or "never"; a missing or unreadable value is the default.
inline constexpr double defaultChangeMinutes = 5;
// The shortest and longest waits: a change every two seconds at most, so that each fade (a
// second) ends well before the next begins; at least one a week, the longest a timer takes.
inline constexpr uint32_t shortestChangeMs = 2000;
inline constexpr uint32_t longestChangeMs = 7 * 24 * 60 * 60 * 1000u;

// The wait between pictures in milliseconds, held between the shortest and the longest;
// nothing for "0" and "never" (in any case), which keep the first picture.
std::optional<uint32_t> changeIntervalMs(std::string_view setting);

// The setting each entry of the launcher's Change list writes, in its order.
inline constexpr const char* changeSettings[] = {"1", "5", "15", "60", "never"};
