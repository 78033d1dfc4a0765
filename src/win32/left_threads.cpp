#include "win32/left_threads.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace win32 {

namespace {

// The threads belong to the process, which alone outlives every window that left one.
struct LeftThreads {
    std::mutex lock;
    std::vector<Handle> threads;
};

LeftThreads& leftThreads() {
    static LeftThreads left;
    return left;
}

bool hasEnded(const Handle& thread) {
    return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
}

} // namespace

void leaveToFinish(Handle thread) {
    if (!thread.valid() || hasEnded(thread)) {
        return;
    }
    LeftThreads& left = leftThreads();
    const std::lock_guard<std::mutex> held(left.lock);
    std::erase_if(left.threads, hasEnded);
    left.threads.push_back(std::move(thread));
}

void awaitLeftThreads(DWORD ms) {
    LeftThreads& left = leftThreads();
    const std::lock_guard<std::mutex> held(left.lock);
    const DWORD until = GetTickCount() + ms;
    for (const Handle& thread : left.threads) {
        const DWORD now = GetTickCount();
        WaitForSingleObject(thread.get(), int32_t(until - now) > 0 ? until - now : 0);
    }
    left.threads.clear();
}

} // namespace win32
