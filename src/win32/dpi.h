// Pixels per inch for windows on monitors of different scales.
#pragma once

#include <windows.h>

namespace win32 {

// The pixels per inch a window is drawn at: its monitor's on Windows 10 1607 and later, the
// screen's on earlier systems and for no window.
int dpiOfWindow(HWND window);

// A size of the system's (GetSystemMetrics) at a scale: a per-monitor aware program's
// GetSystemMetrics gives the primary monitor's as it was when the program started. The
// system's size on Windows before 10 1607.
int systemMetricForDpi(int index, int dpi);

// Keeps the dialog manager from resizing a dialog and its controls' fonts when the dialog
// moves to a monitor of another scale, for a dialog that lays itself out on WM_DPICHANGED
// (Windows 10 1703 and later scale dialogs themselves; earlier systems never do).
void layOutDialogOnDpiChangeItself(HWND dialog);

} // namespace win32
