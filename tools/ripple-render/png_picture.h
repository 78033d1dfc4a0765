// PNG pictures, through the program's decoder, as rows of 0x00RRGGBB pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ppm.h"

bool isPng(const std::vector<uint8_t>& bytes);

// Decodes the PNG and reads its bitmap's colours (alpha is dropped). False with the
// decoder's error when it does not decode.
bool decodePngPicture(const std::vector<uint8_t>& bytes, RgbPicture& picture, std::string& error);
