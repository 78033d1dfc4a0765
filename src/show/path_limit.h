// The longest path the platform's file and shell calls take: MAX_PATH (260) characters with
// the terminating NUL. Longer settings are files that cannot be opened, and never reach
// calls with buffers of that size.
#pragma once

#include <cstddef>
#include <string>

inline constexpr size_t longestPathLength = 259;

inline bool fitsPathLimit(const std::string& path) {
    return path.size() <= longestPathLength;
}
