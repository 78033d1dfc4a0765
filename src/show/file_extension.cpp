#include "show/file_extension.h"

std::string extensionOf(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {};
    }
    return path.substr(dot + 1);
}
