// Builds PNG files in memory for the tests: chunks with CRCs, zlib streams, and pictures of
// any colour type, bit depth, filter choice and interlace method.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Chunk {
    std::string type;
    Bytes data;
};

Bytes pngFile(const std::vector<Chunk>& chunks);
Bytes ihdrData(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
               uint8_t interlace, uint8_t compression = 0, uint8_t filter = 0);
Bytes zlibCompress(const Bytes& data, int level = 6, int strategy = 0);
void putBigEndian32(Bytes& bytes, uint32_t value);

// A picture as samples: channels x width x height values of bitDepth bits, row by row.
struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t colourType = 0;
    uint8_t bitDepth = 8;
    std::vector<uint16_t> samples;
    Bytes palette; // RGB triples for colour type 3

    uint32_t channels() const;
    uint16_t sample(uint32_t x, uint32_t y, uint32_t channel) const {
        return samples[(size_t(y) * width + x) * channels() + channel];
    }
};

// A picture of random samples (indices below paletteSize for colour type 3).
Picture randomPicture(std::mt19937& random, uint32_t width, uint32_t height, uint8_t colourType,
                      uint8_t bitDepth, uint32_t paletteSize = 256);

// The filtered scanlines of the picture (each pass's for Adam7), every row filtered with a
// filter type drawn from filterTypes.
Bytes filteredScanlines(const Picture& picture, uint8_t interlace, std::mt19937& random,
                        const std::vector<uint8_t>& filterTypes = {0, 1, 2, 3, 4});

// A whole PNG file of the picture; the stream is split over idatCount IDAT chunks.
Bytes encodePng(const Picture& picture, uint8_t interlace, std::mt19937& random, int idatCount = 1);
