// The water is tracked in tiles of 32 columns by 8 rows: under steady rain on a full-HD
// surface about 15 % of them are stepped, against 20 % of 64 x 16 tiles; 16 x 8 tiles would
// spare a few more cells (12 %) for twice the bookkeeping and shorter runs.
#pragma once

#include <cstdint>

inline constexpr int32_t rippleTileColumnShift = 5;
inline constexpr int32_t rippleTileRowShift = 3;
