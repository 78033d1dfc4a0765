// The program's numbered error messages. Each is shown whole (its number's line, its
// explanation, then the support lines, in the program's language; see fatal_error.h) in a
// warning box; then the program ends with the message's number as its exit code.
#pragma once

struct ErrorMessage {
    int code; // its explanation is the text IDS_ERROR_BASE + code
};

namespace errorMessages {
inline constexpr ErrorMessage showSettingsUnreadable{101};
inline constexpr ErrorMessage imageUnloadable{104};
inline constexpr ErrorMessage musicUnlaunchable{105};
inline constexpr ErrorMessage showWindowUnmade{106};
inline constexpr ErrorMessage launcherSettingsUnreadable{113};
inline constexpr ErrorMessage settingsFileUncreatable{114};
inline constexpr ErrorMessage settingsUnsaved{115};

inline constexpr ErrorMessage all[] = {
    showSettingsUnreadable,     imageUnloadable,         musicUnlaunchable, showWindowUnmade,
    launcherSettingsUnreadable, settingsFileUncreatable, settingsUnsaved};
} // namespace errorMessages

inline constexpr const char* supportEmailAddress = "support@pluvette.org";
inline constexpr const char* siteHostName = "www.pluvette.org";
