// Program-wide state of the running show. The show's window (effectWindow), which the water
// reads too, is declared with the water's window.
#pragma once

#include "ripple/ripple_window.h"

// The show runs as the screen saver: settings from the program's folder, no error boxes (a
// picture or music that cannot be used falls back to the screen and silence), and any
// input ends it.
extern bool screenSaverShow;
