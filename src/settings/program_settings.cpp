#include "settings/program_settings.h"

#include <windows.h>

#include "settings/file_access.h"

const std::string settingsFileName = "config.txt";
SettingsStore launcherSettings(settingsFileName, settingsSeparator);

std::string bgSetting;
std::string soundSetting;
std::string fitscreenSetting;

DefaultsOutcome writeDefaultSettings() {
    if (!readableOrCreated(settingsFileName)) {
        return DefaultsOutcome::fileUncreatable;
    }
    SettingsStore defaults(settingsFileName, settingsSeparator);
    defaults.addIfAbsent(backgroundKey, "null");
    defaults.addIfAbsent(soundKey, "null");
    defaults.addIfAbsent(fitScreenKey, "yes");
    return defaults.save() ? DefaultsOutcome::written : DefaultsOutcome::notWritten;
}

bool holdsAnySetting(const SettingsStore& settings) {
    return settings.indexOf(backgroundKey) >= 0 || settings.indexOf(soundKey) >= 0 ||
           settings.indexOf(fitScreenKey) >= 0;
}

bool loadSettings() {
    SettingsStore settings(settingsFileName, settingsSeparator);
    if (!settings.load()) {
        return false;
    }
    bgSetting = settings.get(backgroundKey);
    soundSetting = settings.get(soundKey);
    fitscreenSetting = settings.get(fitScreenKey);
    return true;
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
