// Converting one reconstructed PNG row into a bitmap row. For 16-bit samples the first, most
// significant byte is taken.
#pragma once

#include <cstdint>

// Converts a row of width pixels that takes rowBytes bytes in the PNG; returns the bytes
// written. Null for an index no converter has.
using RowConverter = uint32_t (*)(const uint8_t* in, uint8_t* out, uint32_t width,
                                  uint32_t rowBytes);
RowConverter rowConverterFor(uint32_t index);
