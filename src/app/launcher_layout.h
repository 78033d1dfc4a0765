// Where the launcher's controls stand: its rows of a label and a field, list or buttons, and
// its row of buttons, measured round the texts they show in the dialog's font at its pixels
// per inch. A longer label moves the fields right, a longer list entry or button text widens
// the dialog; the English texts at 100 % give the layout of the dialog's template.
#pragma once

#include <windows.h>

// Places every control of the launcher and sizes the dialog round them, its centre kept.
void layOutLauncher(HWND dialog);
