// The times nobody sees the desktop: the session locked, disconnected or shown remotely, the
// displays off, the battery saver on, the machine going to sleep. Windows tells a window of
// each as it comes and goes; nothing is polled.
#pragma once

#include <windows.h>

class QuietTimes {
  public:
    // Asks for the session's and the power's notices to the window.
    explicit QuietTimes(HWND window);
    ~QuietTimes();
    QuietTimes(const QuietTimes&) = delete;
    QuietTimes& operator=(const QuietTimes&) = delete;

    // Takes a message the window received; true when it changed whether it is quiet.
    bool take(UINT message, WPARAM wParam, LPARAM lParam);

    bool quiet() const { return reasons_ != 0; }

  private:
    enum Reason : unsigned {
        locked = 1,
        disconnected = 2,
        remote = 4,
        displaysOff = 8,
        batterySaver = 16,
        asleep = 32,
    };
    void set(Reason reason, bool on);

    HWND window_;
    unsigned reasons_ = 0;
    HPOWERNOTIFY displayNotice_ = nullptr;
    HPOWERNOTIFY saverNotice_ = nullptr;
    bool sessionNotices_ = false;
};
