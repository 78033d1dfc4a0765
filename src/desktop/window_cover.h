// Which monitors other windows hide: a monitor is covered while a visible window that is not
// cloaked and not part of the desktop is maximised on it, or covers at least 95 % of it.
#pragma once

#include <windows.h>

#include <vector>

// Whether a window's area covers at least 95 % of the monitor's.
bool coversMonitor(const RECT& window, const RECT& monitor);

// For each monitor, whether a window hides it. Windows of the class given (ours on the
// desktop) and the desktop's own are never counted.
std::vector<bool> coveredMonitors(const std::vector<RECT>& monitors, const wchar_t* ownClass);
