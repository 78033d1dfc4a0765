#include "app/launcher_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "app/failures.h"
#include "app/fatal_error.h"
#include "app/launcher_lists.h"
#include "app/program_texts.h"
#include "app/wallpaper_start.h"
#include "pictures/picture_file.h"
#include "settings/program_settings.h"
#include "show/music.h"
#include "show/show.h"
#include "show/folder_pictures.h"
#include "show/picture_folder.h"
#include "skin/about_panel.h"
#include "skin/window_fades.h"
#include "win32/dpi.h"
#include "win32/shell.h"
#include "win32/wide.h"

namespace {

// What one launcher holds, reached through its dialog's GWLP_USERDATA.
struct Launcher {
    std::string settingsPath;
    SettingsStore launcherSettings;
    HWND launcherWindow = nullptr;
    HWND imageField = nullptr;
    HWND musicField = nullptr;
    win32::Icon folderIcon;     // shown on the folder button until the next scale's replaces it
    AboutPanel about;           // kept from one opening to the next
    std::vector<HWND> tooltips; // the dialog's own, destroyed with it
    bool keepsFile = false;     // the file could not be read: it is never written
    LauncherHost host = LauncherHost::program;

    Launcher(std::string path, LauncherHost opener)
        : settingsPath(std::move(path)),
          launcherSettings(settingsPath, settingsSeparator, ansiToUtf8), host(opener) {
        about.links = aboutLinks;
    }
};

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

Launcher& launcherOf(HWND dialog) {
    return *reinterpret_cast<Launcher*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

constexpr int fadeStepMs = 15;
constexpr int fadeAlpha = 220;

// The filters hold pairs of display text and pattern, each ended by a NUL, and a NUL after
// the last pair.
constexpr wchar_t imageFilter[] =
    L"Image Files\0*.png;*.jpg;*.jpeg;*.gif;*.bmp\0"
    L"All pictures\0*.png;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.bmp;*.dib;*.tif;*.tiff;*.ico;*.webp;"
    L"*.heic;*.heif;*.avif\0";
constexpr wchar_t musicFilter[] =
    L"Music Files\0*.mp3;*.wav;*.ogg;*.xm;*.it;*.mod;*.s3m\0All Files\0*.*\0";

constexpr char notPictureText[] = "This file is not a picture that Pluvette can show. Choose a "
                                  "PNG, JPEG, GIF or BMP picture.";
constexpr char noPicturesText[] = "This folder holds no picture that Pluvette can show. Choose a "
                                  "folder of PNG, JPEG, GIF or BMP pictures.";
constexpr char busySettingsText[] =
    "Pluvette could not read config.txt just now: another program may be writing it.\n"
    "Pluvette starts with its defaults and leaves the file as it is.";
constexpr char notMusicText[] = "This file is not music that Pluvette can play.\n"
                                "Choose a sound file, such as MP3, WAV or OGG.";

// Fills a drop-down list and selects the entry at index.
template <size_t count>
void fillList(HWND dialog, int controlId, const char* const (&entries)[count], int index) {
    for (const char* entry : entries) {
        SendDlgItemMessageA(dialog, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    SendDlgItemMessageA(dialog, controlId, CB_SETCURSEL, WPARAM(index), 0);
}

// The Change list: its entries, and a hand-written value that none of them names (as
// "Every 0.5 minutes"), added after them; an unreadable one is shown as what the show does.
void fillChangeList(HWND dialog, const std::string& setting) {
    const std::optional<uint32_t> interval = changeIntervalMs(setting);
    int index = -1;
    for (size_t i = 0; i < std::size(changeSpellings); ++i) {
        if (changeIntervalMs(changeSpellings[i]) == interval) {
            index = int(i);
        }
    }
    fillList(dialog, IDC_CHANGE, changeEntries, index);
    if (index < 0) {
        const std::string own = "Every " + setting + " minutes";
        SendDlgItemMessageA(dialog, IDC_CHANGE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(own.c_str()));
        SendDlgItemMessageA(dialog, IDC_CHANGE, CB_SETCURSEL, std::size(changeEntries), 0);
    }
}

// The Change list matters only while the picture is a folder.
void enableChangeList(const Launcher& launcher) {
    EnableWindow(GetDlgItem(launcher.launcherWindow, IDC_CHANGE),
                 readSettings(launcher.launcherSettings).backgroundKind == BackgroundKind::folder);
}

// The shell's picture of a folder at size x size pixels: its stock icon, or its own icon 4
// where stock icons are missing (Wine).
win32::Icon folderIconOfSize(int size) {
    SHSTOCKICONINFO stock{};
    stock.cbSize = sizeof(stock);
    if (SUCCEEDED(SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICON | SHGSI_SMALLICON, &stock)) &&
        stock.hIcon != nullptr) {
        const win32::Icon small(stock.hIcon);
        win32::Icon sized(static_cast<HICON>(
            CopyImage(small.get(), IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
        if (sized.get() != nullptr) {
            return sized;
        }
    }
    return win32::Icon(static_cast<HICON>(LoadImageW(
        GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEW(4), IMAGE_ICON, size, size, 0)));
}

// The folder button shows the folder icon at the small icon size of the dialog's scale; the
// icon lives until the next scale's replaces it.
void showFolderIcon(Launcher& launcher, int dpi) {
    win32::Icon fresh = folderIconOfSize(MulDiv(16, dpi, 96));
    SendDlgItemMessageA(launcher.launcherWindow, IDC_BROWSE_FOLDER, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(fresh.get()));
    launcher.folderIcon = std::move(fresh); // the icon shown before goes with fresh
}

// Keeps the setting of the entry picked in a list. A hand-written value stays as written
// until another entry is picked; rain, which older files lack, is added when first picked.
template <size_t count>
void keepListChoice(Launcher& launcher, int controlId, const SettingKey& key,
                    const char* const (&settings)[count]) {
    const auto index = SendDlgItemMessageA(launcher.launcherWindow, controlId, CB_GETCURSEL, 0, 0);
    if (index >= 0 && size_t(index) < count) {
        launcher.launcherSettings.addIfAbsent(key.name, settings[index]);
        launcher.launcherSettings.set(key.name, settings[index]);
    }
}

// A file that lacks a setting (hand-written, or from an older version) gets it with its
// default, so that what the launcher then chooses is saved and shown.
// A file there that cannot be read just now (another program writing or holding it) is
// never replaced: the launcher shows the defaults, says so, and leaves the file as it is. A
// link that leads nowhere is not followed: the defaults are kept in memory and the next save
// puts a file in the link's place, as for a missing file.
void loadLauncherSettings(Launcher& launcher) {
    SettingsStore& settings = launcher.launcherSettings;
    const ReadOutcome outcome = settings.loadWhenSettled();
    if (outcome == ReadOutcome::read && holdsAnySetting(settings)) {
        addMissingSettings(settings);
        return;
    }
    settings.clear();
    if (outcome == ReadOutcome::busy ||
        (outcome == ReadOutcome::missing && entryExists(launcher.settingsPath))) {
        addMissingSettings(settings);
        launcher.keepsFile = outcome == ReadOutcome::busy;
        if (launcher.keepsFile) {
            MessageBoxA(nullptr, busySettingsText, "Pluvette", MB_OK | MB_ICONWARNING);
        }
        return;
    }
    endOnFailure(writeDefaultSettings(launcher.settingsPath));
    if (!settings.load()) {
        fatalError(errorMessages::launcherSettingsUnreadable);
    }
}

// What a field shows of a value: the display text for nothing, else the file's name.
void showChoice(HWND field, const std::string& value, const std::string& nullText) {
    SetWindowTextW(
        field, win32::widen(launcherShowsAsNothing(value) ? nullText : shownNameOf(value)).c_str());
}

void startLauncher(HWND dialog, Launcher& launcher) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&launcher));
    launcher.launcherWindow = dialog;
    loadLauncherSettings(launcher);
    launcher.musicField = GetDlgItem(dialog, IDC_MUSIC_FIELD);
    launcher.imageField = GetDlgItem(dialog, IDC_IMAGE_FIELD);
    const SettingsStore& settings = launcher.launcherSettings;
    const std::string sound = settings.getTrimmed(soundKey.name, true);
    const std::string background = settings.getTrimmed(backgroundKey.name, true);
    showChoice(launcher.imageField, background, captureScreenText);
    showChoice(launcher.musicField, sound, noMusicText);
    fillList(dialog, IDC_PLACEMENT, placementEntries,
             int(placementOf(settings.getTrimmed(fitScreenKey.name, false))));
    fillList(dialog, IDC_RAIN, rainEntries, int(rainOf(settings.getTrimmed(rainKey.name, false))));
    fillChangeList(dialog, settings.getTrimmed(changeKey.name, false));
    enableChangeList(launcher);
    showFolderIcon(launcher, win32::dpiOfWindow(dialog));
    SetWindowTextA(dialog, launcherCaption);
    for (const auto& [text, controlId] : {std::pair{"Default", IDC_IMAGE_DEFAULT},
                                          {"Default", IDC_MUSIC_DEFAULT},
                                          {"Browse Music", IDC_BROWSE_MUSIC},
                                          {"Browse Image", IDC_BROWSE_IMAGE},
                                          {"Browse Folder", IDC_BROWSE_FOLDER}}) {
        launcher.tooltips.push_back(addTooltip(dialog, text, controlId, false));
    }
}

// A save that fails (a file marked read-only, a full or read-only disk) is not reported:
// the show then shows what the file holds, and the choices stay the launcher's; the file
// stays as it was, which a file marked read-only is meant to.
void saveChoices(const Launcher& launcher) {
    if (!launcher.keepsFile) {
        static_cast<void>(launcher.launcherSettings.save());
    }
}

// Turns the tooltips off (and hides one that shows) while the show runs, or back on: a tip
// still on the screen at Launch would be captured with it and stay in the water's picture.
void quietTooltips(const Launcher& launcher, bool quiet) {
    for (HWND tip : launcher.tooltips) {
        SendMessageW(tip, TTM_ACTIVATE, quiet ? FALSE : TRUE, 0);
        if (quiet) {
            SendMessageW(tip, TTM_POP, 0, 0);
            ShowWindow(tip, SW_HIDE);
        }
    }
}

void launchShow(Launcher& launcher) {
    saveChoices(launcher);
    quietTooltips(launcher, true);
    ShowWindow(launcher.launcherWindow, SW_HIDE);
    ShowWindow(launcher.launcherWindow, SW_HIDE);
    // The show brings the launcher back when it ends, or ends without it when it cannot start.
    Show show({ShowHost::launcher, launcher.settingsPath, launcher.launcherWindow, {}});
    endOnFailure(show.run(instanceOf(launcher.launcherWindow)));
    quietTooltips(launcher, false);
}

void closeLauncher(const Launcher& launcher);

// Starts the water on the desktop over these choices (a wallpaper that runs takes them at
// once) and closes the launcher.
void startWallpaperAndClose(Launcher& launcher) {
    saveChoices(launcher);
    if (launcher.host == LauncherHost::program && !startWallpaper(launcher.settingsPath)) {
        MessageBoxA(launcher.launcherWindow, wallpaperUnstartableText, launcherCaption,
                    MB_OK | MB_ICONWARNING);
        return;
    }
    closeLauncher(launcher);
}

void onCommand(Launcher& launcher, int controlId) {
    const HWND dialog = launcher.launcherWindow;
    switch (controlId) {
    case IDC_MUSIC_DEFAULT:
        SetWindowTextA(launcher.musicField, noMusicText);
        launcher.launcherSettings.set(soundKey.name, soundKey.defaultValue);
        break;
    case IDC_IMAGE_DEFAULT:
        SetWindowTextA(launcher.imageField, captureScreenText);
        launcher.launcherSettings.set(backgroundKey.name, backgroundKey.defaultValue);
        enableChangeList(launcher);
        break;
    case IDC_BROWSE_IMAGE:
        if (const std::string path = browseImage(dialog, launcher.launcherSettings);
            !path.empty()) {
            SetWindowTextW(launcher.imageField, win32::widen(shownNameOf(path)).c_str());
            enableChangeList(launcher);
        }
        break;
    case IDC_BROWSE_FOLDER:
        if (const std::string path = browseFolder(dialog, launcher.launcherSettings);
            !path.empty()) {
            SetWindowTextW(launcher.imageField, win32::widen(shownNameOf(path)).c_str());
            enableChangeList(launcher);
        }
        break;
    case IDC_BROWSE_MUSIC:
        if (const std::string path = browseMusic(dialog, launcher.launcherSettings);
            !path.empty()) {
            SetWindowTextW(launcher.musicField, win32::widen(shownNameOf(path)).c_str());
        }
        break;
    case IDC_LAUNCH:
        launchShow(launcher);
        break;
    case IDC_ABOUT:
        runAboutPanel(instanceOf(dialog), launcher.about);
        break;
    case IDC_MORE_APPS:
        openWithShell(homePageUrl);
        break;
    case IDC_WALLPAPER:
        startWallpaperAndClose(launcher);
        break;
    default:
        break; // Escape (IDCANCEL) among them
    }
}

// Lets the user pick a file and keeps it as the key's value when the check accepts it;
// otherwise says why in a notice and keeps the earlier choice. "All Files" lets anything be
// picked: what the show could not use is refused now, not when it ends the next Launch.
std::string browseChecked(HWND owner, SettingsStore& settings, const wchar_t* filter,
                          const SettingKey& key, bool (*accepted)(const std::string&),
                          const char* notice, const char* caption) {
    const std::string path = browseForFile(owner, filter, L"*.*");
    if (path.size() <= 1) {
        return {};
    }
    if (!accepted(path)) {
        MessageBoxA(owner, notice, caption, MB_OK | MB_ICONWARNING);
        return {};
    }
    settings.set(key.name, path); // changes only a key the file already has
    return path;
}

} // namespace

HWND addTooltip(HWND dialog, const char* text, int controlId, bool balloon) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // Owned by the dialog, which destroys it with itself.
    HWND tip = CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr,
        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, controlId));
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(text);
    return SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE ? tip
                                                                                        : nullptr;
}

std::string browseForFile(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension) {
    wchar_t file[MAX_PATH] = {}; // the longest path the program takes, in characters
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameW(&dialog) ? win32::narrow(file) : std::string();
}

std::string browseImage(HWND owner, SettingsStore& settings) {
    return browseChecked(
        owner, settings, imageFilter, backgroundKey,
        [](const std::string& path) { return looksLikeShowablePicture(path.c_str()); },
        notPictureText, "Background Image");
}

std::string browseFolder(HWND owner, SettingsStore& settings) {
    const std::string folder = pickFolder(owner, L"Choose a Folder of Pictures");
    if (folder.empty()) {
        return {};
    }
    // The walk's files in order, until one is a picture: names alone are cheap, and the first
    // picture usually comes early.
    const win32::BusyPointer busy;
    const std::vector<std::string> files = filesOfPictureFolder(folder, listFolder);
    if (std::none_of(files.begin(), files.end(), [](const std::string& file) {
            return looksLikeShowablePicture(file.c_str());
        })) {
        MessageBoxA(owner, noPicturesText, "Background Image", MB_OK | MB_ICONWARNING);
        return {};
    }
    settings.set(backgroundKey.name, folder);
    return folder;
}

// Only music is kept, so that Launch never hands a program or a script to the shell.
std::string browseMusic(HWND owner, SettingsStore& settings) {
    return browseChecked(owner, settings, musicFilter, soundKey, isPlayableMusic, notMusicText,
                         "Background Music");
}

std::string shownNameOf(const std::string& path) {
    std::wstring wide = win32::widen(path);
    // A folder's name, without the separator a path to it may end with.
    while (wide.size() > 3 && (wide.back() == L'\\' || wide.back() == L'/')) {
        wide.pop_back();
    }
    return win32::narrow(PathFindFileNameW(wide.c_str()));
}

namespace {

// Fades the launcher out, saves the choices and ends the process with exit code 0; a
// launcher of the wallpaper's ends its dialog only.
void closeLauncher(const Launcher& launcher) {
    fadeOut(launcher.launcherWindow, fadeStepMs, fadeAlpha);
    saveChoices(launcher);
    if (launcher.host == LauncherHost::wallpaper) {
        EndDialog(launcher.launcherWindow, 0);
        return;
    }
    ExitProcess(0); // at once: nothing else runs, the dialog is never ended
}

} // namespace

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        startLauncher(dialog, *reinterpret_cast<Launcher*>(lParam));
        return FALSE;
    }
    if (GetWindowLongPtrW(dialog, GWLP_USERDATA) == 0) {
        return FALSE; // before WM_INITDIALOG
    }
    Launcher& launcher = launcherOf(dialog);
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            if (LOWORD(wParam) == IDC_PLACEMENT) {
                keepListChoice(launcher, IDC_PLACEMENT, fitScreenKey, placementSpellings);
            } else if (LOWORD(wParam) == IDC_RAIN) {
                keepListChoice(launcher, IDC_RAIN, rainKey, rainSpellings);
            } else if (LOWORD(wParam) == IDC_CHANGE) {
                keepListChoice(launcher, IDC_CHANGE, changeKey, changeSpellings);
            }
            break;
        }
        onCommand(launcher, LOWORD(wParam));
        break;
    case WM_DPICHANGED:
        showFolderIcon(launcher, HIWORD(wParam));
        break;
    case WM_CLOSE:
        closeLauncher(launcher);
        return TRUE;
    default:
        break;
    }
    // The wallpaper shows each choice as it is made.
    if (message == WM_COMMAND && launcher.host == LauncherHost::wallpaper &&
        (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == CBN_SELCHANGE)) {
        saveChoices(launcher);
    }
    return FALSE; // the dialog manager's own handling follows every message
}

int runLauncher(HINSTANCE instance, std::string settingsPath, LauncherHost host) {
    Launcher launcher(std::move(settingsPath), host);
    // A Unicode dialog, so that its fields show names in any language.
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LAUNCHER), nullptr,
                                            launcherDialogProc,
                                            reinterpret_cast<LPARAM>(&launcher)));
}
