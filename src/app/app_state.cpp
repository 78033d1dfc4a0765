#include "app/app_state.h"

HINSTANCE appInstance = nullptr;
HWND launcherWindow = nullptr;
HWND imageField = nullptr;
HWND musicField = nullptr;
