// How much it rains on the water: none, light, normal (one drop at every rain tick) or
// heavy.
#pragma once

#include <cstdint>

enum class RainAmount { none, light, normal, heavy };

// The drops that fall at one rain tick. Light rain lets one fall when the coin, drawn only
// for it, is odd: about every other tick. Normal rain draws no coin, so that it falls
// exactly as it always has.
inline int32_t rainDropsAt(RainAmount amount, int coin) {
    switch (amount) {
    case RainAmount::none:
        return 0;
    case RainAmount::light:
        return coin % 2;
    case RainAmount::heavy:
        return 4;
    case RainAmount::normal:
        break;
    }
    return 1;
}
