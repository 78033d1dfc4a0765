#include "app/command_line.h"

#include "text/text.h"

#include <cctype>
#include <cstdlib>

namespace {

// A window handle written in decimal, as Windows writes it; 0 when it is not one.
uintptr_t parseHandle(const std::string& text) {
    const std::string digits(trimmedBlanks(text));
    if (digits.empty() || digits.size() > 20) {
        return 0;
    }
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
    }
    return static_cast<uintptr_t>(std::strtoull(digits.c_str(), nullptr, 10));
}

// A path as written after a switch: blanks around it and the quotes round it taken off.
std::string unquoted(const std::string& text) {
    std::string path(trimmedBlanks(text));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    return path;
}

StartRequest requestOf(StartMode mode, uintptr_t previewParent = 0) {
    StartRequest request;
    request.mode = mode;
    request.previewParent = previewParent;
    return request;
}

} // namespace

StartRequest parseCommandLine(const std::string& commandLine) {
    const std::string line(trimmedBlanks(commandLine));
    if (line.size() < 2 || (line[0] != '/' && line[0] != '-')) {
        return {};
    }
    std::string word;
    for (size_t i = 1; i < line.size() && std::isalpha(static_cast<unsigned char>(line[i])); ++i) {
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
    }
    if (word == "settings" && line.size() > 10 && line[9] == ' ') {
        StartRequest request = requestOf(StartMode::wallpaperSettings);
        request.settingsFile = unquoted(line.substr(10));
        return request.settingsFile.empty() ? StartRequest{} : request;
    }
    if (word == "watch" && line.size() > 6 && line[6] == ' ') {
        StartRequest request = requestOf(StartMode::watchdog);
        request.watched = parseHandle(line.substr(7));
        return request.watched != 0 ? request : StartRequest{};
    }
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(line[1])));
    const std::string rest = line.substr(2);
    const bool alone = rest.empty();
    const bool withArgument = !alone && (rest[0] == ':' || rest[0] == ' ' || rest[0] == '\t');
    if (letter == 's' && alone) {
        return requestOf(StartMode::screenSaver);
    }
    if (letter == 'p' && (alone || withArgument)) {
        // Without a window handle there is nothing to preview in: 0, which the preview
        // refuses at once, never the launcher (which would write its settings).
        return requestOf(StartMode::preview, alone ? 0 : parseHandle(rest.substr(1)));
    }
    if (letter == 'c' && (alone || withArgument)) {
        return requestOf(StartMode::screenSaverSettings);
    }
    if (letter == 'w' && (alone || withArgument)) {
        StartRequest request = requestOf(StartMode::wallpaper);
        request.settingsFile = unquoted(alone ? std::string() : rest.substr(1));
        return request;
    }
    return {}; // everything else: the launcher
}
