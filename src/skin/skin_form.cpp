#include "skin/skin_form.h"

#include <algorithm>
#include <map>
#include <optional>

#include "png/png_win32.h"

void initForm(SkinForm& form, HWND window) {
    form.window = window;
}

void registerPictureButton(SkinForm& form, PictureButton* button) {
    auto& buttons = form.pictureButtons;
    if (std::find(buttons.begin(), buttons.end(), button) == buttons.end()) {
        buttons.push_back(button);
    }
}

std::optional<ResourcePicture> decodePngResource(int resourceId) {
    OwnedPngDecoder decoder;
    if (!PngLoadResource(decoder.get(), GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)) ||
        !PngDecode(decoder.get())) {
        return std::nullopt;
    }
    ResourcePicture picture{PngCreateBitmap(decoder.get(), nullptr, PNG_FORMAT_DEFAULT, FALSE),
                            static_cast<int>(decoder->width), static_cast<int>(decoder->height)};
    if (!picture.bitmap) {
        return std::nullopt;
    }
    return picture;
}

const ResourcePicture* sharedPngResource(int resourceId) {
    // Decoded once and kept until the process ends, so that the controls showing them never
    // lose their bitmaps.
    static std::map<int, std::optional<ResourcePicture>> pictures;
    auto [entry, first] = pictures.try_emplace(resourceId);
    if (first) {
        entry->second = decodePngResource(resourceId);
    }
    return entry->second ? &*entry->second : nullptr;
}

void fitToBitmap(HWND control, HBITMAP bitmap) {
    const SIZE size = bitmapSize(bitmap);
    POINT corner{0, 0};
    MapWindowPoints(control, GetParent(control), &corner, 1);
    MoveWindow(control, corner.x, corner.y, size.cx, size.cy, TRUE);
}

void invalidateControl(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE);
}
