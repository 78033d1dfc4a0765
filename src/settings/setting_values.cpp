#include "settings/setting_values.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "text/text.h"

namespace {

// A decimal number of digits with at most one point or comma, and nothing else; negative
// when the text is not one.
double decimalOf(std::string_view text) {
    double whole = 0;
    double scale = 0; // 0 before the point; then the weight of the next digit
    bool digits = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
            if (scale == 0) {
                whole = whole * 10 + (c - '0');
            } else {
                whole += (c - '0') * scale;
                scale /= 10;
            }
        } else if ((c == '.' || c == ',') && scale == 0) {
            scale = 0.1;
        } else {
            return -1;
        }
    }
    return digits ? whole : -1;
}

} // namespace

bool meansNothing(std::string_view value) {
    return equalsIgnoringAsciiCase(value, "null");
}

bool launcherShowsAsNothing(std::string_view value) {
    return value == "null";
}

bool namesMusic(std::string_view sound) {
    return sound.size() > 5;
}

Placement placementOf(std::string_view fitscreen) {
    if (equalsIgnoringAsciiCase(fitscreen, "fill")) {
        return Placement::fill;
    }
    if (equalsIgnoringAsciiCase(fitscreen, "fit")) {
        return Placement::fit;
    }
    return fitscreen.size() >= 3 && equalsIgnoringAsciiCase(fitscreen.substr(0, 3), "yes")
               ? Placement::stretch
               : Placement::centre;
}

Rain rainOf(std::string_view rain) {
    for (size_t i = 0; i < std::size(rainSpellings); ++i) {
        if (equalsIgnoringAsciiCase(rain, rainSpellings[i])) {
            return Rain(i);
        }
    }
    return Rain::normal;
}

std::optional<uint32_t> changeIntervalMs(std::string_view change) {
    const std::string_view text = trimmedBlanks(change);
    if (equalsIgnoringAsciiCase(text, "never")) {
        return std::nullopt;
    }
    double minutes = decimalOf(text);
    if (minutes == 0) {
        return std::nullopt;
    }
    if (minutes < 0 || !std::isfinite(minutes)) {
        minutes = defaultChangeMinutes;
    }
    const double ms = minutes * 60 * 1000;
    return static_cast<uint32_t>(std::clamp(ms, double(shortestChangeMs), double(longestChangeMs)));
}
