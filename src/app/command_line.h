// What the program is asked to do by its command line. Windows starts a screen saver with
// "/s" (show it), "/p HWND" (preview it inside a window) or "/c" (its settings); "/w" starts
// the water on the desktop, and "/watch PID" the helper that tidies the desktop after that
// process; anything else starts the program as usual, at the launcher.
#pragma once

#include <cstdint>
#include <string>

enum class StartMode {
    launcher,            // with config.txt in the current folder
    screenSaverSettings, // the launcher with the screen saver's config.txt
    screenSaver,
    preview,
    wallpaper,         // settingsFile names config.txt, or is empty for the current folder's
    wallpaperSettings, // the launcher of the wallpaper over settingsFile
    watchdog,          // watched is the wallpaper's process
};

struct StartRequest {
    StartMode mode = StartMode::launcher;
    uintptr_t previewParent = 0; // the window to preview in, for StartMode::preview
    std::string settingsFile;    // for StartMode::wallpaper and wallpaperSettings, unquoted
    uintptr_t watched = 0;       // for StartMode::watchdog
};

// Reads "/s", "-s", "/p HWND", "/p:HWND", "/c", "/c:HWND", "/w", "/w PATH", "/w:PATH" (the
// path may be quoted), "/settings PATH" and "/watch PID" in any letter case. A preview
// whose window handle is missing or not a decimal number has 0 for its window; any other
// command line asks for the launcher.
StartRequest parseCommandLine(const std::string& commandLine);
