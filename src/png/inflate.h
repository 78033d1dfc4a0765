// Inflating a zlib stream into a buffer of known size: deflate itself, which knows nothing of
// where the stream is kept or what its bytes mean.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "png/deflate_bit_reader.h"
#include "png/inflate_window.h"
#include "png/stream_progress.h"

// A canonical Huffman code: for each code length L (1 to 15) the first code value after the
// codes of length L ("limit", 0 when there are none) and where the symbols of length L
// begin in the symbol list. Within one length the symbols stand in decreasing order, so code
// value c of length L is symbol entry (limit - 1 - c) of its group.
struct HuffmanTable {
    uint16_t limit[16];
    uint16_t position[16];
    uint16_t symbols[288];
    uint16_t placed; // symbols in the list
};

// Assigns the canonical codes for symbolCount symbols whose lengths (0: no code) are given,
// with counts[L] the number of codes of length L and counts[0] = 0.
void BuildHuffmanTable(HuffmanTable* table, const uint8_t* lengths, const uint16_t* counts,
                       uint32_t symbolCount, uint32_t maxLength);

inline constexpr uint32_t huffmanNoSymbol = 0xFFFF;

// Decodes one symbol bit by bit. bits holds the next bits of the stream, the first in bit 0.
// Gives the code length in length, or 0 when no code of up to maxLength bits matches; the
// result is huffmanNoSymbol when nothing matches or the code points outside the symbol list.
uint32_t decodeHuffmanSerial(const HuffmanTable& table, uint32_t maxLength, uint64_t bits,
                             uint32_t& length);

// Inflates the zlib stream into size bytes of output, or through the window when one is given,
// zero-filling what the stream leaves short; after each block, tells written how much of the
// output is final. False on any data error, including output past the end, a match reaching
// before the start and codes that match nothing. The Adler-32 trailer is not checked.
// Ends early, false, at the start of a block once stop (when given) has turned true.
bool inflateStream(DeflateInput& input, uint8_t* output, size_t size,
                   StreamProgress* written = nullptr, InflateWindow* window = nullptr,
                   const std::atomic<bool>* stop = nullptr);

// The most bytes deflate can make of one byte of stream.
inline constexpr uint64_t maxInflateRatio = 1032;
