// The bits of the zlib stream that runs through a PNG's consecutive IDAT chunks, least
// significant bit of each byte first. Past the last IDAT chunk (or the end of the input) the
// stream goes on as zero bytes, never past the input.
#pragma once

#include <cstdint>
#include <cstring>

class IdatBitReader {
  public:
    // firstIdat points at the length field of the first IDAT chunk, which lies in the input.
    IdatBitReader(const uint8_t* firstIdat, const uint8_t* inputEnd) : inputEnd_(inputEnd) {
        startSegment(firstIdat);
    }

    // Makes at least 56 bits available.
    void refill() {
        while (count_ <= 56) {
            if (segmentEnd_ - next_ >= 8) {
                // Loads eight bytes and counts the whole ones that fit; the bits of the
                // partly fitting byte are the right ones and get loaded again next time.
                uint64_t word;
                std::memcpy(&word, next_, 8);
                bits_ |= littleEndian(word) << count_;
                next_ += (63 - count_) >> 3;
                count_ |= 56;
                return;
            }
            bits_ |= uint64_t(nextByte()) << count_;
            count_ += 8;
        }
    }

    // The buffered bits, the next one in bit 0. Only the low available() bits count.
    uint64_t peek() const { return bits_; }
    uint32_t available() const { return count_; }
    void consume(uint32_t count) {
        bits_ >>= count;
        count_ -= count;
    }
    uint32_t take(uint32_t count) {
        const auto value = uint32_t(bits_ & ((uint64_t(1) << count) - 1));
        consume(count);
        return value;
    }
    void alignToByte() { consume(count_ & 7); }

    // Copies whole bytes once the reader is aligned to a byte.
    void copyBytes(uint8_t* to, uint32_t count) {
        while (count > 0 && count_ >= 8) {
            *to++ = static_cast<uint8_t>(bits_);
            consume(8);
            --count;
        }
        if (count == 0) {
            return;
        }
        bits_ = 0; // drop bits loaded ahead of the bytes copied straight from the input
        count_ = 0;
        while (count > 0) {
            if (next_ == segmentEnd_ && !advanceSegment()) {
                std::memset(to, 0, count);
                return;
            }
            const auto chunk = static_cast<uint32_t>(
                uint64_t(segmentEnd_ - next_) < count ? uint64_t(segmentEnd_ - next_) : count);
            std::memcpy(to, next_, chunk);
            to += chunk;
            next_ += chunk;
            count -= chunk;
        }
    }

  private:
    static uint64_t littleEndian(uint64_t word) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return __builtin_bswap64(word);
#else
        return word;
#endif
    }

    void startSegment(const uint8_t* chunk) {
        const uint32_t length = uint32_t(chunk[0]) << 24 | uint32_t(chunk[1]) << 16 |
                                uint32_t(chunk[2]) << 8 | chunk[3];
        next_ = chunk + 8;
        const auto room = static_cast<uint64_t>(inputEnd_ - next_);
        segmentEnd_ = next_ + (length < room ? length : room);
    }

    // Moves on to the data of the next chunk when it is an IDAT chunk (the case of the type's
    // last letter does not matter), passing over empty ones. False at the end of the stream.
    bool advanceSegment() {
        while (!exhausted_) {
            // The CRC and the next chunk's length and type must be in the input.
            if (inputEnd_ - segmentEnd_ < 12) {
                exhausted_ = true;
                break;
            }
            const uint8_t* chunk = segmentEnd_ + 4;
            const uint8_t* type = chunk + 4;
            if (type[0] != 'I' || type[1] != 'D' || type[2] != 'A' || (type[3] & 0xDF) != 'T') {
                exhausted_ = true;
                break;
            }
            startSegment(chunk);
            if (next_ != segmentEnd_) {
                return true;
            }
        }
        next_ = segmentEnd_;
        return false;
    }

    uint8_t nextByte() {
        if (next_ == segmentEnd_ && !advanceSegment()) {
            return 0;
        }
        return *next_++;
    }

    const uint8_t* next_ = nullptr;
    const uint8_t* segmentEnd_ = nullptr;
    const uint8_t* const inputEnd_;
    bool exhausted_ = false;
    uint64_t bits_ = 0;
    uint32_t count_ = 0;
};
