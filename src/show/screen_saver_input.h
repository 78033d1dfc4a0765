// When input ends a screen saver: any key, any mouse button or the wheel, or the pointer
// moving more than a few pixels from where it was.
#pragma once

#include <windows.h>

#include <optional>

// How far the pointer may move from where it was at the start before a screen saver ends.
inline constexpr int pointerSlackPixels = 4;

class ScreenSaverInput {
  public:
    // Notes where the pointer is said to be as a screen saver starts.
    void start();
    // Whether the message, being handled now, ends the screen saver.
    bool ends(UINT message);

  private:
    bool pointerMovedAway();

    // Where the pointer was said to be when the show started, and where it was at the first
    // move away from there, once there has been one.
    POINT atStart_{};
    std::optional<POINT> firstMove_;
};
