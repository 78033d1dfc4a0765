// Program-wide state: the application's handles, set at start-up and by the launcher.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
// The launcher dialog, shown again when a show ends; null while there is none.
extern HWND launcherWindow;
// The two fields that show the launcher's choices; set when the launcher starts.
extern HWND imageField;
extern HWND musicField;
