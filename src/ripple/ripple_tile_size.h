// The water is tracked in tiles of 32 columns by 8 rows: under steady rain on a full-HD
// surface a quarter of them are stepped, against over two fifths of 64 x 16 tiles, for the
// same bookkeeping.
#pragma once

#include <cstdint>

inline constexpr int32_t rippleTileColumnShift = 5;
inline constexpr int32_t rippleTileRowShift = 3;
