// How far one thread has come through a stream, for another that waits for it: the one side
// moves the position forward, the other sleeps until it is far enough. Both sides of the
// concurrent PNG decode hand over through one each: the inflater tells the reader how many
// bytes are final, and the reader tells the inflater which it has read.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

class StreamProgress {
  public:
    // The position of a stream that will not move again (ended, or no longer read).
    static constexpr size_t end = SIZE_MAX;

    // Moves the position to where (never back), wakes the side that waits, and makes what
    // was written before it visible there.
    void advance(size_t where) {
        {
            // Under the lock, so that a waiter between its check and its sleep is not missed.
            const std::lock_guard<std::mutex> lock(mutex_);
            position_.store(where, std::memory_order_release);
        }
        moved_.notify_all();
    }

    // Sleeps until the position is at least where; returns it. (A condition variable rather
    // than std::atomic::wait, which can miss a wake-up in the C++ library of the MinGW-w64
    // cross compiler, GCC 12, where there is no futex to wait on.)
    size_t waitFor(size_t where) {
        size_t now = position_.load(std::memory_order_acquire);
        if (now >= where) {
            return now;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        moved_.wait(lock, [&] {
            now = position_.load(std::memory_order_acquire);
            return now >= where;
        });
        return now;
    }

    size_t now() const { return position_.load(std::memory_order_acquire); }

  private:
    std::atomic<size_t> position_{0};
    std::mutex mutex_;
    std::condition_variable moved_;
};
