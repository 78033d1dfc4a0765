// Which monitors other windows hide as the user sees them: a monitor is covered while a
// window in front of the desktop is maximised on it, or covers at least 95 % of it, and hides
// what is under it. Hidden, minimised, cloaked and empty windows do not count, nor do
// click-through ones and layered ones that let what is under them show; nor do windows the
// desktop's own window stands in front of ("show desktop").
#pragma once

#include <windows.h>

#include <vector>

// Whether a window's area covers at least 95 % of the monitor's.
bool coversMonitor(const RECT& window, const RECT& monitor);

struct MonitorCover {
    std::vector<bool> covered;    // for each monitor, whether a window hides it
    std::vector<DWORD> processes; // the processes with visible windows over the monitors
};

// Which monitors windows hide. Windows of the class given (ours on the desktop) and the
// desktop's own are never counted.
MonitorCover coveredMonitors(const std::vector<RECT>& monitors, const wchar_t* ownClass);

// Whether the desktop is what the user sees at a point of the screen: the first window there,
// from the top, that is shown and takes the input (not click-through) is the desktop's own or
// one of the class given (ours on the desktop).
bool desktopSeenAt(POINT at, const wchar_t* ownClass);
