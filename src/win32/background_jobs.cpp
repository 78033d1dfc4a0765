#include "win32/background_jobs.h"

#include <algorithm>
#include <new>
#include <utility>

#include "win32/left_threads.h"

namespace win32 {

namespace {

// Jobs of every window are numbered together, so that no message is taken for another's.
std::atomic<WPARAM> jobsStarted{0};

} // namespace

struct BackgroundJobs::Job {
    std::function<void(const std::atomic<bool>&)> work;
    std::shared_ptr<std::atomic<bool>> stop;
    HWND window;
    UINT message;
    WPARAM number;
};

BackgroundJobs::BackgroundJobs(HWND window, UINT message) : window_(window), message_(message) {}

BackgroundJobs::~BackgroundJobs() {
    if (stopNewest_ != nullptr) {
        *stopNewest_ = true;
    }
    for (Handle& thread : threads_) {
        leaveToFinish(std::move(thread));
    }
}

DWORD WINAPI BackgroundJobs::run(void* parameter) {
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    try {
        job->work(*job->stop);
    } catch (const std::bad_alloc&) {
        // Nothing made: the window keeps what it has.
    }
    if (!*job->stop) {
        PostMessageW(job->window, job->message, job->number, 0);
    }
    return 0;
}

WPARAM BackgroundJobs::start(std::function<void(const std::atomic<bool>& stop)> work) {
    if (stopNewest_ != nullptr) {
        *stopNewest_ = true;
    }
    std::erase_if(threads_, [](const Handle& thread) {
        return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
    });
    newest_ = 0;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    const WPARAM number = ++jobsStarted;
    auto* job = new (std::nothrow) Job{std::move(work), stop, window_, message_, number};
    Handle thread(job != nullptr ? CreateThread(nullptr, 0, run, job, 0, nullptr) : nullptr);
    if (!thread.valid()) {
        delete job;
        return 0;
    }
    threads_.push_back(std::move(thread));
    stopNewest_ = std::move(stop);
    newest_ = number;
    return number;
}

} // namespace win32
