#include "settings/setting_values.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

#include "text/text.h"

namespace {

// A decimal number of digits with at most one point or comma, and nothing else; negative
// when the text is not one. Any number of digits: a whole part too long for a double is
// infinite, and a fraction whose digits lie past what a double holds still counts as more
// than zero when any of them is not zero.
double decimalOf(std::string_view text) {
    double whole = 0;
    double scale = 1; // the weight of the next digit after the point
    bool point = false;
    bool digits = false;
    bool nonZero = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
            nonZero = nonZero || c != '0';
            if (!point) {
                whole = whole * 10 + (c - '0');
            } else {
                scale /= 10; // reaches zero after some 324 digits, which then add nothing
                whole += (c - '0') * scale;
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return -1;
        }
    }
    if (!digits) {
        return -1;
    }
    return whole == 0 && nonZero ? std::numeric_limits<double>::denorm_min() : whole;
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
    if (minutes < 0) {
        minutes = defaultChangeMinutes; // unreadable; a number too long for a double is
                                        // infinite, the longest wait
    }
    const double ms = minutes * 60 * 1000;
    return static_cast<uint32_t>(std::clamp(ms, double(shortestChangeMs), double(longestChangeMs)));
}

std::string shownChangeMinutes(std::string_view change) {
    const std::optional<uint32_t> interval = changeIntervalMs(change);
    if (!interval) {
        return {};
    }
    char digits[32];
    std::snprintf(digits, sizeof(digits), "%.2f", double(*interval) / 60000.0);
    std::string shown(digits);
    shown.erase(shown.find_last_not_of('0') + 1);
    if (shown.back() == '.') {
        shown.pop_back();
    }
    if (change.find(',') != std::string_view::npos && change.find('.') == std::string_view::npos) {
        std::replace(shown.begin(), shown.end(), '.', ',');
    }
    return shown;
}
