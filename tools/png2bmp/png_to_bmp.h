// Decodes a PNG file with the program's decoder and writes the bitmap it makes as a .bmp file.
#pragma once

#include <cstdint>
#include <string>

// Writes output whole or not at all (an earlier file of that name stays on failure). Returns
// an empty string on success, otherwise why nothing was written: the decoder's error code and
// name, or what kept the file from being written.
std::string writePngAsBmp(const char* input, const char* output, uint32_t format);
