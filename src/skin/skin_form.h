// The form side of the skinned controls: the dialog a set of picture controls belongs to,
// the registry of its picture buttons, and the two services every picture control uses.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "win32/bitmap_size.h"
#include "win32/handles.h"

struct PictureButton;

struct SkinForm {
    HWND window = nullptr;
    // Every picture button attached to the form, each once, in the order of attaching. The
    // buttons are the panel's own objects; the form does not own them.
    std::vector<PictureButton*> pictureButtons;
};

// Binds the form to a newly created dialog; earlier registrations stay.
void initForm(SkinForm& form, HWND window);

// The dialog's answer to WM_CTLCOLORSTATIC and WM_CTLCOLOREDIT: 1 for every control, with the
// device context left as it is (no control of a skinned form has colours of its own).
inline constexpr INT_PTR answerCtlColor() {
    return 1;
}

// Adds the button to the registry unless it is there already.
void registerPictureButton(SkinForm& form, PictureButton* button);

struct ResourcePicture {
    win32::Bitmap bitmap;
    int width = 0;
    int height = 0;
};

// Decodes an RCDATA PNG of the program into a new top-down DIB section; nothing when it
// cannot be decoded, and then the control keeps its template's size.
std::optional<ResourcePicture> decodePngResource(int resourceId);

// The picture of an RCDATA PNG, decoded at its first use and kept until the process ends, so
// that every opening of a panel shows the same bitmaps. Null when it cannot be decoded.
const ResourcePicture* sharedPngResource(int resourceId);

// Gives the control the bitmap's pixel size at its current place in its parent.
void fitToBitmap(HWND control, HBITMAP bitmap);

// Marks the whole control for repainting.
void invalidateControl(HWND control);
