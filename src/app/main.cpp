// Entry point. Until the launcher is in place, the program runs one show straight away: the
// water over a capture of the screen, or over the picture that config.txt names.
#include <windows.h>

#include "app/app_state.h"
#include "app/fatal_error.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/effect_dialog.h"

namespace {

// The settings file is made with its defaults when it cannot be read, as on a first run.
void prepareSettings() {
    if (launcherSettings.load()) {
        return;
    }
    launcherSettings.clear();
    writeDefaultSettings();
    if (!launcherSettings.load()) {
        fatalError(errorMessages::launcherSettingsUnreadable);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    registerRippleClass(instance);
    prepareSettings();
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(effectDialogId), nullptr, effectDialogProc, 0));
}
