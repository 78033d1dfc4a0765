// Entry point: the program lives in the launcher's modal loop, which ends the process when
// the launcher is closed. The command line is not used.
#include <windows.h>

#include "app/app_state.h"
#include "app/launcher_dialog.h"
#include "ripple/ripple_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    registerRippleClass(instance); // without it, shows run without water
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(launcherDialogId), nullptr,
                                            launcherDialogProc, 0));
}
