#include "render_script.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "ppm.h"

namespace {

std::vector<std::string_view> splitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t start = line.find_first_not_of(" \t\r", pos);
        if (start == std::string_view::npos) {
            break;
        }
        size_t stop = line.find_first_of(" \t\r", start);
        if (stop == std::string_view::npos) {
            stop = line.size();
        }
        words.push_back(line.substr(start, stop - start));
        pos = stop;
    }
    return words;
}

bool parseInt(std::string_view word, int32_t& value) {
    const char* last = word.data() + word.size();
    const auto [end, status] = std::from_chars(word.data(), last, value);
    return status == std::errc() && end == last;
}

} // namespace

std::vector<uint8_t> encodeHeights(const RippleSurface& surface) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(surface.byteSize) * 2);
    for (const int32_t* field : surface.heights) {
        for (int32_t i = 0; i < surface.pixelCount; ++i) {
            const auto value = static_cast<uint32_t>(field[i]);
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<uint8_t>(value >> shift));
            }
        }
    }
    return bytes;
}

bool runRenderCommand(RippleSurface& surface, std::string_view line, std::string& error) {
    const std::vector<std::string_view> words = splitWords(line);
    if (words.empty() || words[0].front() == '#') {
        return true;
    }
    const std::string_view command = words[0];
    if (command == "drop") {
        int32_t x, y, radius, strength;
        if (words.size() != 5 || !parseInt(words[1], x) || !parseInt(words[2], y) ||
            !parseInt(words[3], radius) || !parseInt(words[4], strength)) {
            error = "usage: drop X Y RADIUS STRENGTH (32-bit integers)";
            return false;
        }
        addDrop(&surface, x, y, radius, strength);
        return true;
    }
    if (command == "step") {
        int32_t count = 1;
        if (words.size() > 2 || (words.size() == 2 && (!parseInt(words[1], count) || count < 0))) {
            error = "usage: step [N] (N a whole number, 0 or more)";
            return false;
        }
        for (int32_t i = 0; i < count; ++i) {
            stepRipple(&surface);
        }
        return true;
    }
    if (command == "write" || command == "heights") {
        if (words.size() != 2) {
            error = "usage: " + std::string(command) + " FILE";
            return false;
        }
        const std::string path(words[1]);
        const bool written = writeFileBytes(
            path, command == "write" ? encodePpm(surface.width, surface.height, surface.output)
                                     : encodeHeights(surface));
        if (!written) {
            error = "cannot write " + path;
        }
        return written;
    }
    error = "unknown command '" + std::string(command) + "'";
    return false;
}
