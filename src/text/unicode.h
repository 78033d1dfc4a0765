// UTF-8, the program's encoding for every string that holds a path or a setting, and UTF-16,
// the platform's for file names and window text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool isValidUtf8(std::string_view bytes);

// UTF-16 code units to UTF-8. A surrogate without its pair becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view units);

// UTF-8 to UTF-16 code units. A byte that does not begin a well-formed sequence becomes
// U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);

// How many UTF-16 code units the text takes: the length the platform's path limit counts.
size_t utf16Length(std::string_view text);
