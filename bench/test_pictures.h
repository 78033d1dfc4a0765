// Pictures for the decoding benchmarks, made on the spot: photograph-like (smooth shapes,
// gradients and sensor noise) and screenshot-like (flat areas, bars and lines of "text"),
// encoded as PNG by libpng with its default settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BenchPicture {
    std::string name;
    uint32_t width;
    uint32_t height;
    uint32_t channels; // 3 or 4
    std::vector<uint8_t> png;
};

enum class PictureKind { photo, screenshot };

const BenchPicture& benchPicture(PictureKind kind, uint32_t width, uint32_t height,
                                 uint32_t channels);

// The zlib stream of a PNG's IDAT chunks, joined.
std::vector<uint8_t> idatStream(const std::vector<uint8_t>& png);
