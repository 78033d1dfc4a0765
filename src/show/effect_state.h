// State of the running show that the ripple window reads.
#pragma once

#include <windows.h>

#include <cstdint>

// The show's window, which receives the close requests.
extern HWND effectWindow;
// The size of the picture under the water; the rain falls inside it.
extern int32_t surfaceWidth;
extern int32_t surfaceHeight;
