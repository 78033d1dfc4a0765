// Other programs' window events that may change what the water on the desktop shows, posted
// to a window of ours. Only the processes that matter are watched closely, so that windows
// moving elsewhere on the machine (and the pointer, which the system reports as an object
// that moves) never wake this program:
//   - any process: a window coming to the foreground, minimised or restored, or shown;
//   - the processes given (those with windows on the monitors): their top-level windows
//     hidden, destroyed, moved, resized, reordered, cloaked or uncloaked;
//   - the shell's process: any of its windows made, destroyed, shown, hidden or reordered,
//     its desktop's windows among them.
#pragma once

#include <windows.h>

#include <vector>

class WindowEvents {
  public:
    // coverMessage is posted for the first two kinds, shellMessage for the shell's.
    WindowEvents(HWND receiver, UINT coverMessage, UINT shellMessage);
    ~WindowEvents();
    WindowEvents(const WindowEvents&) = delete;
    WindowEvents& operator=(const WindowEvents&) = delete;

    // Watches these processes' top-level windows and the shell's process from now on.
    void watch(std::vector<DWORD> processes, DWORD shellProcess);

  private:
    struct Watched {
        DWORD process;
        std::vector<HWINEVENTHOOK> hooks;
    };
    HWINEVENTHOOK hook(DWORD first, DWORD last, DWORD process, UINT message, bool topLevelOnly);
    std::vector<HWINEVENTHOOK> hooksOf(DWORD process, bool shell);
    void unhook(std::vector<HWINEVENTHOOK>& hooks);

    HWND receiver_;
    UINT coverMessage_;
    UINT shellMessage_;
    std::vector<HWINEVENTHOOK> everywhere_;
    std::vector<Watched> watched_;
    Watched shell_{0, {}};
};
