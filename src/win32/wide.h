// The program's UTF-8 strings as the platform's wide strings and back, for every call that
// takes a path or shows text a user may have typed.
#pragma once

#include <string>
#include <string_view>

#include "text/unicode.h"

namespace win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

inline std::wstring widen(std::string_view utf8) {
    const std::u16string units = utf16FromUtf8(utf8);
    return {units.begin(), units.end()};
}

inline std::string narrow(std::wstring_view wide) {
    return utf8FromUtf16({reinterpret_cast<const char16_t*>(wide.data()), wide.size()});
}

} // namespace win32
