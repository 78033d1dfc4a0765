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

std::string fileNameExtension(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) {
        c = lowerAscii(c);
    }
    return extension;
}

std::string_view trimmedBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
