#include "text/text.h"

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (lowerAscii(text[i]) != lowerAscii(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && startsWithIgnoringAsciiCase(a, b);
}

std::string extensionOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {};
    }
    return path.substr(dot + 1);
}

bool isNull(std::string_view setting) {
    return equalsIgnoringAsciiCase(setting, "null");
}
