// The bits of the zlib stream that runs through a PNG's consecutive IDAT chunks, least
// significant bit of each byte first. Past the last IDAT chunk (or the end of the input) the
// stream goes on as zero bytes, never past the input.
#pragma once

#include <cstdint>
#include <cstring>

#include "imaging/byte_order.h"

// The reader's moving parts, kept in one small value so that a decoding loop can hold them
// in registers and hand them back.
struct BitState {
    uint64_t buffer = 0; // the next bits, the first in bit 0
    uint32_t count = 0;  // how many of them are loaded
    const uint8_t* next = nullptr;
    const uint8_t* segmentEnd = nullptr; // end of the current chunk's data

    // Loads whole bytes up to at least 56 bits when the current chunk has eight bytes left;
    // false when the slow way must be taken.
    bool refillFast() {
        if (segmentEnd - next < 8) {
            return false;
        }
        uint64_t word;
        std::memcpy(&word, next, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        // Counts the whole bytes that fit; the bits of a partly fitting byte are the right
        // ones and are loaded again next time.
        buffer |= word << count;
        next += (63 - count) >> 3;
        count |= 56;
        return true;
    }
    void consume(uint32_t bits) {
        buffer >>= bits;
        count -= bits;
    }
    uint32_t take(uint32_t bits) {
        const auto value = uint32_t(buffer & ((uint64_t(1) << bits) - 1));
        consume(bits);
        return value;
    }
};

// How many stream bytes the consecutive IDAT chunks from firstIdat on hold, as the reader
// takes them: chunks cut short by the end of the input count what the input has.
inline uint64_t idatStreamBytes(const uint8_t* chunk, const uint8_t* inputEnd) {
    uint64_t total = 0;
    for (;;) {
        const uint32_t length = bigEndian32(chunk);
        const uint8_t* data = chunk + 8;
        const auto room = static_cast<uint64_t>(inputEnd - data);
        const uint64_t taken = length < room ? length : room;
        total += taken;
        const uint8_t* end = data + taken;
        if (inputEnd - end < 12) {
            return total;
        }
        chunk = end + 4;
        const uint8_t* type = chunk + 4;
        if (type[0] != 'I' || type[1] != 'D' || type[2] != 'A' || (type[3] & 0xDF) != 'T') {
            return total;
        }
    }
}

class IdatBitReader {
  public:
    // firstIdat points at the length field of the first IDAT chunk, which lies in the input.
    IdatBitReader(const uint8_t* firstIdat, const uint8_t* inputEnd) : inputEnd_(inputEnd) {
        startSegment(firstIdat);
    }

    BitState& state() { return state_; }

    // Makes at least 56 bits available.
    void refill() {
        while (state_.count <= 56) {
            if (state_.refillFast()) {
                return;
            }
            state_.buffer |= uint64_t(nextByte()) << state_.count;
            state_.count += 8;
        }
    }
    uint32_t take(uint32_t bits) { return state_.take(bits); }
    void alignToByte() { state_.consume(state_.count & 7); }

    // Copies whole bytes once the reader is aligned to a byte.
    void copyBytes(uint8_t* to, uint32_t count) {
        while (count > 0 && state_.count >= 8) {
            *to++ = static_cast<uint8_t>(state_.buffer);
            state_.consume(8);
            --count;
        }
        if (count == 0) {
            return;
        }
        state_.buffer = 0; // drop bits loaded ahead of the bytes copied straight from the input
        state_.count = 0;
        while (count > 0) {
            if (state_.next == state_.segmentEnd && !advanceSegment()) {
                std::memset(to, 0, count);
                return;
            }
            const auto left = static_cast<uint64_t>(state_.segmentEnd - state_.next);
            const auto chunk = static_cast<uint32_t>(left < count ? left : count);
            std::memcpy(to, state_.next, chunk);
            to += chunk;
            state_.next += chunk;
            count -= chunk;
        }
    }

  private:
    void startSegment(const uint8_t* chunk) {
        const uint32_t length = bigEndian32(chunk);
        state_.next = chunk + 8;
        const auto room = static_cast<uint64_t>(inputEnd_ - state_.next);
        state_.segmentEnd = state_.next + (length < room ? length : room);
    }

    // Moves on to the data of the next chunk when it is an IDAT chunk (the case of the type's
    // last letter does not matter), passing over empty ones. False at the end of the stream.
    bool advanceSegment() {
        while (!exhausted_) {
            // The CRC and the next chunk's length and type must be in the input.
            if (inputEnd_ - state_.segmentEnd < 12) {
                exhausted_ = true;
                break;
            }
            const uint8_t* chunk = state_.segmentEnd + 4;
            const uint8_t* type = chunk + 4;
            if (type[0] != 'I' || type[1] != 'D' || type[2] != 'A' || (type[3] & 0xDF) != 'T') {
                exhausted_ = true;
                break;
            }
            startSegment(chunk);
            if (state_.next != state_.segmentEnd) {
                return true;
            }
        }
        state_.next = state_.segmentEnd;
        return false;
    }

    uint8_t nextByte() {
        if (state_.next == state_.segmentEnd && !advanceSegment()) {
            return 0;
        }
        return *state_.next++;
    }

    BitState state_;
    const uint8_t* const inputEnd_;
    bool exhausted_ = false;
};
