// The mark on the launcher's Default buttons: a letter where the language has one for the
// word ("D"), else a circling arrow ("↺") with the word in the button's tooltip. Dialog fonts
// that lack the arrow's glyph would draw a box, so the button then shows the arrow as an icon.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

// Whether the control's font has a glyph for every character of the text.
bool fontDrawsText(HWND control, const std::wstring& text);

// The circling arrow, size x size pixels, in the colour of a button's text, smoothed.
win32::Icon defaultMarkIcon(int size);
