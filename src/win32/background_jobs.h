// Work a window's thread must not wait for (reading a file, decoding a picture, asking another
// process), done on threads of their own. Each job posts a message to the window when it is
// done, with its number as the wParam; what it made it leaves in state it shares with the
// window, which reads it once the message has come. A job started asks the one before it to
// stop, which then posts nothing: only the newest job's message comes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "win32/handles.h"

namespace win32 {

class BackgroundJobs {
  public:
    BackgroundJobs(HWND window, UINT message);
    // Asks the job that runs to stop and leaves it to finish on its own, owning all it uses:
    // the window's thread never waits for it (the process does, when it exits).
    ~BackgroundJobs();
    BackgroundJobs(const BackgroundJobs&) = delete;
    BackgroundJobs& operator=(const BackgroundJobs&) = delete;

    // Starts the work, which should look at the flag it is given between its steps; the
    // number its message will carry, or 0 when no thread could be started.
    WPARAM start(std::function<void(const std::atomic<bool>& stop)> work);

    // Whether the message (its wParam) is the newest job's, which is then done.
    bool isNewest(WPARAM number) const { return number != 0 && number == newest_; }

  private:
    struct Job;
    static DWORD WINAPI run(void* job);

    HWND window_;
    UINT message_;
    WPARAM newest_ = 0;
    std::shared_ptr<std::atomic<bool>> stopNewest_;
    std::vector<Handle> threads_; // the jobs not known to have ended
};

} // namespace win32
