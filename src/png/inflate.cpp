#include "png/inflate.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "png/inflate_window.h"

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

// What a code stands for, packed for the decoding loop: the bits that the code and its extra
// bits take together in bits 0-7 (at most 28, so the low six bits alone give them, as a
// 64-bit shift takes them: one shift passes over both), the number of extra bits in bits
// 8-11, the kind in bits 12-13 and the value (a literal byte, a base length or a base
// distance) in bits 16-31. A code longer than the lookup table reaches has
// the entry `longCode`, which is not a literal. In the literal table, an entry may stand
// for two literal codes in a row (`twoLiterals`): their lengths summed, the first literal in
// bits 16-23 and the second in bits 24-31.
enum EntryKind : uint32_t { literalEntry = 0, baseEntry = 1, endEntry = 2, invalidEntry = 3 };

constexpr uint32_t makeEntry(uint32_t codeLength, EntryKind kind, uint32_t value = 0,
                             uint32_t extra = 0) {
    return (codeLength + extra) | extra << 8 | uint32_t(kind) << 12 | value << 16;
}
constexpr uint32_t entryBits(uint32_t entry) {
    return entry & 63;
}
constexpr uint32_t entryExtra(uint32_t entry) {
    return (entry >> 8) & 0xF;
}
// The value of the entry's extra bits, from the bits its code began.
constexpr uint32_t extraValue(uint64_t bits, uint32_t entry) {
    const uint32_t extra = entryExtra(entry);
    return uint32_t(bits >> (entryBits(entry) - extra)) & ((1u << extra) - 1);
}
constexpr EntryKind entryKind(uint32_t entry) {
    return EntryKind((entry >> 12) & 3);
}
constexpr uint32_t entryValue(uint32_t entry) {
    return entry >> 16;
}
constexpr uint32_t longCode = makeEntry(0, invalidEntry) | 1u << 14;
constexpr uint32_t twoLiterals = 1u << 15;

// Literal/length symbols: literals, end of block, lengths 3 to 258; 286, 287 are invalid.
uint32_t literalEntryFor(uint32_t symbol, uint32_t codeLength) {
    if (symbol < 256) {
        return makeEntry(codeLength, literalEntry, symbol);
    }
    if (symbol == 256) {
        return makeEntry(codeLength, endEntry);
    }
    if (symbol <= 285) {
        return makeEntry(codeLength, baseEntry, lengthBase[symbol - 257],
                         lengthExtra[symbol - 257]);
    }
    return makeEntry(codeLength, invalidEntry);
}

// Distance symbols 0 to 29; 30 and 31 are invalid.
uint32_t distanceEntryFor(uint32_t symbol, uint32_t codeLength) {
    if (symbol < 30) {
        return makeEntry(codeLength, baseEntry, distanceBase[symbol], distanceExtra[symbol]);
    }
    return makeEntry(codeLength, invalidEntry);
}

constexpr auto reversedBytes = [] {
    std::array<uint8_t, 256> table{};
    for (uint32_t b = 0; b < 256; ++b) {
        for (uint32_t bit = 0; bit < 8; ++bit) {
            table[b] = static_cast<uint8_t>(table[b] | ((b >> bit) & 1u) << (7 - bit));
        }
    }
    return table;
}();

// A lookup table over the next Bits bits of the stream, derived from a HuffmanTable so that
// it gives exactly what decoding bit by bit gives.
template <unsigned Bits> struct FastHuffman {
    static constexpr uint32_t size = 1u << Bits;
    HuffmanTable canonical;
    uint16_t lengthCount[16];
    uint32_t maxLength;
    uint32_t (*entryFor)(uint32_t symbol, uint32_t codeLength);
    uint32_t entries[size];

    void build(const uint8_t* lengths, uint32_t symbolCount, uint32_t maximum,
               uint32_t (*makeEntryFor)(uint32_t, uint32_t)) {
        uint16_t counts[16] = {};
        for (uint32_t s = 0; s < symbolCount; ++s) {
            ++counts[lengths[s]];
        }
        counts[0] = 0;
        BuildHuffmanTable(&canonical, lengths, counts, symbolCount, maximum);
        maxLength = maximum;
        entryFor = makeEntryFor;
        std::copy(counts, counts + 16, lengthCount);
        // What no code fills: past the table's reach, or matching nothing.
        std::fill(std::begin(entries), std::end(entries), unfilled());
        if (oversubscribed(maximum)) {
            fillExhaustively(maximum);
        } else {
            fillCanonically(maximum);
        }
    }

    // Makes each entry of a literal that leaves room in the table's bits for a whole second
    // literal code stand for both. A code of length L fills every entry with the same low L
    // bits, so the entry of the bits after the first code is the second code's whatever the
    // bits beyond the table; going down, entries are read before they are changed.
    void pairLiterals() {
        for (uint32_t i = size; i-- > 0;) {
            const uint32_t first = entries[i];
            if (entryKind(first) != literalEntry) {
                continue;
            }
            const uint32_t firstLength = entryBits(first);
            const uint32_t second = entries[i >> firstLength];
            const uint32_t length = firstLength + entryBits(second);
            if (entryKind(second) == literalEntry && length <= Bits) {
                entries[i] =
                    makeEntry(length, literalEntry, entryValue(first) | entryValue(second) << 8) |
                    twoLiterals;
            }
        }
    }

    // Kraft's sum above one: more codes than the bit patterns hold.
    bool oversubscribed(uint32_t maximum) const {
        uint32_t room = 1;
        for (uint32_t length = 1; length <= maximum; ++length) {
            room *= 2;
            const uint32_t count = countOf(length);
            if (count > room) {
                return true;
            }
            room -= count;
        }
        return false;
    }

    uint32_t countOf(uint32_t length) const { return lengthCount[length]; }

    uint32_t unfilled() const {
        return maxLength > Bits ? longCode : makeEntry(Bits, invalidEntry);
    }

    // The code's bits in the order the stream gives them, first in bit 0.
    static uint32_t reverseBits(uint32_t code, uint32_t length) {
        const uint32_t reversed16 =
            uint32_t(reversedBytes[code & 0xFF]) << 8 | reversedBytes[(code >> 8) & 0xFF];
        return reversed16 >> (16 - length);
    }

    void fillCode(uint32_t code, uint32_t length, uint32_t entry) {
        for (uint32_t i = reverseBits(code, length); i < size; i += 1u << length) {
            entries[i] = entry;
        }
    }

    // Without oversubscription every code value below the first code of its length begins
    // with a shorter code, so only the codes themselves need filling.
    void fillCanonically(uint32_t maximum) {
        for (uint32_t length = 1; length <= std::min<uint32_t>(maximum, Bits); ++length) {
            const uint32_t count = countOf(length);
            const uint32_t limit = canonical.limit[length];
            for (uint32_t k = 0; k < count; ++k) {
                // Group entry k holds code limit - 1 - k.
                fillCode(limit - 1 - k, length,
                         entryFor(canonical.symbols[canonical.position[length] + k], length));
            }
        }
    }

    // Follows the bit-by-bit rule for every pattern: a code value c of length L matches
    // unless a shorter code matched a prefix of it already.
    void fillExhaustively(uint32_t maximum) {
        for (uint32_t length = 1; length <= std::min<uint32_t>(maximum, Bits); ++length) {
            const uint32_t limit = canonical.limit[length];
            const uint32_t codes = std::min<uint32_t>(limit, 1u << length);
            for (uint32_t code = 0; code < codes; ++code) {
                if (entries[reverseBits(code, length)] != unfilled()) {
                    continue;
                }
                const uint32_t index = uint32_t(canonical.position[length]) + limit - 1 - code;
                fillCode(code, length,
                         index < canonical.placed ? entryFor(canonical.symbols[index], length)
                                                  : makeEntry(length, invalidEntry));
            }
        }
    }

    // The entry for the next code. Needs 15 bits in the buffer.
    uint32_t lookup(uint64_t bits) const {
        const uint32_t entry = entries[bits & (size - 1)];
        return entry != longCode ? entry : lookupLong(bits);
    }

    // The table's entry, which may be `longCode`.
    uint32_t lookupShort(uint64_t bits) const { return entries[bits & (size - 1)]; }

    uint32_t lookupLong(uint64_t bits) const {
        uint32_t length = 0;
        const uint32_t symbol = decodeHuffmanSerial(canonical, maxLength, bits, length);
        if (length == 0) {
            return makeEntry(1, invalidEntry);
        }
        return symbol == huffmanNoSymbol ? makeEntry(length, invalidEntry)
                                         : entryFor(symbol, length);
    }
};

// Ten bits: a table small enough to build for every block costs less than the rare codes
// it leaves to decoding bit by bit.
using LiteralTable = FastHuffman<10>;
using DistanceTable = FastHuffman<10>;
using CodeLengthTable = FastHuffman<7>;

uint32_t codeLengthEntryFor(uint32_t symbol, uint32_t codeLength) {
    return makeEntry(codeLength, literalEntry, symbol);
}

// The most a round of the decoding loop writes: three pairs of literals, or a match of 258
// bytes and the 31 its copy may run past it.
constexpr size_t roundRoom = 320;

// Where the inflated bytes go: one buffer for the whole stream, or a window through which
// they pass to the thread that reads them, published as they become final.
struct Output {
    uint8_t* start;
    uint8_t* at;
    uint8_t* end;
    InflateWindow* window = nullptr;
    StreamProgress* written = nullptr;

    size_t offset() const { return window != nullptr ? window->offsetOf(at) : size_t(at - start); }
    void publish() const {
        if (written != nullptr) { // what lies before at is final
            written->advance(offset());
        }
    }
    // Makes room for needed bytes by moving on to the window's other buffer when this one has
    // less; false when it has less and no more can be had.
    bool makeRoom(size_t needed) {
        if (size_t(end - at) >= needed) {
            return true;
        }
        if (window == nullptr) {
            return false;
        }
        publish(); // the reader may need these bytes before it lets the other buffer go
        return window->moveOn(start, at, end) && size_t(end - at) >= needed;
    }
};

// Copies a match byte by byte in effect: an overlapping copy repeats the recent bytes.
// Where the buffer has room, it writes whole words and may run up to 31 bytes past the
// match; later output or the final zero fill covers them.
inline uint8_t* copyMatch(uint8_t* to, uint8_t* end, uint32_t distance, uint32_t length) {
    const uint8_t* from = to - distance;
    uint8_t* const stop = to + length;
    if (size_t(end - to) < size_t(length) + 32) {
        for (uint32_t i = 0; i < length; ++i) {
            to[i] = from[i];
        }
        return stop;
    }
    if (distance >= 16) {
        do {
            std::memcpy(to, from, 16);
            to += 16;
            from += 16;
        } while (to < stop);
    } else if (distance >= 8) {
        do {
            std::memcpy(to, from, 8);
            to += 8;
            from += 8;
        } while (to < stop);
    } else if (distance == 1) {
        uint8_t run[32];
        std::memset(run, to[-1], 32);
        do {
            std::memcpy(to, run, 32);
            to += 32;
        } while (to < stop);
    } else {
        // The bytes repeat with period distance, so eight of them from the match's start fit
        // wherever a whole number of periods follows: stored again and again, with nothing
        // read back from the output.
        uint8_t pattern[8];
        for (uint32_t k = 0; k < 8; ++k) {
            pattern[k] = k < distance ? from[k] : pattern[k - distance];
        }
        const uint32_t step = distance * (8 / distance);
        do {
            std::memcpy(to, pattern, 8);
            std::memcpy(to + step, pattern, 8);
            to += 2 * step;
        } while (to < stop);
    }
    return stop;
}

bool inflateStored(DeflateBitReader& reader, Output& out) {
    reader.alignToByte();
    reader.refill();
    const uint32_t length = reader.take(16);
    const uint32_t complement = reader.take(16);
    if ((length ^ 0xFFFF) != complement) {
        return false;
    }
    if (!out.makeRoom(length)) {
        return false;
    }
    reader.copyBytes(out.at, length);
    out.at += length;
    return true;
}

// Decodes literal/length and distance codes up to the end of the block. The reader's state
// and the output position live in locals here, so that byte stores cannot make the compiler
// reload them.
bool inflateCodes(DeflateBitReader& reader, Output& output, const LiteralTable& literals,
                  const DistanceTable& distances) {
    BitState bits = reader.state();
    uint8_t* out = output.at;
    uint8_t* start = output.start;
    uint8_t* end = output.end;
    bool ended = false;
    // Tops the bits up whatever their count: testing the count first would branch on the
    // codes just read, which the processor cannot foresee.
    auto refill = [&] {
        if (!bits.refillFast()) {
            reader.state() = bits;
            reader.refill();
            bits = reader.state();
        }
    };
    // Writes the one or two literals of an entry; false when they do not fit.
    auto putLiterals = [&](uint32_t entry) {
        const uint32_t count = 1 + (entry >> 15 & 1);
        if (end - out < 2) {
            if (out == end) {
                return false;
            }
            *out++ = static_cast<uint8_t>(entryValue(entry));
            return count == 1;
        }
        // Two bytes either way: a byte past a single literal is covered by what comes next,
        // or by the zero fill at the end.
        out[0] = static_cast<uint8_t>(entryValue(entry));
        out[1] = static_cast<uint8_t>(entryValue(entry) >> 8);
        out += count;
        return true;
    };
    for (;;) {
        // A round writes at most three pairs of literals or one match and its overrun: with
        // less room than that left, the output may move on through its window.
        if (size_t(end - out) < roundRoom && output.window != nullptr) {
            output.at = out;
            output.makeRoom(roundRoom);
            out = output.at;
            start = output.start;
            end = output.end;
        }
        // 48 bits hold the longest length code and distance code with their extra bits.
        refill();
        uint32_t entry = literals.lookupShort(bits.buffer);
        if (entryKind(entry) == literalEntry) {
            bits.consume(entryBits(entry));
            if (!putLiterals(entry)) {
                break;
            }
            // Literals come in runs, and the bits left hold two more entries (of at most 10
            // bits, and then the 15 bits a lookup needs).
            entry = literals.lookupShort(bits.buffer);
            if (entryKind(entry) == literalEntry) {
                bits.consume(entryBits(entry));
                if (!putLiterals(entry)) {
                    break;
                }
                entry = literals.lookupShort(bits.buffer);
                if (entryKind(entry) == literalEntry) {
                    bits.consume(entryBits(entry));
                    if (!putLiterals(entry)) {
                        break;
                    }
                    continue;
                }
            }
            refill(); // keeps the bits the entry was looked up from
        }
        if (entry == longCode) {
            entry = literals.lookupLong(bits.buffer);
            if (entryKind(entry) == literalEntry) {
                bits.consume(entryBits(entry));
                if (!putLiterals(entry)) {
                    break;
                }
                continue;
            }
        }
        const uint64_t lengthBits = bits.buffer;
        bits.consume(entryBits(entry));
        const EntryKind kind = entryKind(entry);
        if (kind != baseEntry) {
            ended = kind == endEntry;
            break;
        }
        const uint32_t length = entryValue(entry) + extraValue(lengthBits, entry);
        const uint64_t distanceBits = bits.buffer;
        const uint32_t distanceCode = distances.lookup(distanceBits);
        bits.consume(entryBits(distanceCode));
        if (entryKind(distanceCode) != baseEntry) {
            break;
        }
        const uint32_t distance = entryValue(distanceCode) + extraValue(distanceBits, distanceCode);
        if (distance > size_t(out - start) || length > size_t(end - out)) {
            break;
        }
        out = copyMatch(out, end, distance, length);
    }
    reader.state() = bits;
    output.at = out;
    return ended;
}

// The codes of fixed-Huffman blocks, built once for the process.
struct FixedTables {
    LiteralTable literals;
    DistanceTable distances;
};

const FixedTables& fixedTables() {
    static const FixedTables tables = [] {
        FixedTables built;
        uint8_t lengths[288];
        std::fill(lengths, lengths + 144, uint8_t{8});
        std::fill(lengths + 144, lengths + 256, uint8_t{9});
        std::fill(lengths + 256, lengths + 280, uint8_t{7});
        std::fill(lengths + 280, lengths + 288, uint8_t{8});
        built.literals.build(lengths, 288, 9, literalEntryFor);
        built.literals.pairLiterals();
        std::fill(lengths, lengths + 32, uint8_t{5});
        built.distances.build(lengths, 32, 5, distanceEntryFor);
        return built;
    }();
    return tables;
}

bool inflateFixed(DeflateBitReader& reader, Output& out) {
    const FixedTables& tables = fixedTables();
    return inflateCodes(reader, out, tables.literals, tables.distances);
}

// Reads the code lengths of a dynamic block's two codes.
bool readCodeLengths(DeflateBitReader& reader, uint8_t* lengths, uint32_t total) {
    const uint32_t codeLengthCount = reader.take(4) + 4;
    uint8_t codeLengthLengths[19] = {};
    for (uint32_t i = 0; i < codeLengthCount; ++i) {
        reader.refill();
        codeLengthLengths[codeLengthOrder[i]] = static_cast<uint8_t>(reader.take(3));
    }
    CodeLengthTable codeLengths;
    codeLengths.build(codeLengthLengths, 19, 7, codeLengthEntryFor);
    uint32_t stored = 0;
    while (stored < total) {
        reader.refill();
        const uint32_t entry = codeLengths.lookup(reader.state().buffer);
        reader.state().consume(entryBits(entry));
        if (entryKind(entry) != literalEntry) {
            return false;
        }
        const uint32_t symbol = entryValue(entry);
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
        } else {
            repeat = 11 + reader.take(7);
        }
        if (repeat > total - stored) {
            return false;
        }
        std::memset(lengths + stored, value, repeat);
        stored += repeat;
    }
    return true;
}

bool inflateDynamic(DeflateBitReader& reader, Output& out) {
    reader.refill();
    const uint32_t literalCount = reader.take(5) + 257;
    const uint32_t distanceCount = reader.take(5) + 1;
    uint8_t lengths[320];
    if (!readCodeLengths(reader, lengths, literalCount + distanceCount)) {
        return false;
    }
    LiteralTable literals;
    DistanceTable distances;
    literals.build(lengths, literalCount, 15, literalEntryFor);
    literals.pairLiterals();
    distances.build(lengths + literalCount, distanceCount, 15, distanceEntryFor);
    return inflateCodes(reader, out, literals, distances);
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

bool inflateStream(DeflateInput& input, uint8_t* output, size_t size, StreamProgress* written,
                   InflateWindow* window, const std::atomic<bool>* stop) {
    DeflateBitReader reader(input);
    Output out = window != nullptr ? Output{window->start(), window->start(), window->end(), window}
                                   : Output{output, output, output + size};
    out.written = written;

    reader.refill();
    const uint32_t method = reader.take(8);
    const uint32_t flags = reader.take(8);
    if ((method & 0x0F) != 8 || (method >> 4) > 7 || (flags & 0x20) != 0) {
        return false;
    }
    bool last = false;
    while (!last) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            return false;
        }
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
            return false;
        }
        out.publish();
    }
    // The Adler-32 trailer is not checked, so it need not even be there. What the stream
    // left of the image is zero.
    for (;;) {
        std::memset(out.at, 0, size_t(out.end - out.at));
        out.at = out.end;
        if (out.offset() == size) {
            break;
        }
        if (!out.makeRoom(1)) {
            return false;
        }
    }
    out.publish();
    return true;
}
