// The entries of the launcher's Picture, Rain and Change lists, in the order of the settings
// they write (placementSpellings, rainSpellings, changeSpellings).
#pragma once

inline constexpr const char* placementEntries[] = {"Stretch to screen", "Centre", "Fill the screen",
                                                   "Fit in the screen"};
inline constexpr const char* rainEntries[] = {"None", "Light", "As designed", "Heavy"};
inline constexpr const char* changeEntries[] = {"Every minute", "Every 5 minutes",
                                                "Every 15 minutes", "Every hour", "Never"};
