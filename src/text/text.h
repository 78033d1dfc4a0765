// Small text helpers shared by every layer: comparisons that fold only the ASCII letters, as
// the settings file and file names want, and the two tests every setting value meets.
#pragma once

#include <string>
#include <string_view>

// The ASCII letters A-Z as a-z; every other byte as it is.
char lowerAscii(char c);

// Equality after folding the ASCII letters A-Z to a-z, nothing else.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// The text after the last '.' of the path (searched in the whole path), or the empty string
// when there is no dot or the only one is the path's first character.
std::string extensionOf(const std::string& path);

// Whether a setting is "null", the word for "none" (the screen, no music), in any case.
bool isNull(std::string_view setting);
