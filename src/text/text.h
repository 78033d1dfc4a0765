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

// The extension of the path's file name in lower case, without its dot; empty when the name
// has none (Windows drops trailing dots and spaces, so "song.exe." has none either).
std::string fileNameExtension(const std::string& path);

// The text without the spaces and tabs at either end.
std::string_view trimmedBlanks(std::string_view text);
