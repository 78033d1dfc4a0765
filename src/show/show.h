// The show: a full-screen, always-on-top dialog (IDD_SHOW) with the water over the
// background picture, and the music. A close key, a right click or any WM_CLOSE ends it.
// Its creation parameter is the window to show again when it ends (the launcher), or null.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

inline constexpr UINT_PTR keepOnTopTimerId = 101;
inline constexpr UINT keepOnTopIntervalMs = 500;

// How a show ended: the dialog's result. A show that cannot start ends at once and says why;
// what the user is told is up to the caller.
enum class ShowEnd : INT_PTR {
    closed = 0,
    settingsUnreadable, // config.txt could not be read
    pictureUnloadable,  // the chosen picture could not be loaded
    musicUnlaunchable,  // the chosen music could not be started
};

INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
