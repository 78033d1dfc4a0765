#include "skin/picture_label.h"

#include "win32/wide.h"

#include <commctrl.h>

#include "win32/handles.h"

namespace {

LRESULT CALLBACK pictureLabelEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR label) {
    return pictureLabelProc(*reinterpret_cast<PictureLabel*>(label), window, message, wParam,
                            lParam);
}

// Drawn off-screen and copied in one piece, so the text never flickers over a half-drawn
// picture.
void paintLabel(PictureLabel& label, HWND window) {
    const win32::PaintScope paint(window);
    const win32::OwnedDc memory = win32::memoryDcFor(paint.dc());
    const win32::GdiObject<HBITMAP> image(
        CreateCompatibleBitmap(paint.dc(), label.width, label.height));
    // Restored before the image is deleted, which a context that holds it would refuse.
    const win32::SavedDcState saved(memory.get());
    SelectObject(memory.get(), image.get());
    BitBlt(memory.get(), 0, 0, label.width, label.height, label.pictureContext.get(), 0, 0,
           SRCCOPY);
    if (label.textPending) {
        if (label.font != nullptr) {
            SelectObject(memory.get(), label.font);
        }
        SetTextColor(memory.get(), label.colour);
        SetBkMode(memory.get(), TRANSPARENT);
        const std::wstring text = win32::widen(label.text);
        DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &label.textRect,
                  DT_NOPREFIX | (label.rightToLeft ? DT_RIGHT | DT_RTLREADING : 0));
        label.textPending = false;
    }
    BitBlt(paint.dc(), 0, 0, label.width, label.height, memory.get(), 0, 0, SRCCOPY);
}

} // namespace

HWND addPictureLabel(SkinForm& form, PictureLabel& label, int controlId, int resourceId) {
    const ResourcePicture* picture = sharedPngResource(resourceId);
    if (picture == nullptr) {
        return nullptr;
    }
    HWND control = GetDlgItem(form.window, controlId);
    if (control == nullptr) {
        return nullptr;
    }
    return attachPictureLabel(label, control, picture->bitmap.get());
}

HWND attachPictureLabel(PictureLabel& label, HWND control, HBITMAP picture) {
    label.window = control;
    label.picture = picture;
    // A bitmap can be selected into one context at a time: the context of an earlier
    // attach goes first. The current one lives until the next attach or the process ends.
    label.pictureContext.reset();
    label.pictureContext = win32::memoryDcFor(win32::WindowDc(nullptr).get());
    SelectObject(label.pictureContext.get(), picture);
    label.textRect = textRectFor(picture);
    label.width = label.textRect.right;
    label.height = label.textRect.bottom;
    fitToBitmap(control, picture);
    invalidateControl(control);
    // Each control keeps its own earlier procedure; attaching again only changes the label.
    SetWindowSubclass(control, pictureLabelEntry, 0, reinterpret_cast<DWORD_PTR>(&label));
    return control;
}

RECT textRectFor(HBITMAP picture) {
    const SIZE size = bitmapSize(picture);
    return {size.cx / 2, 10, size.cx, size.cy};
}

void setLabelText(PictureLabel& label, const std::string& text, COLORREF colour, HFONT font) {
    if (colour != 0 && font != nullptr) {
        label.colour = colour;
        label.font = font;
    }
    label.text = text;
    label.textPending = true;
    if (label.window != nullptr) {
        invalidateControl(label.window);
    }
}

void setTextOrigin(PictureLabel& label, int left, int top) {
    label.textRect.left = left;
    label.textRect.top = top;
}

LRESULT pictureLabelProc(PictureLabel& label, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    if (message == WM_PAINT) {
        paintLabel(label, window);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
