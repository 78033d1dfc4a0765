// Threads a window left to finish on their own (a read from a slow disk, a decode inside a
// call that cannot be stopped), which own all they use: no window's thread waits for them.
// The process waits for them once, when it exits, for a bounded time, so that none is cut off
// in the middle of the C++ library's teardown.
#pragma once

#include <windows.h>

#include "win32/handles.h"

namespace win32 {

// Keeps the thread to be waited for when the process exits; one that has ended is let go.
void leaveToFinish(Handle thread);

// Waits for the threads left, up to this long in all; called once, on the way out.
constexpr DWORD leftThreadsWaitMs = 1000;
void awaitLeftThreads(DWORD ms = leftThreadsWaitMs);

} // namespace win32
