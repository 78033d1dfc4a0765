#include "skin/picture_button.h"

#include <commctrl.h>

#include "win32/handles.h"

namespace {

LRESULT CALLBACK pictureButtonEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR button) {
    return pictureButtonProc(*reinterpret_cast<PictureButton*>(button), window, message, wParam,
                             lParam);
}

void paintPicture(HWND window, HBITMAP picture) {
    const win32::PaintScope paint(window);
    const win32::OwnedDc memory = win32::memoryDcFor(paint.dc());
    const win32::Selection selected(memory.get(), picture);
    const SIZE size = bitmapSize(picture);
    BitBlt(paint.dc(), 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

} // namespace

void addPictureButton(SkinForm& form, PictureButton& button, int controlId, int normalId,
                      int hoverId, int pressedId) {
    const ResourcePicture* normal = sharedPngResource(normalId);
    const ResourcePicture* hover = sharedPngResource(hoverId);
    const ResourcePicture* pressed = pressedId != 0 ? sharedPngResource(pressedId) : nullptr;
    if (normal == nullptr || hover == nullptr || (pressedId != 0 && pressed == nullptr)) {
        return;
    }
    HWND control = GetDlgItem(form.window, controlId);
    if (control == nullptr) {
        return;
    }
    attachPictureButton(button, control, normal->bitmap.get(), hover->bitmap.get(),
                        pressed ? pressed->bitmap.get() : nullptr);
    registerPictureButton(form, &button);
}

HWND attachPictureButton(PictureButton& button, HWND control, HBITMAP normal, HBITMAP hover,
                         HBITMAP pressed) {
    button.normal = normal;
    button.hover = hover;
    button.pressed = pressed != nullptr ? pressed : normal;
    button.released = true;
    button.window = control;
    fitToBitmap(control, normal);
    button.current = normal;
    invalidateControl(control);
    // Each control keeps its own earlier procedure; attaching again only changes the button.
    SetWindowSubclass(control, pictureButtonEntry, 0, reinterpret_cast<DWORD_PTR>(&button));
    return control;
}

LRESULT pictureButtonProc(PictureButton& button, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        // The update region is validated here, so the button's own painting that follows
        // draws nothing.
        paintPicture(window, button.current);
        break;
    case WM_MOUSEMOVE:
        if (button.released) {
            button.current = button.hover;
            invalidateControl(window);
        }
        break;
    case WM_LBUTTONDOWN:
        button.released = false;
        button.current = button.pressed;
        invalidateControl(window);
        break;
    case WM_LBUTTONUP:
        button.released = true;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void resetPictureButton(PictureButton& button) {
    button.current = button.normal;
    invalidateControl(button.window);
}

void resetControls(SkinForm& form) {
    for (PictureButton* button : form.pictureButtons) {
        resetPictureButton(*button);
    }
}
