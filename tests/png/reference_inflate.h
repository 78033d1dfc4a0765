// A slow inflater written straight from the decoder's rules, bit by bit and byte by byte,
// kept apart from the real one so that the two can be compared on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ReferenceInflateResult {
    bool ok = false;
    std::vector<uint8_t> output;
};

// Inflates a zlib stream (bytes past its end read as zero) into a buffer of outputSize
// bytes, zero-filled after the output.
ReferenceInflateResult referenceInflate(const std::vector<uint8_t>& stream, size_t outputSize);
