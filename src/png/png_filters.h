// Undoing the five PNG scanline filters.
#pragma once

#include <cstdint>

// Bytes past the end of a row that the reconstruction may read (in the filtered row and the
// row above) or overwrite (in out): pixels of three bytes move as four.
inline constexpr uint32_t unfilterSlack = 8;

// Reconstructs length bytes of a row filtered with type 1 to 4 into out. previous is the
// reconstructed row above (all zero for the first row of an image or a pass); unit is the
// bytes of one whole pixel, at least 1. All three rows are followed by unfilterSlack bytes.
// Returns false for a type outside 1 to 4.
bool unfilterRow(uint8_t type, const uint8_t* filtered, const uint8_t* previous, uint8_t* out,
                 uint32_t length, uint32_t unit);
