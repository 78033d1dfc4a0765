#include "app/launcher_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/default_mark.h"
#include "app/failures.h"
#include "app/fatal_error.h"
#include "app/launcher_layout.h"
#include "app/single_instance.h"
#include "app/wallpaper_start.h"
#include "app/web_addresses.h"
#include "resources/text_ids.h"
#include "pictures/picture_decoder.h"
#include "pictures/picture_file.h"
#include "settings/program_settings.h"
#include "show/music.h"
#include "show/show.h"
#include "show/folder_pictures.h"
#include "show/picture_folder.h"
#include "skin/about_panel.h"
#include "skin/window_fades.h"
#include "win32/background_jobs.h"
#include "win32/dpi.h"
#include "win32/left_threads.h"
#include "win32/shell.h"
#include "win32/wide.h"

namespace {

// What one launcher holds, reached through its dialog's GWLP_USERDATA.
struct Launcher {
    const ProgramTexts& texts;
    std::string settingsPath;
    SettingsStore launcherSettings;
    HWND launcherWindow = nullptr;
    HWND imageField = nullptr;
    HWND musicField = nullptr;
    win32::Icon folderIcon;     // shown on the folder button until the next scale's replaces it
    win32::Icon defaultIcon;    // the Default buttons' arrow, where their font lacks it
    AboutPanel about;           // kept from one opening to the next
    std::vector<HWND> tooltips; // the dialog's own, destroyed with it
    bool keepsFile = false;     // the file could not be read: it is never written
    LauncherHost host = LauncherHost::program;
    // A picture or folder just picked, checked off the dialog's thread: a large photo's
    // check would otherwise hold the launcher still.
    struct PictureCheck {
        std::string path;
        bool folder = false;
        bool showable = false;
    };
    std::unique_ptr<win32::BackgroundJobs> pictureChecks;
    std::shared_ptr<PictureCheck> checked;

    Launcher(const ProgramTexts& language, std::string path, LauncherHost opener)
        : texts(language), settingsPath(std::move(path)),
          launcherSettings(settingsPath, settingsSeparator, ansiToUtf8), host(opener) {
        about.links = aboutLinks;
        about.headline = win32::narrow(texts.text(IDS_MORE_PROGRAMS));
        about.rightToLeft = texts.rightToLeft();
    }
};

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

Launcher& launcherOf(HWND dialog) {
    return *reinterpret_cast<Launcher*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

constexpr int fadeStepMs = 15;
// Lays the launcher out again once a change of scale has been handled.
constexpr UINT relayoutMessage = WM_APP + 1;
// Posted once the dialog shows: the water on the desktop's launcher comes to the front, as
// the water that opened it allowed.
constexpr UINT comeForwardMessage = WM_APP + 2;
// A picked picture's or folder's check has ended (its job's number).
constexpr UINT pictureCheckedMessage = WM_APP + 3;
constexpr int fadeAlpha = 220;

struct FileKind {
    UINT nameId;
    const wchar_t* patterns;
};
constexpr FileKind pictureKinds[] = {
    {IDS_IMAGE_FILES, L"*.png;*.jpg;*.jpeg;*.gif;*.bmp"},
    {IDS_ALL_PICTURES, L"*.png;*.jpg;*.jpeg;*.jpe;*.jfif;*.gif;*.bmp;*.dib;*.tif;*.tiff;*.ico;"
                       L"*.webp;*.heic;*.heif;*.avif"}};
constexpr FileKind musicKinds[] = {{IDS_MUSIC_FILES, L"*.mp3;*.wav;*.ogg;*.xm;*.it;*.mod;*.s3m"},
                                   {IDS_ALL_FILES, L"*.*"}};

// A file dialog's filter: pairs of display text and pattern, each ended by a NUL, and a NUL
// after the last pair.
template <size_t count>
std::wstring filterOf(const ProgramTexts& texts, const FileKind (&kinds)[count]) {
    std::wstring filter;
    for (const FileKind& kind : kinds) {
        filter += texts.text(kind.nameId) + L'\0' + kind.patterns + L'\0';
    }
    return filter;
}

// Fills a drop-down list with the texts numbered from firstId.
void fillList(HWND dialog, const ProgramTexts& texts, int controlId, UINT firstId, size_t count) {
    for (UINT id = firstId; id < firstId + count; ++id) {
        SendDlgItemMessageW(dialog, controlId, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(texts.text(id).c_str()));
    }
}

// The Change list's choice: a hand-written value that none of its entries names (as
// "Every 0.5 minutes") is added after them; an unreadable one is shown as what the show does.
void selectChange(HWND dialog, const ProgramTexts& texts, const std::string& setting) {
    const std::optional<uint32_t> interval = changeIntervalMs(setting);
    int index = -1;
    for (size_t i = 0; i < std::size(changeSpellings); ++i) {
        if (changeIntervalMs(changeSpellings[i]) == interval) {
            index = int(i);
        }
    }
    SendDlgItemMessageW(dialog, IDC_CHANGE, CB_SETCURSEL, WPARAM(index), 0);
    if (index < 0) {
        // As a number of a few digits however the file writes it; the file keeps its value.
        const std::wstring own = texts.formatCounted(IDS_CHANGE_OWN, shownChangeMinutes(setting));
        SendDlgItemMessageW(dialog, IDC_CHANGE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(own.c_str()));
        SendDlgItemMessageW(dialog, IDC_CHANGE, CB_SETCURSEL, std::size(changeSpellings), 0);
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

// The Default buttons show their mark as text where the dialog's font draws it, else as an
// icon of the small icon size of the dialog's scale.
void showDefaultMarks(Launcher& launcher, int dpi) {
    const std::wstring mark = launcher.texts.text(IDS_DEFAULT_BUTTON);
    const HWND image = GetDlgItem(launcher.launcherWindow, IDC_IMAGE_DEFAULT);
    win32::Icon fresh =
        fontDrawsText(image, mark) ? win32::Icon() : defaultMarkIcon(MulDiv(16, dpi, 96));
    for (const int id : {IDC_IMAGE_DEFAULT, IDC_MUSIC_DEFAULT}) {
        const HWND button = GetDlgItem(launcher.launcherWindow, id);
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & ~LONG_PTR(BS_ICON);
        SetWindowLongPtrW(button, GWL_STYLE, style | (fresh.get() != nullptr ? BS_ICON : 0));
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(fresh.get()));
        InvalidateRect(button, nullptr, TRUE);
    }
    launcher.defaultIcon = std::move(fresh);
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
// A file there that cannot be read (another program writing or holding it, or one this user
// may not read) is never replaced: the launcher shows the defaults, says so, and leaves the
// file as it is. A
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
    if (keptUnread(outcome) ||
        (outcome == ReadOutcome::missing && entryExists(launcher.settingsPath))) {
        addMissingSettings(settings);
        launcher.keepsFile = keptUnread(outcome);
        if (launcher.keepsFile) {
            const UINT notice =
                outcome == ReadOutcome::busy ? IDS_SETTINGS_BUSY : IDS_SETTINGS_UNREADABLE;
            showNotice(launcher.texts, nullptr, launcher.texts.text(notice), L"Pluvette",
                       MB_OK | MB_ICONWARNING);
        }
        return;
    }
    endOnFailure(launcher.texts, writeDefaultSettings(launcher.settingsPath));
    if (!settings.load()) {
        fatalError(launcher.texts, errorMessages::launcherSettingsUnreadable);
    }
}

// Shows a text in a field: the name of a file or folder, which reads left to right in any
// language, or one of the program's own texts ("Capture Screen"), which reads in the
// language's direction: in a right-to-left language from the field's right edge, the field
// mirrored as the launcher is. (The edit control takes no new alignment once made, on Windows
// as under Wine; its mirroring, which every paint takes from its style, it does.)
void showInField(HWND field, const std::wstring& text, bool ownText, const ProgramTexts& texts) {
    const LONG_PTR directions =
        WS_EX_LAYOUTRTL | WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
    LONG_PTR style = GetWindowLongPtrW(field, GWL_EXSTYLE) & ~directions;
    if (ownText && texts.rightToLeft()) {
        style |= WS_EX_LAYOUTRTL | WS_EX_RTLREADING;
    }
    SetWindowLongPtrW(field, GWL_EXSTYLE, style);
    SetWindowTextW(field, text.c_str());
    InvalidateRect(field, nullptr, TRUE);
}

// What a field shows of a value: the program's text for nothing, else the file's name.
void showChoice(HWND field, const std::string& value, UINT nothingText, const ProgramTexts& texts) {
    if (launcherShowsAsNothing(value)) {
        showInField(field, texts.text(nothingText), true, texts);
    } else {
        showInField(field, win32::widen(shownNameOf(value)), false, texts);
    }
}

} // namespace

void showLauncherTexts(HWND dialog, const ProgramTexts& texts, LauncherHost host) {
    SetWindowTextW(dialog,
                   texts
                       .text(host == LauncherHost::screenSaverSettings ? IDS_SCREEN_SAVER_CAPTION
                                                                       : IDS_LAUNCHER_CAPTION)
                       .c_str());
    for (const auto& [controlId, textId] : {std::pair{IDC_IMAGE_LABEL, IDS_IMAGE_LABEL},
                                            {IDC_MUSIC_LABEL, IDS_MUSIC_LABEL},
                                            {IDC_PICTURE_LABEL, IDS_PICTURE_LABEL},
                                            {IDC_RAIN_LABEL, IDS_RAIN_LABEL},
                                            {IDC_CHANGE_LABEL, IDS_CHANGE_LABEL},
                                            {IDC_LAUNCH, IDS_LAUNCH},
                                            {IDC_WALLPAPER, IDS_WALLPAPER},
                                            {IDC_ABOUT, IDS_ABOUT},
                                            {IDC_MORE_APPS, IDS_MORE_APPS},
                                            {IDC_IMAGE_DEFAULT, IDS_DEFAULT_BUTTON},
                                            {IDC_MUSIC_DEFAULT, IDS_DEFAULT_BUTTON}}) {
        SetDlgItemTextW(dialog, controlId, texts.text(textId).c_str());
    }
    fillList(dialog, texts, IDC_PLACEMENT, IDS_PLACEMENT_FIRST, std::size(placementSpellings));
    fillList(dialog, texts, IDC_RAIN, IDS_RAIN_FIRST, std::size(rainSpellings));
    fillList(dialog, texts, IDC_CHANGE, IDS_CHANGE_FIRST, std::size(changeSpellings));
}

namespace {

void startLauncher(HWND dialog, Launcher& launcher) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&launcher));
    launcher.launcherWindow = dialog;
    loadLauncherSettings(launcher);
    launcher.musicField = GetDlgItem(dialog, IDC_MUSIC_FIELD);
    launcher.imageField = GetDlgItem(dialog, IDC_IMAGE_FIELD);
    const SettingsStore& settings = launcher.launcherSettings;
    const std::string sound = settings.getTrimmed(soundKey.name, true);
    const std::string background = settings.getTrimmed(backgroundKey.name, true);
    const ProgramTexts& texts = launcher.texts;
    SetPropW(dialog, launcherMark, dialog);
    showChoice(launcher.imageField, background, IDS_CAPTURE_SCREEN, texts);
    showChoice(launcher.musicField, sound, IDS_NO_MUSIC, texts);
    showLauncherTexts(dialog, texts, launcher.host);
    SendDlgItemMessageW(dialog, IDC_PLACEMENT, CB_SETCURSEL,
                        WPARAM(placementOf(settings.getTrimmed(fitScreenKey.name, false))), 0);
    SendDlgItemMessageW(dialog, IDC_RAIN, CB_SETCURSEL,
                        WPARAM(rainOf(settings.getTrimmed(rainKey.name, false))), 0);
    selectChange(dialog, texts, settings.getTrimmed(changeKey.name, false));
    enableChangeList(launcher);
    showFolderIcon(launcher, win32::dpiOfWindow(dialog));
    showDefaultMarks(launcher, win32::dpiOfWindow(dialog));
    layOutLauncher(dialog);
    launcher.pictureChecks = std::make_unique<win32::BackgroundJobs>(dialog, pictureCheckedMessage);
    if (launcher.host == LauncherHost::wallpaper) {
        PostMessageW(dialog, comeForwardMessage, 0, 0);
    }
    for (const auto& [textId, controlId] : {std::pair{IDS_DEFAULT_TIP, IDC_IMAGE_DEFAULT},
                                            {IDS_DEFAULT_TIP, IDC_MUSIC_DEFAULT},
                                            {IDS_BROWSE_MUSIC_TIP, IDC_BROWSE_MUSIC},
                                            {IDS_BROWSE_IMAGE_TIP, IDC_BROWSE_IMAGE},
                                            {IDS_BROWSE_FOLDER_TIP, IDC_BROWSE_FOLDER}}) {
        launcher.tooltips.push_back(addTooltip(dialog, texts.text(textId), controlId, false));
    }
}

// What others wrote in the file meanwhile is kept: only the launcher's own changes are
// written over the file as it is now. A save that fails (a file marked read-only, a full or
// read-only disk) is not reported: the show then shows what the file holds, and the choices
// stay the launcher's; the file stays as it was, which a file marked read-only is meant to.
void saveChoices(const Launcher& launcher) {
    if (!launcher.keepsFile) {
        static_cast<void>(launcher.launcherSettings.saveKeepingOthers());
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
    // The show brings the launcher back when it ends, or ends without it when it cannot start;
    // when no window could be made for it, the launcher says so and comes back.
    Show show({ShowHost::launcher, launcher.settingsPath, launcher.launcherWindow, {}});
    const ShowEnd ended = show.run(instanceOf(launcher.launcherWindow));
    if (ended == ShowEnd::windowUnmade) {
        showNotice(launcher.texts, nullptr,
                   composeErrorText(launcher.texts, errorMessages::showWindowUnmade),
                   launcher.texts.text(IDS_ERROR_CAPTION), MB_OK | MB_ICONWARNING);
        ShowWindow(launcher.launcherWindow, SW_SHOW);
        SetForegroundWindow(launcher.launcherWindow);
    } else {
        endOnFailure(launcher.texts, ended);
    }
    quietTooltips(launcher, false);
}

void closeLauncher(const Launcher& launcher);

// Starts the water on the desktop over these choices (a wallpaper that runs takes them at
// once) and closes the launcher.
void startWallpaperAndClose(Launcher& launcher) {
    saveChoices(launcher);
    // The wallpaper whose settings these are may have been stopped meanwhile: it starts again.
    if (!startWallpaper(launcher.settingsPath)) {
        showNotice(launcher.texts, launcher.launcherWindow,
                   launcher.texts.text(IDS_WALLPAPER_UNSTARTABLE), L"Pluvette",
                   MB_OK | MB_ICONWARNING);
        return;
    }
    closeLauncher(launcher);
}

// Whether a picked picture, or a folder's files walked in order until one is a picture (names
// alone are cheap, and the first picture usually comes early), can be shown: judged on a job
// of its own while the launcher, disabled meanwhile, keeps answering.
void checkPicture(Launcher& launcher, const std::string& path, bool folder) {
    auto check = std::make_shared<Launcher::PictureCheck>(Launcher::PictureCheck{path, folder});
    launcher.checked = check;
    const auto judge = [check](const std::atomic<bool>&) {
        if (!check->folder) {
            check->showable = pictureCanBeShown(check->path.c_str());
            return;
        }
        const std::vector<std::string> files = filesOfPictureFolder(check->path, listFolder);
        check->showable = std::any_of(files.begin(), files.end(), [](const std::string& file) {
            return pictureCanBeShown(file.c_str());
        });
    };
    EnableWindow(launcher.launcherWindow, FALSE);
    if (launcher.pictureChecks->start(judge) == 0) {
        judge(std::atomic<bool>(false)); // no thread to spare: judged here
        PostMessageW(launcher.launcherWindow, pictureCheckedMessage, 0, 0);
    }
}

// Keeps the picture or folder checked as the picture setting when it can be shown; otherwise
// a notice says why and the earlier choice stays.
void takeCheckedPicture(Launcher& launcher) {
    const HWND dialog = launcher.launcherWindow;
    EnableWindow(dialog, TRUE);
    const Launcher::PictureCheck check = *launcher.checked;
    if (!check.showable) {
        showNotice(launcher.texts, dialog,
                   launcher.texts.text(check.folder ? IDS_NO_PICTURES : IDS_NOT_PICTURE),
                   launcher.texts.text(IDS_IMAGE_CAPTION), MB_OK | MB_ICONWARNING);
        return;
    }
    launcher.launcherSettings.set(backgroundKey.name, check.path);
    showChoice(launcher.imageField, check.path, IDS_CAPTURE_SCREEN, launcher.texts);
    enableChangeList(launcher);
    if (launcher.host == LauncherHost::wallpaper) {
        saveChoices(launcher);
        handToRunningWallpaper(launcher.settingsPath);
    }
}

void onCommand(Launcher& launcher, int controlId) {
    const HWND dialog = launcher.launcherWindow;
    switch (controlId) {
    case IDC_MUSIC_DEFAULT:
        launcher.launcherSettings.set(soundKey.name, soundKey.defaultValue);
        showChoice(launcher.musicField, soundKey.defaultValue, IDS_NO_MUSIC, launcher.texts);
        break;
    case IDC_IMAGE_DEFAULT:
        launcher.launcherSettings.set(backgroundKey.name, backgroundKey.defaultValue);
        showChoice(launcher.imageField, backgroundKey.defaultValue, IDS_CAPTURE_SCREEN,
                   launcher.texts);
        enableChangeList(launcher);
        break;
    case IDC_BROWSE_IMAGE:
        if (const std::string path =
                browseForFile(dialog, filterOf(launcher.texts, pictureKinds).c_str(), L"*.*");
            path.size() > 1) {
            checkPicture(launcher, path, false);
        }
        break;
    case IDC_BROWSE_FOLDER:
        if (const std::string folder =
                pickFolder(dialog, launcher.texts.text(IDS_CHOOSE_FOLDER).c_str());
            !folder.empty()) {
            checkPicture(launcher, folder, true);
        }
        break;
    case IDC_BROWSE_MUSIC:
        if (const std::string path = browseMusic(dialog, launcher.texts, launcher.launcherSettings);
            !path.empty()) {
            showChoice(launcher.musicField, path, IDS_NO_MUSIC, launcher.texts);
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
std::string browseChecked(HWND owner, const ProgramTexts& texts, SettingsStore& settings,
                          const std::wstring& filter, const SettingKey& key,
                          bool (*accepted)(const std::string&), UINT noticeId, UINT captionId) {
    const std::string path = browseForFile(owner, filter.c_str(), L"*.*");
    if (path.size() <= 1) {
        return {};
    }
    if (!accepted(path)) {
        showNotice(texts, owner, texts.text(noticeId), texts.text(captionId),
                   MB_OK | MB_ICONWARNING);
        return {};
    }
    settings.set(key.name, path); // changes only a key the file already has
    return path;
}

} // namespace

HWND addTooltip(HWND dialog, const std::wstring& text, int controlId, bool balloon) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const bool mirrored = (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    // Owned by the dialog, which destroys it with itself.
    HWND tip = CreateWindowExW(
        mirrored ? WS_EX_LAYOUTRTL : 0, TOOLTIPS_CLASSW, nullptr,
        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | (mirrored ? TTF_RTLREADING : 0);
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, controlId));
    tool.hinst = instance;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE ? tip
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

// Only music is kept, so that Launch never hands a program or a script to the shell.
std::string browseMusic(HWND owner, const ProgramTexts& texts, SettingsStore& settings) {
    return browseChecked(owner, texts, settings, filterOf(texts, musicKinds), soundKey,
                         isPlayableMusic, IDS_NOT_MUSIC, IDS_MUSIC_CAPTION);
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
    win32::awaitLeftThreads();
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
        showDefaultMarks(launcher, HIWORD(wParam));
        // After the dialog manager has scaled the dialog and its font.
        PostMessageW(dialog, relayoutMessage, 0, 0);
        break;
    case relayoutMessage:
        layOutLauncher(dialog);
        break;
    case comeForwardMessage:
        SetForegroundWindow(dialog);
        break;
    case pictureCheckedMessage:
        if (wParam == 0 || launcher.pictureChecks->isNewest(wParam)) {
            takeCheckedPicture(launcher);
        }
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
        handToRunningWallpaper(launcher.settingsPath); // at once, not when the file is seen
    }
    return FALSE; // the dialog manager's own handling follows every message
}

std::vector<BYTE> launcherTemplate(HINSTANCE instance, bool mirrored) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_LAUNCHER),
                                      MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    const void* data = found != nullptr ? LockResource(LoadResource(instance, found)) : nullptr;
    if (data == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> copy(bytes, bytes + SizeofResource(instance, found));
    // An extended template: version 1, signature 0xFFFF, help ID, then the extended style.
    if (mirrored && copy.size() >= 12 && copy[0] == 1 && copy[2] == 0xFF && copy[3] == 0xFF) {
        DWORD style = 0;
        std::memcpy(&style, &copy[8], sizeof(style));
        style |= WS_EX_LAYOUTRTL;
        std::memcpy(&copy[8], &style, sizeof(style));
    }
    return copy;
}

int runLauncher(HINSTANCE instance, const ProgramTexts& texts, std::string settingsPath,
                LauncherHost host) {
    Launcher launcher(texts, std::move(settingsPath), host);
    const std::vector<BYTE> dialog = launcherTemplate(instance, texts.rightToLeft());
    if (dialog.empty()) {
        return -1;
    }
    // A Unicode dialog, so that its fields show names in any language.
    return static_cast<int>(
        DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                nullptr, launcherDialogProc, reinterpret_cast<LPARAM>(&launcher)));
}
