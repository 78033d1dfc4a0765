// Binary PPM (P6, maxval 255) pictures as rows of 0x00RRGGBB pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
};

// Parses a P6 file's bytes. Returns false with a reason when they are not one.
bool parsePpm(const std::vector<uint8_t>& bytes, RgbPicture& picture, std::string& error);

std::vector<uint8_t> encodePpm(int32_t width, int32_t height, const uint32_t* pixels);

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes);
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
