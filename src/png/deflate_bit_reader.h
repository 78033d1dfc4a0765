// The bits of a zlib stream held in one or more runs of memory, least significant bit of each
// byte first. Past the last run the stream goes on as zero bytes, never past the input.
#pragma once

#include <cstdint>
#include <cstring>

// The reader's moving parts, kept in one small value so that a decoding loop can hold them
// in registers and hand them back.
struct BitState {
    uint64_t buffer = 0; // the next bits, the first in bit 0
    uint32_t count = 0;  // how many of them are loaded
    const uint8_t* next = nullptr;
    const uint8_t* segmentEnd = nullptr; // end of the current run

    // Loads whole bytes up to at least 56 bits when the current run has eight bytes left;
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

// Where a deflate stream's bytes come from: runs of memory, each asked for when the one before
// is used up (the slow path: once per run).
class DeflateInput {
  public:
    // The next run of the stream's bytes, which may be empty; false after the last.
    virtual bool nextRun(const uint8_t*& begin, const uint8_t*& end) = 0;

  protected:
    ~DeflateInput() = default;
};

class DeflateBitReader {
  public:
    explicit DeflateBitReader(DeflateInput& input) : input_(input) { advanceSegment(); }

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
    // Moves on to the next run that holds bytes. False at the end of the stream.
    bool advanceSegment() {
        while (!exhausted_) {
            if (!input_.nextRun(state_.next, state_.segmentEnd)) {
                exhausted_ = true;
                break;
            }
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
    DeflateInput& input_;
    bool exhausted_ = false;
};
