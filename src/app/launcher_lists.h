// The entries of the launcher's Picture and Rain lists, in the order of the settings they
// write (placementSettings, rainSettings).
#pragma once

inline constexpr const char* placementEntries[] = {"Stretch to screen", "Centre", "Fill the screen",
                                                   "Fit in the screen"};
inline constexpr const char* rainEntries[] = {"None", "Light", "As designed", "Heavy"};
