// A push button of a dialog template drawn from pictures: a resting picture, a hover picture
// while the pointer moves over it and a pressed picture while the left button is held on it.
// The button keeps the platform's click handling, so a click still reaches the dialog as a
// WM_COMMAND with the control's identifier.
#pragma once

#include <windows.h>

#include "skin/skin_form.h"

struct PictureButton {
    HBITMAP normal = nullptr;
    HBITMAP hover = nullptr;
    HBITMAP pressed = nullptr; // the normal picture when there is no pressed one
    HBITMAP current = nullptr; // what the next paint shows
    bool released = true;      // the left button is not held on the control
    HWND window = nullptr;
};

// Attaches the button to the control of the form's dialog with the given RCDATA pictures
// (pressedId 0: none) and registers it with the form. A picture that cannot be loaded or a
// missing control leaves the control as the template made it.
void addPictureButton(SkinForm& form, PictureButton& button, int controlId, int normalId,
                      int hoverId, int pressedId);

// Binds the button to the control in its resting look, sizes the control to the normal
// picture and subclasses it. Returns the control.
HWND attachPictureButton(PictureButton& button, HWND control, HBITMAP normal, HBITMAP hover,
                         HBITMAP pressed);

LRESULT pictureButtonProc(PictureButton& button, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam);

// Back to the resting picture.
void resetPictureButton(PictureButton& button);

// Puts every picture button registered with the form back to its resting picture.
void resetControls(SkinForm& form);
