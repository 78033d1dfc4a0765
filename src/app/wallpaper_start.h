// Starting the water on the desktop: once per session, with a watchdog beside it that gives
// the desktop its own wallpaper back if the water's process ends without doing so itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "language/program_texts.h"

// Runs the wallpaper over the settings file (config.txt in the current folder when empty)
// until it is stopped; when one already runs in this session, opens its settings instead.
// Its settings open as "/settings PATH", in a process of their own. Its menu speaks the
// texts' language.
int runWallpaper(HINSTANCE instance, const ProgramTexts& texts, const std::string& settingsFile);

// The launcher's Wallpaper button: hands the settings file to the wallpaper that runs, or
// starts one in a process of its own. False when neither could be done.
bool startWallpaper(const std::string& settingsFile);

// Hands the settings file to the wallpaper that runs, which reads it again at once; false
// when none runs or it does not answer.
bool handToRunningWallpaper(const std::string& settingsFile);

// Waits, asleep, for the wallpaper's process to end, then has the desktop draw its own
// wallpaper again. A wallpaper that stops as it should ends its watchdog first: this runs
// on only when it was killed or crashed.
int runWatchdog(uintptr_t processId);
