// How far one thread has come through a stream, for another that waits for it: the one side
// moves the position forward, the other sleeps until it is far enough. Both sides of the
// concurrent PNG decode hand over through one each: the inflater tells the reader how many
// bytes are final, and the reader tells the inflater which it has read.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class StreamProgress {
  public:
    // The position of a stream that will not move again (ended, or no longer read).
    static constexpr size_t end = SIZE_MAX;

    // Moves the position to where (never back), wakes the side that waits, and makes what
    // was written before it visible there.
    void advance(size_t where) {
        position_.store(where, std::memory_order_release);
        position_.notify_all();
    }

    // Sleeps until the position is at least where; returns it.
    size_t waitFor(size_t where) const {
        size_t now = position_.load(std::memory_order_acquire);
        while (now < where) {
            position_.wait(now, std::memory_order_acquire);
            now = position_.load(std::memory_order_acquire);
        }
        return now;
    }

    size_t now() const { return position_.load(std::memory_order_acquire); }

  private:
    std::atomic<size_t> position_{0};
};
