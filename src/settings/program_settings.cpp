#include "settings/program_settings.h"

#include "app/fatal_error.h"

const std::string settingsFileName = "config.txt";
SettingsStore launcherSettings(settingsFileName, settingsSeparator);

std::string bgSetting;
std::string soundSetting;
std::string fitscreenSetting;

const std::string noMusicText = "No Music";
const std::string captureScreenText = "Capture Screen";

const std::string homePageUrl = std::string("https://") + siteHostName + "/";
const std::string socialPageUrl1 = "https://mastodon.social/@pluvette";
const std::string socialPageUrl2 = "https://www.youtube.com/@pluvette";
const std::string gpPageUrl = homePageUrl + "gp/";
const std::string donatePageUrl = homePageUrl + "donate/";

void writeDefaultSettings() {
    createEmptyFile(settingsFileName);
    SettingsStore defaults(settingsFileName, settingsSeparator);
    if (!defaults.load()) {
        fatalError(errorMessages::settingsFileUncreatable);
    }
    defaults.addIfAbsent(backgroundKey, "null");
    defaults.addIfAbsent(soundKey, "null");
    defaults.addIfAbsent(fitScreenKey, "yes");
    if (!defaults.save()) {
        fatalError(errorMessages::settingsUnsaved);
    }
}

void loadSettings() {
    SettingsStore settings(settingsFileName, settingsSeparator);
    if (!settings.load()) {
        fatalError(errorMessages::showSettingsUnreadable);
    }
    bgSetting = settings.get(backgroundKey);
    soundSetting = settings.get(soundKey);
    fitscreenSetting = settings.get(fitScreenKey);
}
