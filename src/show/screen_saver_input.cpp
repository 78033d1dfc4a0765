#include "show/screen_saver_input.h"

#include <windowsx.h>

#include <cstdlib>

void ScreenSaverInput::start() {
    GetCursorPos(&atStart_);
    firstMove_.reset();
}

// Moves are measured from the first one that reports another place than the start: Wine
// knows where the pointer is only once it has moved over one of its windows, and reports a
// stale place until then, for example in the move sent when the show's window appears.
bool ScreenSaverInput::pointerMovedAway() {
    const DWORD position = GetMessagePos(); // for the message being handled
    const POINT now{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (!firstMove_) {
        if (now.x != atStart_.x || now.y != atStart_.y) {
            firstMove_ = now;
        }
        return false;
    }
    return std::abs(now.x - firstMove_->x) > pointerSlackPixels ||
           std::abs(now.y - firstMove_->y) > pointerSlackPixels;
}

bool ScreenSaverInput::ends(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    case WM_MOUSEMOVE:
        return pointerMovedAway();
    default:
        return false;
    }
}
