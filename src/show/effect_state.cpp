#include "show/effect_state.h"

HWND effectWindow = nullptr;
int32_t surfaceWidth = 0;
int32_t surfaceHeight = 0;
bool screenSaverShow = false;
