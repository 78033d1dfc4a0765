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

#include "app/app_state.h"
#include "app/failures.h"
#include "app/fatal_error.h"
#include "app/launcher_lists.h"
#include "app/program_texts.h"
#include "imaging/picture_file.h"
#include "settings/program_settings.h"
#include "show/show_dialog.h"
#include "show/music.h"
#include "show/change_setting.h"
#include "show/folder_pictures.h"
#include "show/picture_folder.h"
#include "show/placement.h"
#include "show/rain_setting.h"
#include "skin/about_panel.h"
#include "skin/window_fades.h"
#include "win32/dpi.h"
#include "win32/shell.h"
#include "win32/wide.h"

namespace {

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
    for (size_t i = 0; i < std::size(changeSettings); ++i) {
        if (changeIntervalMs(changeSettings[i]) == interval) {
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
void enableChangeList(HWND dialog) {
    const std::string background = launcherSettings.getTrimmed(backgroundKey, true);
    EnableWindow(GetDlgItem(dialog, IDC_CHANGE),
                 background != "null" && isFolder(openablePath(background, settingsPath)));
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
void showFolderIcon(HWND dialog, int dpi) {
    static win32::Icon shown;
    win32::Icon fresh = folderIconOfSize(MulDiv(16, dpi, 96));
    SendDlgItemMessageA(dialog, IDC_BROWSE_FOLDER, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(fresh.get()));
    shown = std::move(fresh); // the icon shown before goes with fresh
}

// Keeps the setting of the entry picked in a list. A hand-written value stays as written
// until another entry is picked; rain, which older files lack, is added when first picked.
template <size_t count>
void keepListChoice(HWND dialog, int controlId, const char* key,
                    const char* const (&settings)[count]) {
    const auto index = SendDlgItemMessageA(dialog, controlId, CB_GETCURSEL, 0, 0);
    if (index >= 0 && size_t(index) < count) {
        launcherSettings.addIfAbsent(key, settings[index]);
        launcherSettings.set(key, settings[index]);
    }
}

// A file that lacks a setting (hand-written, or from an older version) gets it with its
// default, so that what the launcher then chooses is saved and shown.
void loadLauncherSettings() {
    if (launcherSettings.load() && holdsAnySetting(launcherSettings)) {
        addMissingSettings(launcherSettings);
        return;
    }
    launcherSettings.clear();
    endOnFailure(writeDefaultSettings());
    if (!launcherSettings.load()) {
        fatalError(errorMessages::launcherSettingsUnreadable);
    }
}

// "null" is the only value shown as the display text; the comparison is exact, so a hand-
// written "NULL" shows as a file name.
void showChoice(HWND field, const std::string& value, const std::string& nullText) {
    SetWindowTextW(field, win32::widen(value != "null" ? fileNameOf(value) : nullText).c_str());
}

void startLauncher(HWND dialog) {
    loadLauncherSettings();
    musicField = GetDlgItem(dialog, IDC_MUSIC_FIELD);
    imageField = GetDlgItem(dialog, IDC_IMAGE_FIELD);
    launcherWindow = dialog;
    const std::string sound = launcherSettings.getTrimmed(soundKey, true);
    const std::string background = launcherSettings.getTrimmed(backgroundKey, true);
    showChoice(imageField, background, captureScreenText);
    showChoice(musicField, sound, noMusicText);
    fillList(dialog, IDC_PLACEMENT, placementEntries,
             int(placementChoiceOf(launcherSettings.getTrimmed(fitScreenKey, false))));
    fillList(dialog, IDC_RAIN, rainEntries,
             int(rainAmountOf(launcherSettings.getTrimmed(rainKey, false))));
    fillChangeList(dialog, launcherSettings.getTrimmed(changeKey, false));
    enableChangeList(dialog);
    showFolderIcon(dialog, win32::dpiOfWindow(dialog));
    SetWindowTextA(dialog, launcherCaption.c_str());
    addTooltip(dialog, "Default", IDC_IMAGE_DEFAULT, false);
    addTooltip(dialog, "Default", IDC_MUSIC_DEFAULT, false);
    addTooltip(dialog, "Browse Music", IDC_BROWSE_MUSIC, false);
    addTooltip(dialog, "Browse Image", IDC_BROWSE_IMAGE, false);
    addTooltip(dialog, "Browse Folder", IDC_BROWSE_FOLDER, false);
}

void launchShow(HWND dialog) {
    // A save that fails (a file marked read-only, a full or read-only disk) is not reported:
    // the show then shows what the file holds, and the choices stay the launcher's.
    static_cast<void>(launcherSettings.save());
    ShowWindow(dialog, SW_HIDE);
    ShowWindow(dialog, SW_HIDE);
    // The show brings the launcher back when it ends, or ends without it when it cannot start.
    endOnFailure(static_cast<ShowEnd>(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_SHOW),
                                                      nullptr, effectDialogProc,
                                                      reinterpret_cast<LPARAM>(launcherWindow))));
}

void onCommand(HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_MUSIC_DEFAULT:
        SetWindowTextA(musicField, noMusicText.c_str());
        launcherSettings.set(soundKey, "null");
        break;
    case IDC_IMAGE_DEFAULT:
        SetWindowTextA(imageField, captureScreenText.c_str());
        launcherSettings.set(backgroundKey, "null");
        enableChangeList(dialog);
        break;
    case IDC_BROWSE_IMAGE:
        if (const std::string path = browseImage(dialog); !path.empty()) {
            SetWindowTextW(imageField, win32::widen(fileNameOf(path)).c_str());
            enableChangeList(dialog);
        }
        break;
    case IDC_BROWSE_FOLDER:
        if (const std::string path = browseFolder(dialog); !path.empty()) {
            SetWindowTextW(imageField, win32::widen(fileNameOf(path)).c_str());
            enableChangeList(dialog);
        }
        break;
    case IDC_BROWSE_MUSIC:
        if (const std::string path = browseMusic(dialog); !path.empty()) {
            SetWindowTextW(musicField, win32::widen(fileNameOf(path)).c_str());
        }
        break;
    case IDC_LAUNCH:
        launchShow(dialog);
        break;
    case IDC_ABOUT:
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT_PANEL), nullptr, aboutDialogProc,
                        reinterpret_cast<LPARAM>(&aboutLinks()));
        break;
    case IDC_MORE_APPS:
        openWithShell(homePageUrl);
        break;
    default:
        break; // Escape (IDCANCEL) among them
    }
}

// Lets the user pick a file and keeps it as the key's value when the check accepts it;
// otherwise says why in a notice and keeps the earlier choice. "All Files" lets anything be
// picked: what the show could not use is refused now, not when it ends the next Launch.
std::string browseChecked(HWND owner, const wchar_t* filter, const char* key,
                          bool (*accepted)(const std::string&), const char* notice,
                          const char* caption) {
    const std::string path = browseForFile(owner, filter, L"*.*");
    if (path.size() <= 1) {
        return {};
    }
    if (!accepted(path)) {
        MessageBoxA(owner, notice, caption, MB_OK | MB_ICONWARNING);
        return {};
    }
    launcherSettings.set(key, path); // changes only a key the file already has
    return path;
}

} // namespace

bool addTooltip(HWND dialog, const char* text, int controlId, bool balloon) {
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
    return SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
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

std::string browseImage(HWND owner) {
    return browseChecked(
        owner, imageFilter, backgroundKey,
        [](const std::string& path) { return looksLikeShowablePicture(path.c_str()); },
        notPictureText, "Background Image");
}

std::string browseFolder(HWND owner) {
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
    launcherSettings.set(backgroundKey, folder);
    return folder;
}

// Only music is kept, so that Launch never hands a program or a script to the shell.
std::string browseMusic(HWND owner) {
    return browseChecked(owner, musicFilter, soundKey, isPlayableMusic, notMusicText,
                         "Background Music");
}

std::string fileNameOf(const std::string& path) {
    std::wstring wide = win32::widen(path);
    // A folder's name, without the separator a path to it may end with.
    while (wide.size() > 3 && (wide.back() == L'\\' || wide.back() == L'/')) {
        wide.pop_back();
    }
    return win32::narrow(PathFindFileNameW(wide.c_str()));
}

void closeLauncher(HWND dialog) {
    fadeOut(dialog, fadeStepMs, fadeAlpha);
    // A save that fails is not reported on the way out either: the file stays as it was,
    // which a file marked read-only is meant to.
    static_cast<void>(launcherSettings.save());
    ExitProcess(0); // at once: nothing else runs, the dialog is never ended
}

INT_PTR CALLBACK launcherDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        startLauncher(dialog);
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            if (LOWORD(wParam) == IDC_PLACEMENT) {
                keepListChoice(dialog, IDC_PLACEMENT, fitScreenKey, placementSettings);
            } else if (LOWORD(wParam) == IDC_RAIN) {
                keepListChoice(dialog, IDC_RAIN, rainKey, rainSettings);
            } else if (LOWORD(wParam) == IDC_CHANGE) {
                keepListChoice(dialog, IDC_CHANGE, changeKey, changeSettings);
            }
            break;
        }
        onCommand(dialog, LOWORD(wParam));
        break;
    case WM_DPICHANGED:
        showFolderIcon(dialog, HIWORD(wParam));
        break;
    case WM_CLOSE:
        closeLauncher(dialog);
    default:
        break;
    }
    return FALSE; // the dialog manager's own handling follows every message
}
