#include "show/effect_state.h"

bool screenSaverShow = false;
