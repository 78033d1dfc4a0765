#include "show/show_state.h"

bool screenSaverShow = false;
