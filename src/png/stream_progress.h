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

    // Moves the position to where (never back) and makes what was written before it visible
    // to the other side, waking it when it sleeps until this position or an earlier one.
    void advance(size_t where) {
        position_.store(where, std::memory_order_seq_cst);
        // A sleeper says what it waits for before it last looks at the position: either it
        // sees the new one, or it is seen here and woken (under the lock it holds until it
        // sleeps). One that waits for more is left asleep: a row released at a time would
        // otherwise wake an inflater that waits for a whole buffer's rows.
        if (where >= wanted_.load(std::memory_order_seq_cst)) {
            const std::lock_guard<std::mutex> lock(mutex_);
            moved_.notify_all();
        }
    }

    // Waits until the position is at least where; returns it. One side waits at a time. The other
    // side mostly gets there within microseconds, so the wait looks again a bounded number of times
    // before it sleeps on a condition variable: sleeping at once made a concurrent decode up to 1.6
    // times slower. (Not std::atomic::wait, which can miss a wake-up in the C++ library of the
    // MinGW-w64 cross compiler, GCC 12, where there is no futex to wait on.)
    size_t waitFor(size_t where) {
        for (int look = 0; look < looksBeforeSleeping; ++look) {
            if (const size_t now = position_.load(std::memory_order_acquire); now >= where) {
                return now;
            }
            pause();
        }
        std::unique_lock<std::mutex> lock(mutex_);
        wanted_.store(where, std::memory_order_seq_cst);
        size_t now = 0;
        moved_.wait(lock, [&] {
            now = position_.load(std::memory_order_seq_cst);
            return now >= where;
        });
        wanted_.store(nobodyWaits, std::memory_order_relaxed);
        return now;
    }

    size_t now() const { return position_.load(std::memory_order_acquire); }

  private:
    static constexpr int looksBeforeSleeping = 10000;
    static constexpr size_t nobodyWaits = SIZE_MAX;

    // Tells the processor that this is a wait, so that it spends less on it.
    static void pause() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::atomic<size_t> position_{0};
    std::atomic<size_t> wanted_{nobodyWaits}; // what the side asleep waits for
    std::mutex mutex_;
    std::condition_variable moved_;
};
