// A control of a dialog template drawn as a picture with one line of text written over it;
// the text can be replaced at any time. A click still reaches the dialog as a WM_COMMAND
// with the control's identifier.
#pragma once

#include <windows.h>

#include <string>

#include "skin/skin_form.h"
#include "win32/handles.h"

struct PictureLabel {
    bool textPending = false; // the next paint draws the text, then clears this
    std::string text;         // UTF-8
    bool rightToLeft = false; // read right to left, from the text area's right edge
    COLORREF colour = 0;
    RECT textRect{};      // in control pixels
    HFONT font = nullptr; // null: the device context's default font
    HBITMAP picture = nullptr;
    win32::OwnedDc pictureContext; // holds the picture selected while the label is attached
    int width = 0;
    int height = 0;
    HWND window = nullptr;
};

// Attaches the label to the control of the form's dialog with the RCDATA picture. Returns the
// control, or null when the picture or the control is missing (the control stays as it was).
// The label is not registered with the form.
HWND addPictureLabel(SkinForm& form, PictureLabel& label, int controlId, int resourceId);

// Binds the label to the control, sizes the control to the picture and subclasses it. A
// memory context made at an earlier attach is deleted first. Returns the control.
HWND attachPictureLabel(PictureLabel& label, HWND control, HBITMAP picture);

// From the middle of the picture's top edge, 10 pixels down, to its bottom-right corner.
RECT textRectFor(HBITMAP picture);

// Replaces the text; colour and font change only when both are non-zero.
void setLabelText(PictureLabel& label, const std::string& text, COLORREF colour, HFONT font);
void setTextOrigin(PictureLabel& label, int left, int top);

LRESULT pictureLabelProc(PictureLabel& label, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam);
