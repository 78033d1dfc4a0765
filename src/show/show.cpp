#include "show/show_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/background.h"
#include "show/change_setting.h"
#include "show/close_keys.h"
#include "show/folder_pictures.h"
#include "show/show_state.h"
#include "show/monitors.h"
#include "show/music.h"
#include "show/picture_changer.h"
#include "show/placement.h"
#include "show/rain_setting.h"
#include "text/text.h"
#include "win32/bitmap_size.h"
#include "win32/handles.h"

namespace {

// The window to show again when the show ends (the launcher), or null; from the caller.
HWND returnWindow = nullptr;

// The monitors the water was laid out for.
std::vector<RECT> coveredMonitors;

// The pictures of a folder, when bg names one, and where their change stands: the next hand
// comes in once the change is due and the worker has it ready, whichever is last.
std::unique_ptr<PictureChanger> pictureChanger;
bool changeDue = false;
bool nextHandReady = false;
constexpr UINT_PTR pictureChangeTimerId = 102;
constexpr UINT nextHandReadyMessage = WM_APP + 1;

// A screen saver over the captured screen dims it by a quarter every change interval, down
// to black, so that no part of the screen shows the same for hours (dimming rather than
// drifting: a bright taskbar moved a few pixels would still stand in nearly the same place).
bool showsCapture = false;
// Whether the pictures are laid on canvases of the monitors' sizes already (a folder's, and a
// large PNG scaled as it was decoded), or are to be placed on each monitor.
bool picturesPlaced = false;
constexpr UINT_PTR dimTimerId = 103;
constexpr uint32_t dimKeep = 192; // of 256

bool sameAreas(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// Ends a show that could not start, before it was ever shown to the user as running.
void failShow(HWND dialog, ShowEnd why) {
    releaseCloseKeys(dialog); // the foreground lock would outlive the program on Windows
    KillTimer(dialog, pictureChangeTimerId);
    KillTimer(dialog, dimTimerId);
    pictureChanger.reset();
    EndDialog(dialog, static_cast<INT_PTR>(why));
}

// Puts the water over one monitor, whose area is given in the dialog's coordinates: the
// picture placed as the fitscreen setting says. The surface takes a copy of the picture's
// pixels; the picture stays the caller's.
void showOnMonitor(HWND dialog, HBITMAP picture, const RECT& area, unsigned controlId,
                   const std::string& fitscreen) {
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    const SIZE size = bitmapSize(picture);
    const PlacedPicture placed = placedPicture(
        picture, width, height, placePicture(size.cx, size.cy, width, height, fitscreen));
    if (placed.shown == nullptr) {
        return; // this monitor goes on without water
    }
    const SIZE shown = bitmapSize(placed.shown);
    createRippleSurface(area.left + placed.corner.x, area.top + placed.corner.y, shown.cx, shown.cy,
                        controlId, dialog, instanceOf(dialog), placed.shown);
}

std::vector<SIZE> sizesOf(const std::vector<RECT>& monitors) {
    std::vector<SIZE> sizes;
    for (const RECT& monitor : monitors) {
        sizes.push_back({monitor.right - monitor.left, monitor.bottom - monitor.top});
    }
    return sizes;
}

// The first pictures of a folder, one for each monitor, laid on canvases of the monitors'
// sizes; none when the folder holds no picture that can be shown.
std::vector<win32::Bitmap> folderBackgrounds(const std::vector<RECT>& monitors) {
    pictureChanger =
        std::make_unique<PictureChanger>(bgSetting, sizesOf(monitors), fitscreenSetting);
    std::vector<win32::Bitmap> pictures;
    for (Canvas& canvas : pictureChanger->firstHand()) {
        pictures.push_back(std::move(canvas.bitmap));
    }
    return pictures;
}

// The pictures under the water, one for each monitor: what each shows now, the chosen file
// for all, or pictures of the chosen folder. A screen saver that cannot load any shows the
// screens instead of an error. Empty when a picture is missing.
std::vector<win32::Bitmap> showBackgrounds(const std::vector<RECT>& monitors) {
    std::vector<win32::Bitmap> pictures;
    showsCapture = false;
    picturesPlaced = false;
    if (!isNull(bgSetting)) {
        if (isFolder(bgSetting)) {
            pictures = folderBackgrounds(monitors);
        } else {
            ShowPictures file =
                loadShowPictures(bgSetting.c_str(), sizesOf(monitors), fitscreenSetting);
            pictures = std::move(file.pictures);
            picturesPlaced = file.placed;
        }
        if (!pictures.empty() || !screenSaverShow) {
            return pictures;
        }
        pictureChanger.reset();
    }
    showsCapture = true;
    for (const RECT& monitor : monitors) {
        pictures.push_back(captureScreen(monitor));
        if (!pictures.back()) {
            return {};
        }
    }
    return pictures;
}

// Brings the next hand of a folder's pictures in under the waters, once the change is due
// and the worker has it ready, and sets the worker on the one after.
void changePictureWhenReady(HWND dialog) {
    if (pictureChanger == nullptr || !changeDue || !nextHandReady) {
        return;
    }
    changeDue = nextHandReady = false;
    std::vector<std::vector<uint32_t>> hand = pictureChanger->takeNextHand();
    for (size_t i = 0; i < hand.size(); ++i) {
        if (!hand[i].empty()) {
            fadeInPicture(GetDlgItem(dialog, int(IDC_WATER + i)), std::move(hand[i]));
        }
    }
    pictureChanger->prepareNextHand(dialog, nextHandReadyMessage);
}

// False when music was chosen and could not be started; a screen saver then stays silent.
bool startMusicOfShow(HWND dialog) {
    if (!startMusic(screenSaverShow)) {
        soundSetting.clear(); // nothing to end later
        return screenSaverShow;
    }
    Sleep(100); // lets the shell start the player before its name is looked up
    playerExeName = findPlayerExeName();
    SetForegroundWindow(dialog); // back from a player that activated itself meanwhile
    return true;
}

void startShow(HWND dialog) {
    effectWindow = nullptr; // the water's close requests wait until the show is up
    SetWindowTextA(dialog, "Pluvette");
    // From Launch until the water first shows, while a picture may take seconds to load and
    // scale with the launcher gone; a screen saver keeps the pointer hidden.
    std::optional<win32::BusyPointer> busy;
    if (screenSaverShow) {
        loadScreenSaverSettings();
        rememberPointerStart();
        ShowCursor(FALSE);
    } else if (!loadSettings()) {
        failShow(dialog, ShowEnd::settingsUnreadable);
        return;
    } else {
        busy.emplace();
    }
    rainAmount = rainAmountOf(rainSetting);
    std::srand(GetTickCount());
    // One window over every monitor, with a water of its own on each: the close keys, the
    // keep-on-top timer and a screen saver's input have one window to go to.
    const std::vector<RECT>& monitors = coveredMonitors = showMonitors();
    const RECT desktop = boundsOf(monitors);
    const std::vector<win32::Bitmap> pictures = showBackgrounds(monitors);
    SetWindowPos(dialog, HWND_TOPMOST, desktop.left, desktop.top, desktop.right - desktop.left,
                 desktop.bottom - desktop.top, SWP_FRAMECHANGED);
    if (pictures.empty()) {
        if (screenSaverShow) {
            EndDialog(dialog, 0); // not even the screen to show: nothing to say either
            return;
        }
        failShow(dialog, ShowEnd::pictureUnloadable);
        return;
    }
    for (size_t i = 0; i < monitors.size(); ++i) {
        RECT area = monitors[i];
        OffsetRect(&area, -desktop.left, -desktop.top);
        const HBITMAP picture = pictures[std::min(i, pictures.size() - 1)].get();
        showOnMonitor(dialog, picture, area, IDC_WATER + static_cast<unsigned>(i),
                      pictureChanger != nullptr || picturesPlaced ? "no" : fitscreenSetting);
    }
    if (const std::optional<uint32_t> changeMs = changeIntervalMs(changeSetting)) {
        if (pictureChanger != nullptr) {
            changeDue = nextHandReady = false;
            pictureChanger->prepareNextHand(dialog, nextHandReadyMessage);
            SetTimer(dialog, pictureChangeTimerId, *changeMs, nullptr);
        } else if (showsCapture && screenSaverShow) {
            SetTimer(dialog, dimTimerId, *changeMs, nullptr);
        }
    }
    lockForeground();
    if (soundSettingNamesMusic() && !startMusicOfShow(dialog)) {
        failShow(dialog, ShowEnd::musicUnlaunchable);
        return;
    }
    holdCloseKeys(dialog);
    // Started after the music, so that it cannot pull the show over the shell's and the
    // program's error boxes while they wait for the user.
    SetTimer(dialog, keepOnTopTimerId, keepOnTopIntervalMs, nullptr);
    effectWindow = dialog;
}

// Runs for every close request, and once more when the surface window is torn down with
// the dialog.
void endShow(HWND dialog) {
    releaseCloseKeys(dialog);
    KillTimer(dialog, pictureChangeTimerId);
    KillTimer(dialog, dimTimerId);
    pictureChanger.reset();
    stopMusic();
    if (returnWindow != nullptr) {
        ShowWindow(returnWindow, SW_SHOW);
        SetForegroundWindow(returnWindow);
        UpdateWindow(returnWindow);
    }
    EndDialog(dialog, static_cast<INT_PTR>(ShowEnd::closed));
}

} // namespace

INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // A screen saver ends on any input, on the black margin around the picture too.
    if (screenSaverShow && effectWindow == dialog && endsScreenSaver(message)) {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        returnWindow = reinterpret_cast<HWND>(lParam);
        startShow(dialog);
        return FALSE; // the dialog manager sets no keyboard focus
    case nextHandReadyMessage:
        if (pictureChanger != nullptr && wParam == pictureChanger->number()) {
            nextHandReady = true;
            changePictureWhenReady(dialog);
        }
        return TRUE;
    case WM_TIMER:
        if (wParam == pictureChangeTimerId) {
            changeDue = true;
            changePictureWhenReady(dialog);
        }
        if (wParam == dimTimerId) {
            for (size_t i = 0; i < coveredMonitors.size(); ++i) {
                dimPicture(GetDlgItem(dialog, int(IDC_WATER + i)), dimKeep);
            }
        }
        if (wParam == keepOnTopTimerId) {
            SetForegroundWindow(dialog);
            SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        }
        return FALSE;
    case WM_HOTKEY:
        if (isCloseHotKey(wParam)) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
        }
        return TRUE;
    case WM_KEYDOWN:
        if (isCloseKey(wParam)) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        // The dialog manager turns Enter and Escape into these before they arrive as keys.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        // The water works in the monitors' own pixels and shows no text, so a new scale
        // alone changes nothing. Windows also sends this when the window is first spread
        // over monitors of different scales; it is not moved to the size suggested.
        if (sameAreas(showMonitors(), coveredMonitors)) {
            return TRUE;
        }
        [[fallthrough]];
    case WM_DISPLAYCHANGE:
        // The monitors' layout changed under the water: the show ends rather than draw
        // where no screen is.
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH)); // never deleted
    case WM_CLOSE:
        endShow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
