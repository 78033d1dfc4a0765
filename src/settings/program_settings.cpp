#include "settings/program_settings.h"

#include <windows.h>

#include "app/fatal_error.h"
#include "settings/file_access.h"

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
    if (!readableOrCreated(settingsFileName)) {
        fatalError(errorMessages::settingsFileUncreatable);
    }
    SettingsStore defaults(settingsFileName, settingsSeparator);
    defaults.addIfAbsent(backgroundKey, "null");
    defaults.addIfAbsent(soundKey, "null");
    defaults.addIfAbsent(fitScreenKey, "yes");
    if (!defaults.save()) {
        fatalError(errorMessages::settingsUnsaved);
    }
}

bool holdsAnySetting(const SettingsStore& settings) {
    return settings.indexOf(backgroundKey) >= 0 || settings.indexOf(soundKey) >= 0 ||
           settings.indexOf(fitScreenKey) >= 0;
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

void loadScreenSaverSettings() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    folder.erase(folder.find_last_of("\\/") + 1);
    SettingsStore settings(folder + settingsFileName, settingsSeparator);
    if (!settings.load() || !holdsAnySetting(settings)) {
        bgSetting = "null";
        soundSetting = "null";
        fitscreenSetting = "yes";
        return;
    }
    bgSetting = settings.get(backgroundKey);
    soundSetting = settings.get(soundKey);
    fitscreenSetting = settings.get(fitScreenKey);
}
