// Entry point: the program lives in the launcher's modal loop, which ends the process when
// the launcher is closed. Windows' screen-saver requests ("/s", "/p HWND") run the show or
// its preview instead, "/w" the water on the desktop; any other command line opens the
// launcher.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/command_line.h"
#include "app/launcher_dialog.h"
#include "app/screen_saver.h"
#include "app/single_instance.h"
#include "app/wallpaper_start.h"
#include "language/program_texts.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "win32/handles.h"
#include "win32/left_threads.h"
#include "win32/wide.h"

namespace {

// The texts in the language the settings file sets, else in the user's.
ProgramTexts textsFor(HINSTANCE instance, const std::string& settingsFile) {
    const std::string file = settingsFile.empty() ? settingsFileName : settingsFile;
    return ProgramTexts(instance, chooseLanguage(languageSetting(file), preferredUiLanguages()));
}

// The arguments after the program's name, in UTF-8 whatever the code page (a settings file
// under "C:\Zoé Ж\"), with the ones that hold a blank quoted again. An argument that is a
// switch with its value ("/w:C:\My Pictures\config.txt") keeps its blank as it is.
std::string programArguments() {
    int count = 0;
    const win32::LocalMemory<LPWSTR*> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    std::string line;
    for (int i = 1; arguments.get() != nullptr && i < count; ++i) {
        std::string argument = win32::narrow(arguments.get()[i]);
        if (argument.empty() || (argument.find_first_of(" \t") != std::string::npos &&
                                 argument[0] != '/' && argument[0] != '-')) {
            argument = '"' + argument + '"';
        }
        line += (i > 1 ? " " : "") + argument;
    }
    return line;
}

// Runs what the command line asks for; the exit code.
int runAsAsked(HINSTANCE instance) {
    registerRippleClass(instance); // without it, shows run without water
    const StartRequest request = parseCommandLine(programArguments());
    switch (request.mode) {
    case StartMode::screenSaver: {
        const auto claimed = claimInstance(InstanceRole::screenSaver);
        return claimed ? runScreenSaver(instance) : 0; // one screen saver is enough
    }
    case StartMode::preview:
        return runPreview(instance, reinterpret_cast<HWND>(request.previewParent));
    case StartMode::wallpaper: {
        return runWallpaper(instance, textsFor(instance, request.settingsFile),
                            request.settingsFile);
    }
    case StartMode::wallpaperSettings: {
        // The launcher of the water on the desktop, in a process of its own; or the one
        // that is open already.
        const auto claimed = claimInstance(InstanceRole::launcher);
        if (!claimed) {
            bringRunningLauncherForward();
            return 0;
        }
        return runLauncher(instance, textsFor(instance, request.settingsFile), request.settingsFile,
                           LauncherHost::wallpaper);
    }
    case StartMode::watchdog:
        return runWatchdog(request.watched);
    case StartMode::screenSaverSettings:
    case StartMode::launcher:
        break;
    }
    const auto claimed = claimInstance(InstanceRole::launcher);
    if (!claimed) {
        bringRunningLauncherForward(); // instead of a second launcher saving over the first
        return 0;
    }
    // What the screen saver's Settings chooses is what the screen saver shows.
    const bool screenSaver = request.mode == StartMode::screenSaverSettings;
    const std::string settingsFile =
        screenSaver ? prepareScreenSaverSettingsPath() : std::string(settingsFileName);
    return runLauncher(instance, textsFor(instance, settingsFile), settingsFile,
                       screenSaver ? LauncherHost::screenSaverSettings : LauncherHost::program);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int code = runAsAsked(instance);
    win32::awaitLeftThreads(); // a picture still read or decoded for a show that has ended
    return code;
}
