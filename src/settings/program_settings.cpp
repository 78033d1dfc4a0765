#include "settings/program_settings.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "settings/file_access.h"
#include "text/text.h"
#include "win32/handles.h"
#include "win32/read_only_file.h"
#include "win32/wide.h"

namespace {

// The folder of the program file, with its final backslash; empty when it cannot be told.
std::string programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2); // a long path: try a larger buffer
    }
    path.erase(path.find_last_of(L"\\/") + 1);
    return win32::narrow(path);
}

// Whether a new file can be made in the folder, tried with one that goes when closed.
bool folderTakesFiles(const std::string& folder) {
    const std::wstring probe =
        win32::widen(folder + "pluvette-" + std::to_string(GetCurrentProcessId()) + ".tmp");
    const win32::Handle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                         nullptr));
    return file.valid();
}

std::string userSettingsFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    return win32::narrow(folder) + "\\Pluvette\\";
}

} // namespace

Settings readSettings(const SettingsStore& store) {
    const std::string& file = store.fileName();
    Settings settings;
    if (const std::string bg = store.getTrimmed(backgroundKey.name, true); !meansNothing(bg)) {
        settings.background = openablePath(bg, file);
        settings.backgroundKind =
            win32::isFolder(settings.background) ? BackgroundKind::folder : BackgroundKind::file;
    }
    if (const std::string sound = store.getTrimmed(soundKey.name, true); namesMusic(sound)) {
        settings.music = openablePath(sound, file);
    }
    settings.placement = placementOf(store.getTrimmed(fitScreenKey.name, false));
    settings.rain = rainOf(store.getTrimmed(rainKey.name, false));
    settings.changeMs = changeIntervalMs(store.getTrimmed(changeKey.name, false));
    return settings;
}

// A path as a settings file holds it, made one the program can open wherever it was started
// from: its %VARIABLE% parts expanded, and a relative path read against the folder of the
// settings file (the file's full path, so that the current folder no longer matters).
std::string openablePath(const std::string& written, const std::string& settingsFile) {
    std::wstring path = win32::widen(written);
    if (path.find(L'%') != std::wstring::npos) {
        const DWORD length = ExpandEnvironmentStringsW(path.c_str(), nullptr, 0);
        std::wstring expanded(length, L'\0');
        if (length > 0 &&
            ExpandEnvironmentStringsW(path.c_str(), expanded.data(), length) == length) {
            expanded.resize(length - 1);
            path = expanded;
        }
    }
    // A drive with no folder after it ("Z:", "Z:photos") means that drive's current folder,
    // made whole here, so that a folder is checked and walked at the same place.
    const bool onDriveOnly = path.size() >= 2 && path[1] == L':' &&
                             (path.size() == 2 || (path[2] != L'\\' && path[2] != L'/'));
    if (onDriveOnly) {
        const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
        std::wstring full(length, L'\0');
        if (length > 0 && GetFullPathNameW(path.c_str(), length, full.data(), nullptr) < length) {
            full.resize(length - 1);
            return win32::narrow(full);
        }
    }
    if (!PathIsRelativeW(path.c_str())) {
        return win32::narrow(path);
    }
    const std::wstring file = win32::widen(settingsFile);
    const DWORD length = GetFullPathNameW(file.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    if (length == 0 || GetFullPathNameW(file.c_str(), length, full.data(), nullptr) >= length) {
        return win32::narrow(path);
    }
    full.resize(full.find_last_of(L"\\/") + 1);
    return win32::narrow(full + path);
}

std::string ansiToUtf8(std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return win32::narrow(wide);
}

std::string screenSaverSettingsPath() {
    const std::string folder = programFolder();
    if (!folder.empty()) {
        const std::string beside = folder + settingsFileName;
        if (GetFileAttributesW(win32::widen(beside).c_str()) != INVALID_FILE_ATTRIBUTES ||
            folderTakesFiles(folder)) {
            return beside;
        }
    }
    const std::string own = userSettingsFolder();
    return own.empty() ? folder + settingsFileName : own + settingsFileName;
}

std::string prepareScreenSaverSettingsPath() {
    std::string path = screenSaverSettingsPath();
    const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    CreateDirectoryW(win32::widen(folder).c_str(), nullptr); // the user's own folder, at first
    return path;
}

void addMissingSettings(SettingsStore& settings) {
    for (const SettingKey& key : keysWrittenByDefault) {
        settings.addIfAbsent(key.name, key.defaultValue);
    }
}

DefaultsOutcome writeDefaultSettings(const std::string& path) {
    if (!readableOrCreated(path)) {
        return DefaultsOutcome::fileUncreatable;
    }
    SettingsStore defaults(path, settingsSeparator, ansiToUtf8);
    addMissingSettings(defaults);
    return defaults.save() ? DefaultsOutcome::written : DefaultsOutcome::notWritten;
}

bool holdsAnySetting(const SettingsStore& settings) {
    return std::any_of(std::begin(keysWrittenByDefault), std::end(keysWrittenByDefault),
                       [&](const SettingKey& key) { return settings.indexOf(key.name) >= 0; });
}

SettingsRead readSettingsFile(const std::string& path) {
    SettingsStore store(path, settingsSeparator, ansiToUtf8);
    const ReadOutcome outcome = store.loadWhenSettled();
    if (keptUnread(outcome)) {
        addMissingSettings(store); // there, but not readable: the defaults
    }
    if (outcome == ReadOutcome::read || keptUnread(outcome)) {
        return {outcome, readSettings(store)};
    }
    return {outcome, Settings()};
}

std::optional<Settings> loadSettings(const std::string& path) {
    SettingsRead read = readSettingsFile(path);
    if (read.outcome == ReadOutcome::read || keptUnread(read.outcome)) {
        return std::move(read.settings);
    }
    return std::nullopt;
}

std::string languageSetting(const std::string& path) {
    SettingsStore store(path, settingsSeparator, ansiToUtf8);
    return store.load() ? store.getTrimmed(languageKey.name, false) : std::string();
}

Settings loadScreenSaverSettings() {
    const std::string path = screenSaverSettingsPath();
    SettingsStore store(path, settingsSeparator, ansiToUtf8);
    if (store.loadWhenSettled() != ReadOutcome::read || !holdsAnySetting(store)) {
        store.clear();
        addMissingSettings(store);
    }
    return readSettings(store);
}
