// Lets a test program's windows live for a while: handles their messages for the given time.
#pragma once

#include <windows.h>

inline void pumpMessagesFor(DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}
