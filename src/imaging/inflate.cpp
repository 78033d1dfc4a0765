#include "imaging/inflate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "imaging/idat_bit_reader.h"

namespace {

constexpr uint16_t lengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                     15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                     67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                     2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t distanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t distanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                       6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t codeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                         11, 4,  12, 3, 13, 2, 14, 1, 15};

// A lookup table over the next Bits bits of the stream, derived from a HuffmanTable so that
// it gives exactly what decoding bit by bit gives. An entry holds the symbol in bits 0-15
// and the code length in bits 16-23; 0 means the code is longer than Bits.
template <unsigned Bits> struct FastHuffman {
    static constexpr uint32_t size = 1u << Bits;
    HuffmanTable canonical;
    uint32_t maxLength;
    uint32_t entries[size];

    void build(const uint8_t* lengths, uint32_t symbolCount, uint32_t maximum) {
        uint16_t counts[16] = {};
        for (uint32_t s = 0; s < symbolCount; ++s) {
            ++counts[lengths[s]];
        }
        counts[0] = 0;
        BuildHuffmanTable(&canonical, lengths, counts, symbolCount, maximum);
        maxLength = maximum;
        std::fill(std::begin(entries), std::end(entries), 0u);
        // A code c of length L matches every stream whose first L bits are c, unless a
        // shorter code matched a prefix of it already.
        for (uint32_t length = 1; length <= std::min<uint32_t>(maximum, Bits); ++length) {
            const uint32_t limit = canonical.limit[length];
            const uint32_t codes = std::min<uint32_t>(limit, 1u << length);
            for (uint32_t code = 0; code < codes; ++code) {
                uint32_t reversed = 0;
                for (uint32_t bit = 0; bit < length; ++bit) {
                    reversed |= ((code >> bit) & 1u) << (length - 1 - bit);
                }
                if (entries[reversed] != 0) {
                    continue;
                }
                const uint32_t index = uint32_t(canonical.position[length]) + limit - 1 - code;
                const uint32_t symbol =
                    index < canonical.placed ? canonical.symbols[index] : huffmanNoSymbol;
                for (uint32_t i = reversed; i < size; i += 1u << length) {
                    entries[i] = symbol | length << 16;
                }
            }
        }
        if (maximum <= Bits) {
            for (uint32_t& entry : entries) {
                if (entry == 0) {
                    entry = huffmanNoSymbol | Bits << 16; // matches nothing
                }
            }
        }
    }

    // The next symbol, or huffmanNoSymbol for a data error. Needs 15 bits in the reader.
    uint32_t decode(IdatBitReader& reader) const {
        uint32_t entry = entries[reader.peek() & (size - 1)];
        if (entry == 0) {
            uint32_t length = 0;
            const uint32_t symbol =
                decodeHuffmanSerial(canonical, maxLength, reader.peek(), length);
            if (length == 0) {
                return huffmanNoSymbol;
            }
            entry = symbol | length << 16;
        }
        reader.consume(entry >> 16);
        return entry & 0xFFFF;
    }
};

using LiteralTable = FastHuffman<11>;
using DistanceTable = FastHuffman<10>;
using CodeLengthTable = FastHuffman<7>;

struct Output {
    uint8_t* start;
    uint8_t* at;
    uint8_t* end;
};

// Copies a match byte by byte in effect: an overlapping copy repeats the recent bytes.
// Where the buffer has room, it writes eight bytes at a time and may run a few bytes past
// the match; later output or the final zero fill covers them.
void copyMatch(Output& out, uint32_t distance, uint32_t length) {
    uint8_t* to = out.at;
    const uint8_t* from = to - distance;
    uint8_t* const stop = to + length;
    if (size_t(out.end - to) >= size_t(length) + 8) {
        if (distance == 1) {
            std::memset(to, to[-1], length);
        } else {
            // Bytes repeat with period distance, so reading from period * k >= 8 back is the
            // same as reading from distance back, and eight bytes never overlap.
            const uint32_t period =
                distance >= 8 ? distance : distance * ((8 + distance - 1) / distance);
            const uint32_t lead = std::min(period - distance, length);
            for (uint32_t i = 0; i < lead; ++i) {
                to[i] = from[i];
            }
            uint8_t* chunk = to + lead;
            while (chunk < stop) {
                std::memcpy(chunk, chunk - period, 8);
                chunk += 8;
            }
        }
    } else {
        for (uint32_t i = 0; i < length; ++i) {
            to[i] = from[i];
        }
    }
    out.at = stop;
}

bool inflateStored(IdatBitReader& reader, Output& out) {
    reader.alignToByte();
    reader.refill();
    const uint32_t length = reader.take(16);
    const uint32_t complement = reader.take(16);
    if ((length ^ 0xFFFF) != complement) {
        return false;
    }
    if (size_t(out.end - out.at) < length) {
        return false;
    }
    reader.copyBytes(out.at, length);
    out.at += length;
    return true;
}

// Decodes literal/length and distance symbols up to the end of the block.
template <typename DistanceDecoder>
bool inflateCodes(IdatBitReader& reader, Output& out, const LiteralTable& literals,
                  DistanceDecoder decodeDistance) {
    for (;;) {
        reader.refill();
        const uint32_t symbol = literals.decode(reader);
        if (symbol < 256) {
            if (out.at == out.end) {
                return false;
            }
            *out.at++ = static_cast<uint8_t>(symbol);
            continue;
        }
        if (symbol == 256) {
            return true;
        }
        const uint32_t lengthCode = symbol - 257; // 286, 287 and no symbol fall out here
        if (lengthCode >= 29) {
            return false;
        }
        const uint32_t length = lengthBase[lengthCode] + reader.take(lengthExtra[lengthCode]);
        const uint32_t distanceCode = decodeDistance(reader);
        if (distanceCode >= 30) {
            return false;
        }
        const uint32_t distance =
            distanceBase[distanceCode] + reader.take(distanceExtra[distanceCode]);
        if (distance > size_t(out.at - out.start) || length > size_t(out.end - out.at)) {
            return false;
        }
        copyMatch(out, distance, length);
    }
}

const LiteralTable& fixedLiteralTable() {
    static const LiteralTable table = [] {
        uint8_t lengths[288];
        std::fill(lengths, lengths + 144, uint8_t{8});
        std::fill(lengths + 144, lengths + 256, uint8_t{9});
        std::fill(lengths + 256, lengths + 280, uint8_t{7});
        std::fill(lengths + 280, lengths + 288, uint8_t{8});
        LiteralTable built;
        built.build(lengths, 288, 9);
        return built;
    }();
    return table;
}

bool inflateFixed(IdatBitReader& reader, Output& out) {
    // Fixed distance codes are five bits, the first read the most significant.
    return inflateCodes(reader, out, fixedLiteralTable(), [](IdatBitReader& r) {
        const uint32_t bits = r.take(5);
        return (bits & 1) << 4 | (bits & 2) << 2 | (bits & 4) | (bits & 8) >> 2 | (bits & 16) >> 4;
    });
}

// Reads the code lengths of a dynamic block's two codes.
bool readCodeLengths(IdatBitReader& reader, uint8_t* lengths, uint32_t total) {
    const uint32_t codeLengthCount = reader.take(4) + 4;
    uint8_t codeLengthLengths[19] = {};
    for (uint32_t i = 0; i < codeLengthCount; ++i) {
        reader.refill();
        codeLengthLengths[codeLengthOrder[i]] = static_cast<uint8_t>(reader.take(3));
    }
    CodeLengthTable codeLengths;
    codeLengths.build(codeLengthLengths, 19, 7);
    uint32_t stored = 0;
    while (stored < total) {
        reader.refill();
        const uint32_t symbol = codeLengths.decode(reader);
        if (symbol < 16) {
            lengths[stored++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint32_t repeat;
        uint8_t value = 0;
        if (symbol == 16) {
            if (stored == 0) {
                return false; // nothing to repeat
            }
            value = lengths[stored - 1];
            repeat = 3 + reader.take(2);
        } else if (symbol == 17) {
            repeat = 3 + reader.take(3);
        } else if (symbol == 18) {
            repeat = 11 + reader.take(7);
        } else {
            return false;
        }
        if (repeat > total - stored) {
            return false;
        }
        std::memset(lengths + stored, value, repeat);
        stored += repeat;
    }
    return true;
}

bool inflateDynamic(IdatBitReader& reader, Output& out) {
    reader.refill();
    const uint32_t literalCount = reader.take(5) + 257;
    const uint32_t distanceCount = reader.take(5) + 1;
    uint8_t lengths[320];
    if (!readCodeLengths(reader, lengths, literalCount + distanceCount)) {
        return false;
    }
    LiteralTable literals;
    DistanceTable distances;
    literals.build(lengths, literalCount, 15);
    distances.build(lengths + literalCount, distanceCount, 15);
    return inflateCodes(reader, out, literals,
                        [&](IdatBitReader& r) { return distances.decode(r); });
}

} // namespace

void BuildHuffmanTable(HuffmanTable* table, const uint8_t* lengths, const uint16_t* counts,
                       uint32_t symbolCount, uint32_t maxLength) {
    uint16_t next[16] = {};
    uint32_t code = 0;
    uint32_t free = 0;
    for (uint32_t length = 1; length <= maxLength; ++length) {
        code = (code + counts[length - 1]) * 2;
        if (counts[length] == 0) {
            table->limit[length] = 0;
            table->position[length] = 0;
        } else {
            table->limit[length] = static_cast<uint16_t>(code + counts[length]);
            table->position[length] = static_cast<uint16_t>(free);
            next[length] = static_cast<uint16_t>(free);
            free += counts[length];
        }
    }
    for (uint32_t length = maxLength + 1; length < 16; ++length) {
        table->limit[length] = 0;
        table->position[length] = 0;
    }
    for (uint32_t s = symbolCount; s-- > 0;) {
        if (lengths[s] != 0) {
            table->symbols[next[lengths[s]]++] = static_cast<uint16_t>(s);
        }
    }
    table->placed = static_cast<uint16_t>(free);
}

uint32_t decodeHuffmanSerial(const HuffmanTable& table, uint32_t maxLength, uint64_t bits,
                             uint32_t& length) {
    uint32_t code = 0;
    for (uint32_t l = 1; l <= maxLength; ++l) {
        code = code * 2 + uint32_t((bits >> (l - 1)) & 1);
        const uint32_t limit = table.limit[l];
        if (limit != 0 && code < limit) {
            length = l;
            const uint32_t index = uint32_t(table.position[l]) + limit - 1 - code;
            return index < table.placed ? table.symbols[index] : huffmanNoSymbol;
        }
    }
    length = 0;
    return huffmanNoSymbol;
}

uint32_t Inflate(PngDecoder* decoder) {
    decoder->lastError = PNG_ERR_FORMAT;
    if (decoder->firstIdat == nullptr) {
        return 0;
    }
    IdatBitReader reader(decoder->firstIdat, decoder->inputData + decoder->inputSize);
    Output out{decoder->inflatedData, decoder->inflatedData,
               decoder->inflatedData + decoder->inflatedSize};

    reader.refill();
    const uint32_t method = reader.take(8);
    const uint32_t flags = reader.take(8);
    if ((method & 0x0F) != 8 || (method >> 4) > 7 || (flags & 0x20) != 0) {
        return 0;
    }
    bool last = false;
    while (!last) {
        reader.refill();
        last = reader.take(1) != 0;
        const uint32_t type = reader.take(2);
        bool ok = false;
        if (type == 0) {
            ok = inflateStored(reader, out);
        } else if (type == 1) {
            ok = inflateFixed(reader, out);
        } else if (type == 2) {
            ok = inflateDynamic(reader, out);
        }
        if (!ok) {
            return 0;
        }
    }
    // The Adler-32 trailer is not checked, so it need not even be there.
    std::memset(out.at, 0, size_t(out.end - out.at));
    decoder->lastError = PNG_OK;
    return 1;
}

uint32_t PngDecode(PngDecoder* decoder) {
    if (decoder->state != PNG_STATE_LOADED) {
        decoder->lastError = PNG_ERR_STATE;
        return 0;
    }
    const uint64_t size = PngDecodedSize(decoder);
    if (size > 0xFFFFFFFFu) {
        decoder->lastError = PNG_ERR_UNSUPPORTED;
        return 0;
    }
    decoder->inflatedSize = static_cast<uint32_t>(size);
    decoder->inflatedData = static_cast<uint8_t*>(std::malloc(size_t(size)));
    if (decoder->inflatedData == nullptr) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return 0;
    }
    if (!Inflate(decoder)) {
        std::free(decoder->inflatedData);
        decoder->inflatedData = nullptr;
        return 0;
    }
    decoder->state = PNG_STATE_DECODED;
    return 1;
}
