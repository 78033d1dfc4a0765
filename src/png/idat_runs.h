// The zlib stream of a PNG, which runs through its consecutive IDAT chunks: the chunks' data
// as the runs of a deflate input.
#pragma once

#include <cstdint>

#include "png/byte_order.h"
#include "png/deflate_bit_reader.h"

class IdatRuns final : public DeflateInput {
  public:
    // firstIdat points at the length field of the first IDAT chunk, which lies in the input;
    // null gives no run at all.
    IdatRuns(const uint8_t* firstIdat, const uint8_t* inputEnd)
        : chunk_(firstIdat), inputEnd_(inputEnd) {}

    // The data of the next chunk when it is an IDAT chunk (the case of the type's last letter
    // does not matter), cut short by the end of the input.
    bool nextRun(const uint8_t*& begin, const uint8_t*& end) override {
        if (chunk_ == nullptr) {
            return false;
        }
        if (dataEnd_ != nullptr) {
            // The CRC and the next chunk's length and type must be in the input.
            if (inputEnd_ - dataEnd_ < 12) {
                return false;
            }
            chunk_ = dataEnd_ + 4;
            const uint8_t* type = chunk_ + 4;
            if (type[0] != 'I' || type[1] != 'D' || type[2] != 'A' || (type[3] & 0xDF) != 'T') {
                return false;
            }
        }
        const uint32_t length = bigEndian32(chunk_);
        begin = chunk_ + 8;
        const auto room = static_cast<uint64_t>(inputEnd_ - begin);
        end = dataEnd_ = begin + (length < room ? length : room);
        return true;
    }

  private:
    const uint8_t* chunk_;
    const uint8_t* const inputEnd_;
    const uint8_t* dataEnd_ = nullptr; // of the chunk last given
};

// How many stream bytes the consecutive IDAT chunks from firstIdat on hold, as the reader
// takes them: chunks cut short by the end of the input count what the input has.
inline uint64_t idatStreamBytes(const uint8_t* firstIdat, const uint8_t* inputEnd) {
    IdatRuns runs(firstIdat, inputEnd);
    uint64_t total = 0;
    const uint8_t* begin = nullptr;
    const uint8_t* end = nullptr;
    while (runs.nextRun(begin, end)) {
        total += static_cast<uint64_t>(end - begin);
    }
    return total;
}
