// State of the running show that the ripple window reads.
#pragma once

#include <windows.h>

#include <cstdint>

// The show's window, which receives the close requests.
extern HWND effectWindow;
// The size of the picture under the water; the rain falls inside it.
extern int32_t surfaceWidth;
extern int32_t surfaceHeight;

// The show runs as the screen saver: settings from the program's folder, no error boxes (a
// picture or music that cannot be used falls back to the screen and silence), and any
// input ends it.
extern bool screenSaverShow;
