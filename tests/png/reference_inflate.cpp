#include "reference_inflate.h"

namespace {

struct Bits {
    const std::vector<uint8_t>& bytes;
    size_t position = 0;
    uint32_t current = 0;
    int left = 0;

    uint32_t bit() {
        if (left == 0) {
            current = position < bytes.size() ? bytes[position] : 0;
            ++position;
            left = 8;
        }
        const uint32_t b = current & 1;
        current >>= 1;
        --left;
        return b;
    }
    uint32_t field(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value |= bit() << i;
        }
        return value;
    }
    void align() { left = 0; }
};

struct Code {
    uint32_t limit[16] = {};
    uint32_t position[16] = {};
    std::vector<uint32_t> symbols;
    uint32_t maxLength = 0;

    Code(const uint8_t* lengths, uint32_t n, uint32_t m) : maxLength(m) {
        uint32_t counts[16] = {};
        for (uint32_t s = 0; s < n; ++s) {
            ++counts[lengths[s]];
        }
        counts[0] = 0;
        uint32_t code = 0, free = 0;
        uint32_t next[16] = {};
        for (uint32_t l = 1; l <= m; ++l) {
            code = (code + counts[l - 1]) * 2;
            if (counts[l] != 0) {
                limit[l] = (code + counts[l]) & 0xFFFF; // kept in 16 bits
                position[l] = free;
                next[l] = free;
                free += counts[l];
            }
        }
        symbols.resize(free);
        for (uint32_t s = n; s-- > 0;) {
            if (lengths[s] != 0) {
                symbols[next[lengths[s]]++] = s;
            }
        }
    }

    // -1 for a data error.
    long decode(Bits& bits) const {
        uint32_t code = 0;
        for (uint32_t l = 1; l <= maxLength; ++l) {
            code = code * 2 + bits.bit();
            if (limit[l] != 0 && code < limit[l]) {
                const uint32_t index = position[l] + limit[l] - 1 - code;
                return index < symbols.size() ? long(symbols[index]) : -1;
            }
        }
        return -1;
    }
};

const uint32_t lengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int lengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint32_t distanceBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                 33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int distanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool codes(Bits& bits, std::vector<uint8_t>& out, size_t& at, const Code& literals,
           const Code* distances) {
    for (;;) {
        const long symbol = literals.decode(bits);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 256) {
            if (at == out.size()) {
                return false;
            }
            out[at++] = uint8_t(symbol);
            continue;
        }
        if (symbol == 256) {
            return true;
        }
        if (symbol > 285) {
            return false;
        }
        const uint32_t length = lengthBase[symbol - 257] + bits.field(lengthExtra[symbol - 257]);
        long d;
        if (distances == nullptr) {
            d = 0;
            for (int i = 0; i < 5; ++i) {
                d = d * 2 + long(bits.bit());
            }
        } else {
            d = distances->decode(bits);
        }
        if (d < 0 || d > 29) {
            return false;
        }
        const uint32_t distance = distanceBase[d] + bits.field(distanceExtra[d]);
        if (distance > at || length > out.size() - at) {
            return false;
        }
        for (uint32_t i = 0; i < length; ++i, ++at) {
            out[at] = out[at - distance];
        }
    }
}

} // namespace

ReferenceInflateResult referenceInflate(const std::vector<uint8_t>& stream, size_t outputSize) {
    ReferenceInflateResult result;
    result.output.assign(outputSize, 0);
    std::vector<uint8_t>& out = result.output;
    size_t at = 0;
    Bits bits{stream};
    const uint32_t method = bits.field(8);
    const uint32_t flags = bits.field(8);
    if ((method & 15) != 8 || (method >> 4) > 7 || (flags & 32) != 0) {
        return result;
    }
    for (bool last = false; !last;) {
        last = bits.bit() != 0;
        const uint32_t type = bits.field(2);
        if (type == 0) {
            bits.align();
            const uint32_t length = bits.field(16);
            if ((length ^ 0xFFFF) != bits.field(16) || length > out.size() - at) {
                return result;
            }
            for (uint32_t i = 0; i < length; ++i) {
                out[at++] = uint8_t(bits.field(8));
            }
        } else if (type == 1) {
            uint8_t lengths[288];
            for (int s = 0; s < 288; ++s) {
                lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
            }
            if (!codes(bits, out, at, Code(lengths, 288, 9), nullptr)) {
                return result;
            }
        } else if (type == 2) {
            const uint32_t hlit = bits.field(5) + 257;
            const uint32_t hdist = bits.field(5) + 1;
            const uint32_t hclen = bits.field(4) + 4;
            const int order[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                   11, 4,  12, 3, 13, 2, 14, 1, 15};
            uint8_t clens[19] = {};
            for (uint32_t i = 0; i < hclen; ++i) {
                clens[order[i]] = uint8_t(bits.field(3));
            }
            const Code lengthCode(clens, 19, 7);
            uint8_t lengths[320] = {};
            uint32_t stored = 0;
            while (stored < hlit + hdist) {
                const long symbol = lengthCode.decode(bits);
                if (symbol < 0) {
                    return result;
                }
                if (symbol < 16) {
                    lengths[stored++] = uint8_t(symbol);
                    continue;
                }
                uint32_t repeat;
                uint8_t value = 0;
                if (symbol == 16) {
                    if (stored == 0) {
                        return result;
                    }
                    value = lengths[stored - 1];
                    repeat = 3 + bits.field(2);
                } else if (symbol == 17) {
                    repeat = 3 + bits.field(3);
                } else {
                    repeat = 11 + bits.field(7);
                }
                if (stored + repeat > hlit + hdist) {
                    return result;
                }
                for (uint32_t i = 0; i < repeat; ++i) {
                    lengths[stored++] = value;
                }
            }
            const Code literals(lengths, hlit, 15);
            const Code distances(lengths + hlit, hdist, 15);
            if (!codes(bits, out, at, literals, &distances)) {
                return result;
            }
        } else {
            return result;
        }
    }
    result.ok = true;
    return result;
}
