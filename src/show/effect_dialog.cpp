#include "show/effect_dialog.h"

#include <cstdlib>
#include <utility>

#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/background.h"
#include "show/close_keys.h"
#include "show/effect_state.h"
#include "show/music.h"
#include "show/placement.h"
#include "text/text.h"
#include "win32/bitmap_size.h"

namespace {

// The window to show again when the show ends (the launcher), or null; from the caller.
HWND returnWindow = nullptr;

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// Ends a show that could not start, before it was ever shown to the user as running.
void failShow(HWND dialog, ShowEnd why) {
    releaseCloseKeys(dialog); // the foreground lock would outlive the program on Windows
    EndDialog(dialog, static_cast<INT_PTR>(why));
}

// Puts the picture under the water, centred or stretched. The surface takes a copy of its
// pixels, and the picture is deleted as soon as it has.
void showPicture(HWND dialog, win32::Bitmap picture) {
    const SIZE size = bitmapSize(picture.get());
    const PicturePlacement place =
        placePicture(size.cx, size.cy, surfaceWidth, surfaceHeight, fitscreenSetting);
    POINT at{place.x, place.y};
    if (place.stretch) {
        picture = stretchBitmap(picture.get(), static_cast<uint16_t>(surfaceWidth),
                                static_cast<uint16_t>(surfaceHeight));
        at = {0, 0};
        if (!picture) {
            return; // the show goes on without water
        }
    }
    const SIZE shown = bitmapSize(picture.get());
    surfaceWidth = shown.cx;
    surfaceHeight = shown.cy;
    createRippleSurface(at.x, at.y, surfaceWidth, surfaceHeight, IDC_WATER, dialog,
                        instanceOf(dialog), picture.get());
}

// The picture under the water: the screen, or the chosen file. A screen saver that cannot
// load the file shows the screen instead of an error.
win32::Bitmap showBackground() {
    const bool capture = isNull(bgSetting);
    win32::Bitmap picture = capture ? captureScreen() : loadBackground(bgSetting.c_str());
    if (!picture && screenSaverShow && !capture) {
        picture = captureScreen();
    }
    return picture;
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
    if (screenSaverShow) {
        loadScreenSaverSettings();
        rememberPointerStart();
        ShowCursor(FALSE);
    } else if (!loadSettings()) {
        failShow(dialog, ShowEnd::settingsUnreadable);
        return;
    }
    std::srand(GetTickCount());
    surfaceWidth = GetSystemMetrics(SM_CXSCREEN);
    surfaceHeight = GetSystemMetrics(SM_CYSCREEN);
    win32::Bitmap picture = showBackground();
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, surfaceWidth, surfaceHeight, SWP_FRAMECHANGED);
    if (!picture) {
        if (screenSaverShow) {
            EndDialog(dialog, 0); // not even the screen to show: nothing to say either
            return;
        }
        failShow(dialog, ShowEnd::pictureUnloadable);
        return;
    }
    showPicture(dialog, std::move(picture));
    lockForeground();
    if (musicChosen() && !startMusicOfShow(dialog)) {
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
    case WM_TIMER:
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
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH)); // never deleted
    case WM_CLOSE:
        endShow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
