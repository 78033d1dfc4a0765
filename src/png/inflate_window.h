// The inflated stream of a large picture passed from the thread that inflates it to the one
// that reconstructs its rows through two buffers used in turn, instead of one buffer the size
// of the whole stream: a few MiB of memory touched again and again rather than hundreds
// touched once, each page of which costs a fault. Each buffer begins with the end of the
// other, as much as a deflate match may refer back to and the longest row, so that every row
// is whole in one buffer and a match always finds its bytes.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "png/stream_progress.h"

class InflateWindow {
  public:
    // A window for a stream of total bytes read in rows at most longestRow long, each read with
    // the readPast bytes after it; null when the stream is too short to gain from one, or
    // there is no memory for it.
    static std::unique_ptr<InflateWindow> make(size_t total, size_t longestRow, size_t readPast);

    // The inflating side. The output starts at the first buffer's start and may run to end.
    uint8_t* start() const { return buffers_[0].get(); }
    uint8_t* end() const { return start() + endOffset(0); }
    // The stream's offset of a position in the buffer the output is in.
    size_t offsetOf(const uint8_t* at) const {
        const int current = current_.load(std::memory_order_relaxed);
        return starts_[current].load(std::memory_order_relaxed) +
               size_t(at - buffers_[current].get());
    }
    // Moves the output into the other buffer, its start holding what precedes at, once the
    // rows read from that buffer are no longer needed; start, at and end then describe the
    // new buffer. False when the stream's end lies in this buffer, or when the rows are no
    // longer read.
    bool moveOn(uint8_t*& start, uint8_t*& at, uint8_t*& end);

    // The reading side. The final bytes of the stream at offset, which must not lie before
    // the last offset released; null when they are no longer held.
    const uint8_t* bytesAt(size_t offset) const;
    // The bytes before offset will not be read again; SIZE_MAX: no more bytes will be read.
    void release(size_t offset);
    // The rows will not be read at all: the inflating side stops waiting.
    void cancel() { release(SIZE_MAX); }

  private:
    InflateWindow(size_t total, size_t capacity, size_t kept, size_t readPast);
    size_t endOffset(int buffer) const;

    const size_t total_;
    const size_t capacity_; // of each buffer, before the slack its last row may read past
    const size_t kept_;     // bytes of one buffer carried over to the start of the other
    std::unique_ptr<uint8_t[]> buffers_[2];
    std::atomic<size_t> starts_[2]; // stream offset of each buffer's first byte
    size_t ends_[2] = {0, 0};       // where each buffer's contents ended when output left it
    std::atomic<int> current_{0};   // the buffer the output is in
    StreamProgress released_;       // the reading side's: bytes before it are no longer needed
};
