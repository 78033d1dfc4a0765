// The monitors a show covers.
#pragma once

#include <windows.h>

#include <vector>

// Every monitor's area on the virtual screen, the primary one first; the primary screen's
// area alone when the platform lists none.
std::vector<RECT> showMonitors();

// The smallest rectangle holding every area of a list that is not empty.
RECT boundsOf(const std::vector<RECT>& areas);

// The width and height of each area.
std::vector<SIZE> sizesOf(const std::vector<RECT>& areas);
