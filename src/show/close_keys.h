// The close keys belong to the show while it runs, whichever window has the keyboard: a
// music player that opens a window of its own often takes the focus, on Windows by
// activating itself and under Wine by taking the X input focus.
#pragma once

#include <windows.h>

// Backspace, Enter, Escape, the input method's accept key (30), Space and End end the show.
inline constexpr UINT closeKeys[] = {VK_BACK, VK_RETURN, VK_ESCAPE, VK_ACCEPT, VK_SPACE, VK_END};
bool isCloseKey(WPARAM virtualKey);

// Keeps other programs, the music player among them, from taking the foreground from this
// one with SetForegroundWindow. Wine does not restrict SetForegroundWindow either way.
void lockForeground();

// Registers every close key as a hot key of the show's window, so that pressing one posts it
// WM_HOTKEY wherever the focus is. Held only once no box of the show's start-up can need
// Enter. A key that another program holds already is left to the show's own key handling.
void holdCloseKeys(HWND show);

// Gives the keys and the foreground back; harmless when nothing is held.
void releaseCloseKeys(HWND show);

// Whether a WM_HOTKEY identifier is one of the close keys.
bool isCloseHotKey(WPARAM id);
