#include "png/inflate.h"
#include "png/png_internal.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "png_builder.h"
#include "reference_inflate.h"

namespace {

// Writes DEFLATE fields: plain fields least significant bit first, Huffman codes most
// significant bit first.
class BitWriter {
  public:
    void field(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bit((value >> i) & 1);
        }
    }
    void code(uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bit((value >> i) & 1);
        }
    }
    void alignToByte() {
        while (used_ != 0) {
            bit(0);
        }
    }
    void byte(uint8_t value) {
        alignToByte();
        bytes_.push_back(value);
    }
    Bytes finish() {
        alignToByte();
        return bytes_;
    }

  private:
    void bit(uint32_t b) {
        if (used_ == 0) {
            bytes_.push_back(0);
        }
        bytes_.back() |= static_cast<uint8_t>(b << used_);
        used_ = (used_ + 1) % 8;
    }
    Bytes bytes_;
    int used_ = 0;
};

void fixedSymbol(BitWriter& w, uint32_t s) {
    if (s < 144) {
        w.code(0x30 + s, 8);
    } else if (s < 256) {
        w.code(0x190 + s - 144, 9);
    } else if (s < 280) {
        w.code(s - 256, 7);
    } else {
        w.code(0xC0 + s - 280, 8);
    }
}

// Canonical codes (smallest symbol first within a length) for a set of lengths.
std::vector<uint32_t> canonicalCodes(const std::vector<uint8_t>& lengths) {
    uint32_t counts[16] = {}, next[16] = {};
    for (uint8_t l : lengths) {
        ++counts[l];
    }
    counts[0] = 0;
    uint32_t code = 0;
    for (int l = 1; l < 16; ++l) {
        code = (code + counts[l - 1]) << 1;
        next[l] = code;
    }
    std::vector<uint32_t> codes(lengths.size());
    for (size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] != 0) {
            codes[s] = next[lengths[s]]++;
        }
    }
    return codes;
}

// A dynamic block header whose code-length code gives every one of its 19 symbols a 5-bit
// code, so each length item is written as its symbol in 5 bits plus extra bits.
struct LengthItem {
    uint32_t symbol;
    uint32_t extra = 0;
};
void dynamicHeader(BitWriter& w, bool last, uint32_t hlit, uint32_t hdist,
                   const std::vector<LengthItem>& items) {
    w.field(last ? 1 : 0, 1);
    w.field(2, 2);
    w.field(hlit - 257, 5);
    w.field(hdist - 1, 5);
    w.field(19 - 4, 4);
    for (int i = 0; i < 19; ++i) {
        w.field(5, 3);
    }
    for (const LengthItem& item : items) {
        w.code(item.symbol, 5);
        if (item.symbol == 16) {
            w.field(item.extra, 2);
        } else if (item.symbol == 17) {
            w.field(item.extra, 3);
        } else if (item.symbol == 18) {
            w.field(item.extra, 7);
        }
    }
}
std::vector<LengthItem> plainLengths(const std::vector<uint8_t>& lengths) {
    std::vector<LengthItem> items;
    for (uint8_t l : lengths) {
        items.push_back({l});
    }
    return items;
}

struct Inflated {
    bool ok;
    uint32_t error;
    Bytes output;
};

// Runs the decoder's inflater over a file whose first chunk (after the signature) starts the
// stream.
Inflated inflateFile(const Bytes& file, size_t outputSize) {
    Bytes output(outputSize, 0xEE);
    PngDecoder decoder{};
    decoder.inputData = file.data();
    decoder.inputSize = uint32_t(file.size());
    decoder.firstIdat = file.data() + 8;
    decoder.inflatedData = output.data();
    decoder.inflatedSize = uint32_t(output.size());
    const bool ok = Inflate(&decoder) != 0;
    return {ok, decoder.lastError, output};
}

// The stream laid out as IDAT chunks of the given sizes (the rest in a last one), then IEND.
Inflated inflateChunks(const Bytes& stream, size_t outputSize,
                       const std::vector<size_t>& splits = {}) {
    std::vector<Chunk> chunks;
    size_t start = 0;
    for (size_t size : splits) {
        chunks.push_back(
            {"IDAT", Bytes(stream.begin() + long(start), stream.begin() + long(start + size))});
        start += size;
    }
    chunks.push_back({"IDAT", Bytes(stream.begin() + long(start), stream.end())});
    chunks.push_back({"IEND", {}});
    return inflateFile(pngFile(chunks), outputSize);
}

Bytes zlibHeaderAnd(BitWriter& w) {
    Bytes stream = {0x78, 0x01};
    const Bytes body = w.finish();
    stream.insert(stream.end(), body.begin(), body.end());
    return stream;
}

TEST(Inflate, StoredBlocksCheckTheirLengthComplement) {
    for (auto [complement, ok] : {std::pair{0xFFFAu, true}, {0xFFFBu, false}, {0x0005u, false}}) {
        Bytes stream = {0x78, 0x01, 0x01, 0x05, 0x00, uint8_t(complement), uint8_t(complement >> 8),
                        'h',  'e',  'l',  'l',  'o'};
        const Inflated result = inflateChunks(stream, 5);
        EXPECT_EQ(result.ok, ok) << std::hex << complement;
        EXPECT_EQ(result.error, ok ? uint32_t(PNG_OK) : uint32_t(PNG_ERR_FORMAT));
        if (ok) {
            EXPECT_EQ(result.output, (Bytes{'h', 'e', 'l', 'l', 'o'}));
        }
    }
}

TEST(Inflate, HeaderChecksMethodWindowAndDictionaryOnly) {
    const Bytes block = {0x01, 0x01, 0x00, 0xFE, 0xFF, 'x'};
    auto withHeader = [&](uint8_t cmf, uint8_t flg) {
        Bytes stream = {cmf, flg};
        stream.insert(stream.end(), block.begin(), block.end());
        return inflateChunks(stream, 1).ok;
    };
    EXPECT_TRUE(withHeader(0x78, 0x00)); // 0x7800 is no multiple of 31
    EXPECT_TRUE(withHeader(0x08, 0xC0)); // smallest window, any level
    EXPECT_TRUE(withHeader(0x78, 0xDA));
    EXPECT_FALSE(withHeader(0x7F, 0x01)); // method 15
    EXPECT_FALSE(withHeader(0x88, 0x01)); // window field 8
    EXPECT_FALSE(withHeader(0x78, 0x20)); // preset dictionary
}

TEST(Inflate, BlockType3Fails) {
    BitWriter w;
    w.field(1, 1);
    w.field(3, 2);
    EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 4).ok);
}

TEST(Inflate, TrailerIsNeverChecked) {
    const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8};
    Bytes stream = zlibCompress(data);
    stream[stream.size() - 1] ^= 0x55;
    EXPECT_EQ(inflateChunks(stream, data.size()).output, data);
    stream.resize(stream.size() - 4);
    const Inflated cut = inflateChunks(stream, data.size());
    EXPECT_TRUE(cut.ok);
    EXPECT_EQ(cut.output, data);
}

TEST(Inflate, OverlappingMatchesRepeatRecentBytes) {
    BitWriter w;
    w.field(1, 1);
    w.field(1, 2);
    fixedSymbol(w, 'a');
    fixedSymbol(w, 285); // length 258
    w.code(0, 5);        // distance 1
    fixedSymbol(w, 'b');
    fixedSymbol(w, 'c');
    fixedSymbol(w, 258); // length 4
    w.code(1, 5);        // distance 2
    fixedSymbol(w, 256);
    const Inflated result = inflateChunks(zlibHeaderAnd(w), 265);
    ASSERT_TRUE(result.ok);
    Bytes expected(265, 'a');
    for (size_t i = 259; i < 265; ++i) {
        expected[i] = (i - 259) % 2 == 0 ? 'b' : 'c';
    }
    EXPECT_EQ(result.output, expected);
}

TEST(Inflate, ShortOutputIsZeroFilledAndLongOutputFails) {
    const Bytes data = {9, 8, 7};
    const Inflated shortOutput = inflateChunks(zlibCompress(data), 6);
    EXPECT_TRUE(shortOutput.ok);
    EXPECT_EQ(shortOutput.output, (Bytes{9, 8, 7, 0, 0, 0}));
    EXPECT_FALSE(inflateChunks(zlibCompress(data), 2).ok);
    EXPECT_FALSE(inflateChunks(zlibCompress(Bytes(1000, 4)), 999).ok); // by a match
    EXPECT_FALSE(inflateChunks({0x78, 0x01, 0x01, 0x05, 0x00, 0xFA, 0xFF, 1, 2, 3, 4, 5}, 4).ok);
}

TEST(Inflate, MatchesReachingBeforeTheStartFail) {
    BitWriter w;
    w.field(1, 1);
    w.field(1, 2);
    fixedSymbol(w, 'a');
    fixedSymbol(w, 257);
    w.code(1, 5); // distance 2, one byte written
    fixedSymbol(w, 256);
    EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 8).ok);
}

TEST(Inflate, LengthAndDistanceSymbolsPastTheTablesFail) {
    for (uint32_t symbol : {286u, 287u}) {
        BitWriter w;
        w.field(1, 1);
        w.field(1, 2);
        fixedSymbol(w, 'a');
        fixedSymbol(w, symbol);
        w.code(0, 5);
        fixedSymbol(w, 256);
        EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 300).ok) << symbol;
    }
    for (uint32_t distance : {30u, 31u}) {
        BitWriter w;
        w.field(1, 1);
        w.field(1, 2);
        fixedSymbol(w, 'a');
        fixedSymbol(w, 257);
        w.code(distance, 5);
        fixedSymbol(w, 256);
        EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 300).ok) << distance;
    }
}

TEST(Inflate, SmallestDynamicBlockDecodes) {
    // HLIT 257, HDIST 1: 'A' and end-of-block get one-bit codes, the one distance code too.
    std::vector<uint8_t> lengths(258, 0);
    lengths['A'] = 1;
    lengths[256] = 1;
    lengths[257] = 1;
    BitWriter w;
    dynamicHeader(w, true, 257, 1, plainLengths(lengths));
    w.code(0, 1);
    w.code(0, 1);
    w.code(1, 1);
    const Inflated result = inflateChunks(zlibHeaderAnd(w), 2);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.output, (Bytes{'A', 'A'}));
}

TEST(Inflate, RepeatCodesFillTheLengths) {
    // Symbols 0 to 6 and end-of-block get 3-bit codes: "3, repeat 6 more" sets 0 to 6.
    std::vector<LengthItem> items = {{3}, {16, 3}, {18, 127}, {18, 127 - 138 + 111}, {3}, {0}};
    // 1 + 6 + 138 + 111 = 256 literal lengths, then 256's, then the distance length.
    BitWriter w;
    dynamicHeader(w, true, 257, 1, items);
    std::vector<uint8_t> lengths(257, 0);
    for (int s = 0; s < 7; ++s) {
        lengths[size_t(s)] = 3;
    }
    lengths[256] = 3;
    const std::vector<uint32_t> codes = canonicalCodes(lengths);
    for (uint32_t s : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 256u}) {
        w.code(codes[s], 3);
    }
    const Inflated result = inflateChunks(zlibHeaderAnd(w), 7);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.output, (Bytes{0, 1, 2, 3, 4, 5, 6}));
}

TEST(Inflate, MalformedCodeLengthsFail) {
    {
        BitWriter w; // a repeat with nothing before it
        dynamicHeader(w, true, 257, 1, {{16, 0}});
        EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 4).ok);
    }
    {
        BitWriter w; // zeros past the 258 lengths
        dynamicHeader(w, true, 257, 1, {{18, 127}, {18, 127}, {18, 0}});
        EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 4).ok);
    }
    {
        // Only '0' has a code (length 2, code 00); the stream's 11 matches nothing.
        std::vector<uint8_t> lengths(258, 0);
        lengths['0'] = 2;
        BitWriter w;
        dynamicHeader(w, true, 257, 1, plainLengths(lengths));
        w.code(3, 2);
        EXPECT_FALSE(inflateChunks(zlibHeaderAnd(w), 4).ok);
    }
}

TEST(Inflate, StreamsSplitOverIdatChunksDecodeAsOne) {
    std::mt19937 random(9);
    Bytes data(5000);
    for (uint8_t& b : data) {
        b = uint8_t(random() % 7);
    }
    const Bytes stream = zlibCompress(data);
    EXPECT_EQ(inflateChunks(stream, data.size(), {1, 0, 0, 5, 1, 0, 100}).output, data);
    EXPECT_EQ(inflateChunks(stream, data.size(), {0}).output, data);

    // An IDAT chunk after another kind of chunk is not part of the stream.
    const Inflated interrupted =
        inflateFile(pngFile({{"IDAT", Bytes(stream.begin(), stream.begin() + 10)},
                             {"tEXt", {'a'}},
                             {"IDAT", Bytes(stream.begin() + 10, stream.end())}}),
                    data.size());
    EXPECT_FALSE(interrupted.ok && interrupted.output == data);

    // The last letter's case does not matter for the chunks that follow the first.
    const Inflated lowerCase =
        inflateFile(pngFile({{"IDAT", Bytes(stream.begin(), stream.begin() + 10)},
                             {"IDAt", Bytes(stream.begin() + 10, stream.end())}}),
                    data.size());
    EXPECT_TRUE(lowerCase.ok);
    EXPECT_EQ(lowerCase.output, data);
}

TEST(Inflate, AChunkLongerThanTheInputEndsTheStreamThere) {
    const Bytes data(300, 'q');
    Bytes file = pngFile({{"IDAT", zlibCompress(data)}});
    file[8 + 3] = 0xFF; // the chunk claims more data than the file holds
    file[8 + 2] = 0xFF;
    const Inflated result = inflateFile(file, data.size());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.output, data);
}

// Random data of several kinds, every compression level and strategy, random splits into
// IDAT chunks with empty ones among them: the output is exactly zlib's input.
TEST(Inflate, MatchesZlibOnEveryLevelAndStrategy) {
    std::mt19937 random(2024);
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (int kind = 0; kind < 4; ++kind) {
        const size_t size = 1 + random() % 200000;
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) {
            switch (kind) {
            case 0:
                data[i] = uint8_t(random());
                break;
            case 1:
                data[i] = uint8_t(random() % 4 == 0 ? random() : (i > 3 ? data[i - 3] : 0));
                break;
            case 2:
                data[i] = uint8_t((i / 100) % 3);
                break;
            default:
                data[i] = uint8_t("the quick brown fox jumps "[random() % 26]);
            }
        }
        for (int level = 0; level <= 9; ++level) {
            for (int strategy : strategies) {
                const Bytes stream = zlibCompress(data, level, strategy);
                std::vector<size_t> splits;
                for (size_t left = stream.size(); left > 0 && splits.size() < 8;) {
                    const size_t part = random() % 3 == 0 ? 0 : random() % (left + 1);
                    splits.push_back(part);
                    left -= part;
                }
                const Inflated result = inflateChunks(stream, data.size(), splits);
                ASSERT_TRUE(result.ok)
                    << "kind " << kind << " level " << level << " strategy " << strategy;
                ASSERT_EQ(result.output, data) << "kind " << kind << " level " << level;
            }
        }
    }
}

// Damaged and random streams: the inflater and the slow literal one agree on success and on
// every output byte.
TEST(Inflate, AgreesWithTheLiteralInflaterOnDamagedStreams) {
    std::mt19937 random(77);
    for (int round = 0; round < 3000; ++round) {
        Bytes data(1 + random() % 3000);
        for (size_t i = 0; i < data.size(); ++i) {
            data[i] = uint8_t(random() % 3 == 0 ? random() : (i > 2 ? data[i - 2] : 1));
        }
        Bytes stream = zlibCompress(data, int(random() % 10), int(random() % 5));
        const int damage = int(random() % 4);
        if (damage == 0) {
            stream[2 + random() % (stream.size() - 2)] ^= uint8_t(1u << (random() % 8));
        } else if (damage == 1) {
            stream.resize(2 + random() % (stream.size() - 1));
        } else if (damage == 2) {
            for (size_t i = 2; i < stream.size(); ++i) {
                stream[i] = uint8_t(random());
            }
        } else {
            for (int k = 0; k < 5; ++k) {
                stream[2 + random() % (stream.size() - 2)] = uint8_t(random());
            }
        }
        const size_t outputSize = data.size() + random() % 3 - 1 + 1;
        const ReferenceInflateResult expected = referenceInflate(stream, outputSize);
        const Inflated actual = inflateChunks(stream, outputSize);
        ASSERT_EQ(actual.ok, expected.ok) << "round " << round;
        if (expected.ok) {
            ASSERT_EQ(actual.output, expected.output) << "round " << round;
        }
    }
}

TEST(HuffmanTable, CanonicalCodesPutSymbolsOfOneLengthInDecreasingOrder) {
    const uint8_t lengths[] = {3, 3, 3, 3, 3, 2, 4, 4};
    uint16_t counts[16] = {};
    for (uint8_t l : lengths) {
        ++counts[l];
    }
    counts[0] = 0;
    HuffmanTable table{};
    BuildHuffmanTable(&table, lengths, counts, 8, 4);
    EXPECT_EQ(table.limit[1], 0);
    EXPECT_EQ(table.limit[2], 1);  // code 00
    EXPECT_EQ(table.limit[3], 7);  // codes 010 to 110
    EXPECT_EQ(table.limit[4], 16); // codes 1110, 1111
    EXPECT_EQ(table.position[3], 1);
    EXPECT_EQ(table.symbols[0], 5);
    EXPECT_EQ(table.symbols[1], 4); // the group of length 3 from its largest symbol
    EXPECT_EQ(table.symbols[5], 0);
    EXPECT_EQ(table.symbols[6], 7);
    uint32_t length = 0;
    EXPECT_EQ(decodeHuffmanSerial(table, 4, 0b0, length), 5u); // 00
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(decodeHuffmanSerial(table, 4, 0b010, length), 0u); // 010, first bit in bit 0
    EXPECT_EQ(decodeHuffmanSerial(table, 4, 0b1111, length), 7u);
    EXPECT_EQ(length, 4u);
}

} // namespace
