// The longest path the platform's file and shell calls take: MAX_PATH (260) UTF-16
// characters with the terminating NUL, whatever the language. Longer settings are files that
// cannot be opened, and never reach calls with buffers of that size.
#pragma once

#include <cstddef>
#include <string>

#include "text/unicode.h"

inline constexpr size_t longestPathLength = 259;

inline bool fitsPathLimit(const std::string& path) {
    return path.size() <= longestPathLength || utf16Length(path) <= longestPathLength;
}
