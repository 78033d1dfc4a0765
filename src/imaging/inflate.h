// Inflating the zlib stream of a PNG's IDAT chunks into its filtered scanlines.
#pragma once

#include <cstdint>

#include "imaging/png_decoder.h"

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

// Inflates the stream that starts at the first IDAT chunk into the inflated buffer. Output
// short of the buffer is zero-filled. Fails with PNG_ERR_FORMAT on any data error, including
// output past the buffer, a match reaching before its start and codes that match nothing.
uint32_t Inflate(PngDecoder* decoder);

// The most bytes deflate can make of one byte of stream.
inline constexpr uint64_t maxInflateRatio = 1032;
