#include "imaging/png_filters.h"

#include <cstdlib>

namespace {

inline uint8_t paethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) {
        return static_cast<uint8_t>(a);
    }
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

void unfilterSub(const uint8_t* in, uint8_t* out, uint32_t length, uint32_t unit) {
    for (uint32_t i = 0; i < unit && i < length; ++i) {
        out[i] = in[i];
    }
    for (uint32_t i = unit; i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + out[i - unit]);
    }
}

void unfilterUp(const uint8_t* in, const uint8_t* previous, uint8_t* out, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + previous[i]);
    }
}

void unfilterAverage(const uint8_t* in, const uint8_t* previous, uint8_t* out, uint32_t length,
                     uint32_t unit) {
    for (uint32_t i = 0; i < unit && i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + (previous[i] >> 1));
    }
    for (uint32_t i = unit; i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + ((out[i - unit] + previous[i]) >> 1));
    }
}

void unfilterPaeth(const uint8_t* in, const uint8_t* previous, uint8_t* out, uint32_t length,
                   uint32_t unit) {
    for (uint32_t i = 0; i < unit && i < length; ++i) {
        out[i] = static_cast<uint8_t>(in[i] + previous[i]); // a = c = 0 picks b
    }
    for (uint32_t i = unit; i < length; ++i) {
        out[i] = static_cast<uint8_t>(
            in[i] + paethPredictor(out[i - unit], previous[i], previous[i - unit]));
    }
}

} // namespace

bool unfilterRow(uint8_t type, const uint8_t* filtered, const uint8_t* previous, uint8_t* out,
                 uint32_t length, uint32_t unit) {
    switch (type) {
    case 1:
        unfilterSub(filtered, out, length, unit);
        return true;
    case 2:
        unfilterUp(filtered, previous, out, length);
        return true;
    case 3:
        unfilterAverage(filtered, previous, out, length, unit);
        return true;
    case 4:
        unfilterPaeth(filtered, previous, out, length, unit);
        return true;
    default:
        return false;
    }
}
