#include "show/close_keys.h"

#include <algorithm>
#include <iterator>

namespace {

// Identifiers 1 to 6, one for each close key in order.
constexpr int firstHotKeyId = 1;
constexpr int hotKeyCount = static_cast<int>(std::size(closeKeys));

} // namespace

bool isCloseKey(WPARAM virtualKey) {
    return std::find(std::begin(closeKeys), std::end(closeKeys), virtualKey) != std::end(closeKeys);
}

void lockForeground() {
    LockSetForegroundWindow(LSFW_LOCK); // only the foreground process may lock
}

void holdCloseKeys(HWND show) {
    for (int i = 0; i < hotKeyCount; ++i) {
        RegisterHotKey(show, firstHotKeyId + i, MOD_NOREPEAT, closeKeys[i]);
    }
}

void releaseCloseKeys(HWND show) {
    for (int i = 0; i < hotKeyCount; ++i) {
        UnregisterHotKey(show, firstHotKeyId + i);
    }
    LockSetForegroundWindow(LSFW_UNLOCK);
}

bool isCloseHotKey(WPARAM id) {
    return id >= WPARAM(firstHotKeyId) && id < WPARAM(firstHotKeyId + hotKeyCount);
}
