#include "png/inflate_window.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr size_t deflateHistory = 32768;
constexpr size_t smallestCapacity = size_t(4) << 20;

} // namespace

std::unique_ptr<InflateWindow> InflateWindow::make(size_t total, size_t longestRow,
                                                   size_t readPast) {
    const size_t kept = deflateHistory + longestRow + readPast;
    const size_t capacity = std::max(smallestCapacity, 4 * kept);
    if (total / 3 < capacity) {
        return nullptr; // a stream this short is read whole as soon as it is inflated
    }
    std::unique_ptr<InflateWindow> window(new (std::nothrow)
                                              InflateWindow(total, capacity, kept, readPast));
    if (window == nullptr || window->buffers_[0] == nullptr || window->buffers_[1] == nullptr) {
        return nullptr;
    }
    return window;
}

InflateWindow::InflateWindow(size_t total, size_t capacity, size_t kept, size_t readPast)
    : total_(total), capacity_(capacity), kept_(kept),
      // What is read past a row is never used: zeroed so that it is never undefined.
      buffers_{std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[capacity + readPast]()),
               std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[capacity + readPast]())},
      starts_{0, 0} {}

size_t InflateWindow::endOffset(int buffer) const {
    return std::min(capacity_, total_ - starts_[buffer].load(std::memory_order_relaxed));
}

bool InflateWindow::moveOn(uint8_t*& start, uint8_t*& at, uint8_t*& end) {
    const int from = current_.load(std::memory_order_relaxed);
    const size_t written = offsetOf(at);
    if (end != start + capacity_ || written == total_) {
        return false; // the stream's end is in this buffer
    }
    const int to = 1 - from;
    // The other buffer is free once the rows read from it are done with: those that began
    // before this buffer's start, and the row above the first row read from this one.
    if (released_.waitFor(ends_[to]) == StreamProgress::end) {
        return false;
    }
    const size_t carried = std::min(kept_, size_t(at - start));
    std::memcpy(buffers_[to].get(), at - carried, carried);
    starts_[to].store(written - carried, std::memory_order_relaxed);
    ends_[from] = written;
    current_.store(to, std::memory_order_release);
    start = buffers_[to].get();
    at = start + carried;
    end = start + endOffset(to);
    return true;
}

const uint8_t* InflateWindow::bytesAt(size_t offset) const {
    if (released_.now() == StreamProgress::end) {
        return nullptr;
    }
    const int current = current_.load(std::memory_order_acquire);
    const size_t currentStart = starts_[current].load(std::memory_order_relaxed);
    // Bytes before the current buffer's start are still whole in the other one.
    const int holder = currentStart <= offset ? current : 1 - current;
    const size_t holderStart = starts_[holder].load(std::memory_order_relaxed);
    if (offset < holderStart) {
        return nullptr;
    }
    return buffers_[holder].get() + (offset - holderStart);
}

void InflateWindow::release(size_t offset) {
    released_.advance(offset);
}
