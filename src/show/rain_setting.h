// The rain setting's words.
#pragma once

#include <string_view>

#include "ripple/rain.h"
#include "text/text.h"

// The setting each amount writes, in the order of RainAmount.
inline constexpr const char* rainSettings[] = {"none", "light", "normal", "heavy"};

// The amount the setting names ("none", "light", "normal" or "heavy", in any case); a
// missing or unknown value is normal, the rain the show has always had.
inline RainAmount rainAmountOf(std::string_view setting) {
    if (equalsIgnoringAsciiCase(setting, "none")) {
        return RainAmount::none;
    }
    if (equalsIgnoringAsciiCase(setting, "light")) {
        return RainAmount::light;
    }
    return equalsIgnoringAsciiCase(setting, "heavy") ? RainAmount::heavy : RainAmount::normal;
}
