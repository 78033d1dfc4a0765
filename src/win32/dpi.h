// Pixels per inch for windows on monitors of different scales.
#pragma once

#include <windows.h>

namespace win32 {

// The pixels per inch a window is drawn at: its monitor's on Windows 10 1607 and later, the
// screen's on earlier systems and for no window.
int dpiOfWindow(HWND window);

// Keeps the dialog manager from resizing a dialog and its controls' fonts when the dialog
// moves to a monitor of another scale, for a dialog that lays itself out on WM_DPICHANGED
// (Windows 10 1703 and later scale dialogs themselves; earlier systems never do).
void layOutDialogOnDpiChangeItself(HWND dialog);

} // namespace win32
