// The show: a full-screen, always-on-top dialog (resource 101) with the water over the
// background picture, and the music. A close key, a right click or any WM_CLOSE ends it.
#pragma once

#include <windows.h>

inline constexpr int effectDialogId = 101;
inline constexpr unsigned surfaceControlId = 555;
inline constexpr UINT_PTR keepOnTopTimerId = 101;
inline constexpr UINT keepOnTopIntervalMs = 500;

INT_PTR CALLBACK effectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
