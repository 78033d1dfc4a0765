// Entry point: the program lives in the launcher's modal loop, which ends the process when
// the launcher is closed. Windows' screen-saver requests ("/s", "/p HWND") run the show or
// its preview instead; any other command line opens the launcher.
#include <windows.h>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/launcher_dialog.h"
#include "app/screen_saver.h"
#include "app/single_instance.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    appInstance = instance;
    registerRippleClass(instance); // without it, shows run without water
    const StartRequest request = parseCommandLine(commandLine != nullptr ? commandLine : "");
    switch (request.mode) {
    case StartMode::screenSaver: {
        const auto running = claimInstance(InstanceRole::screenSaver);
        return running ? runScreenSaver(instance) : 0; // one screen saver is enough
    }
    case StartMode::preview:
        return runPreview(instance, reinterpret_cast<HWND>(request.previewParent));
    case StartMode::screenSaverSettings:
        useScreenSaverSettings(); // what Settings chooses is what the screen saver shows
        break;
    case StartMode::launcher:
        break;
    }
    const auto running = claimInstance(InstanceRole::launcher);
    if (!running) {
        bringRunningLauncherForward(); // instead of a second launcher saving over the first
        return 0;
    }
    // A Unicode dialog, so that its fields show names in any language.
    return static_cast<int>(
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LAUNCHER), nullptr, launcherDialogProc, 0));
}
