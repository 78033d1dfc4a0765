#include "show/effect_dialog.h"

#include <cstdlib>

#include "app/app_state.h"
#include "app/fatal_error.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "show/background.h"
#include "show/close_keys.h"
#include "show/effect_state.h"
#include "show/music.h"
#include "show/placement.h"
#include "win32/bitmap_size.h"

namespace {

// Puts the picture under the water, centred or stretched, and deletes it.
void showPicture(HWND dialog, HBITMAP picture) {
    const SIZE size = bitmapSize(picture);
    const PicturePlacement place =
        placePicture(size.cx, size.cy, surfaceWidth, surfaceHeight, fitscreenSetting);
    POINT at{place.x, place.y};
    if (place.stretch) {
        HBITMAP stretched = stretchBitmap(picture, static_cast<uint16_t>(surfaceWidth),
                                          static_cast<uint16_t>(surfaceHeight));
        DeleteObject(picture);
        picture = stretched;
        at = {0, 0};
        if (picture == nullptr) {
            return; // the show goes on without water
        }
    }
    const SIZE shown = bitmapSize(picture);
    surfaceWidth = shown.cx;
    surfaceHeight = shown.cy;
    createRippleSurface(at.x, at.y, surfaceWidth, surfaceHeight, surfaceControlId, dialog,
                        appInstance, picture);
    DeleteObject(picture); // the surface has its own copy of the pixels
}

// The picture under the water: the screen, or the chosen file. A screen saver that cannot
// load the file shows the screen instead of an error.
HBITMAP showBackground() {
    const bool capture = equalsIgnoringAsciiCase(bgSetting, "null");
    HBITMAP picture = capture ? captureScreen() : loadBackground(bgSetting.c_str());
    if (picture == nullptr && screenSaverShow && !capture) {
        picture = captureScreen();
    }
    return picture;
}

void startMusicOfShow(HWND dialog) {
    if (!startMusic(screenSaverShow)) {
        if (screenSaverShow) {
            soundSetting.clear(); // silence: nothing to end later
            return;
        }
        releaseCloseKeys(dialog); // the lock would outlive the program on Windows
        fatalError(errorMessages::musicUnlaunchable);
    }
    Sleep(100); // lets the shell start the player before its name is looked up
    playerExeName = findPlayerExeName();
    SetForegroundWindow(dialog); // back from a player that activated itself meanwhile
}

void startShow(HWND dialog) {
    SetWindowTextA(dialog, "Pluvette");
    if (screenSaverShow) {
        loadScreenSaverSettings();
        rememberPointerStart();
        ShowCursor(FALSE);
    } else {
        loadSettings();
    }
    std::srand(GetTickCount());
    surfaceWidth = GetSystemMetrics(SM_CXSCREEN);
    surfaceHeight = GetSystemMetrics(SM_CYSCREEN);
    HBITMAP picture = showBackground();
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, surfaceWidth, surfaceHeight, SWP_FRAMECHANGED);
    if (picture == nullptr) {
        if (screenSaverShow) {
            EndDialog(dialog, 0); // not even the screen to show: nothing to say either
            return;
        }
        fatalError(errorMessages::imageUnloadable);
    }
    showPicture(dialog, picture);
    lockForeground();
    if (musicChosen()) {
        startMusicOfShow(dialog);
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
    ShowWindow(launcherWindow, SW_SHOW);
    SetForegroundWindow(launcherWindow);
    UpdateWindow(launcherWindow);
    EndDialog(dialog, 0);
}

HBRUSH blackBrush() {
    static HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    return brush;
}

} // namespace

INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    // A screen saver ends on any input, on the black margin around the picture too.
    if (screenSaverShow && effectWindow == dialog && endsScreenSaver(message)) {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
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
        return reinterpret_cast<INT_PTR>(blackBrush());
    case WM_CLOSE:
        endShow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
