// The program's numbered error messages. Each is shown whole, followed by the support lines,
// in a warning box; then the program ends with the message's number as its exit code.
#pragma once

#include <string>

struct ErrorMessage {
    int code;
    const char* text; // "Error Code : NNN", LF, then the explanation
};

namespace errorMessages {
inline constexpr ErrorMessage showSettingsUnreadable{
    101, "Error Code : 101\nFailed to load configuration file."};
inline constexpr ErrorMessage imageUnloadable{
    104, "Error Code : 104\nFailed to load image.\nPlease insure that image is not corrupt and is "
         "saved with right extention on your computer."};
inline constexpr ErrorMessage musicUnlaunchable{105,
                                                "Error Code : 105\nFailed to launch music file."};
inline constexpr ErrorMessage launcherSettingsUnreadable{
    113, "Error Code : 113\nFailed to load configuration file."};
inline constexpr ErrorMessage settingsFileUncreatable{114,
                                                      "Error Code : 114\nFailed to create file."};
inline constexpr ErrorMessage settingsUnsaved{115, "Error Code : 115\nFailed to save changes."};

inline constexpr ErrorMessage all[] = {showSettingsUnreadable,  imageUnloadable,
                                       musicUnlaunchable,       launcherSettingsUnreadable,
                                       settingsFileUncreatable, settingsUnsaved};
} // namespace errorMessages

inline constexpr const char* supportEmailAddress = "support@pluvette.org";
inline constexpr const char* siteHostName = "www.pluvette.org";

// Two LFs, the support address line, LF, the site line; no line break at the end.
std::string supportText();

// The text of the error box: the message immediately followed by the support text.
std::string composeErrorText(const ErrorMessage& message);
