// One launcher and one screen saver at a time for each copy of the program, and one water on
// the desktop in each session: a second start finds the first through a named lock, tied to
// the program file's path but for the wallpaper's.
#pragma once

#include <windows.h>

#include <optional>

#include "win32/handles.h"

enum class InstanceRole { launcher, screenSaver, wallpaper };

// Takes the role's lock for this program file, held while the owner lives; nothing when
// another process of the same program file holds it already. Where no lock can be made at
// all, the owner holds none and the program runs as it always did.
std::optional<win32::Handle> claimInstance(InstanceRole role);

// Brings the launcher that another process of this program file shows to the front; nothing
// when it is hidden behind a show or there is none.
void bringRunningLauncherForward();

// The window property that marks a launcher, by which another start finds it.
inline constexpr const wchar_t* launcherMark = L"Pluvette.Launcher";
