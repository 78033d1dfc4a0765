// A slow, literal model of the water step, written independently of the engine so that the
// engine's faster walks can be checked against it cell by cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ReferenceRipple {
    int32_t width = 0;
    int32_t height = 0;
    int32_t current = 0;
    std::vector<int32_t> heights[2];
    std::vector<uint32_t> source;
    std::vector<uint32_t> output;

    ReferenceRipple(int32_t w, int32_t h);
    void drop(int32_t x, int32_t y, int32_t radius, int32_t strength);
    void step();
};
