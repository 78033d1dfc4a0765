#include "app/screen_saver.h"

#include <utility>
#include <vector>

#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/background.h"
#include "show/folder_pictures.h"
#include "show/picture_changer.h"
#include "show/show_dialog.h"
#include "show/show_state.h"
#include "show/placement.h"
#include "text/text.h"
#include "win32/bitmap_size.h"
#include "win32/handles.h"

namespace {

constexpr UINT previewCheckIntervalMs = 250;

// The screen, or the chosen picture when it loads (a folder's first), at the given size.
win32::Bitmap previewPicture(int32_t width, int32_t height) {
    win32::Bitmap picture;
    if (!isNull(bgSetting) && isFolder(bgSetting)) {
        std::vector<Canvas> hand =
            PictureChanger(bgSetting, {SIZE{width, height}}, fitscreenSetting).firstHand();
        if (!hand.empty()) {
            return std::move(hand.front().bitmap);
        }
    } else if (!isNull(bgSetting)) {
        picture = loadBackground(bgSetting.c_str());
    }
    if (!picture) {
        picture = captureScreen();
    }
    if (!picture) {
        return picture;
    }
    // Shaped as the show shapes it when the setting keeps the picture's shape; stretched over
    // the small window otherwise.
    const SIZE size = bitmapSize(picture.get());
    PicturePlacement place = placePicture(size.cx, size.cy, width, height, fitscreenSetting);
    place.stretch = !place.scaled;
    return placedPicture(picture.get(), width, height, place).made;
}

} // namespace

int runScreenSaver(HINSTANCE instance) {
    screenSaverShow = true;
    rippleInput = RippleInput::endOnInput;
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SHOW), nullptr, effectDialogProc, 0));
}

int runPreview(HINSTANCE instance, HWND parent) {
    rippleInput = RippleInput::none;
    RECT client{};
    if (!IsWindow(parent) || !GetClientRect(parent, &client) || client.right <= 0 ||
        client.bottom <= 0 || client.right > 0xFFFF || client.bottom > 0xFFFF) {
        return 1;
    }
    loadScreenSaverSettings();
    // The water draws with its parent's device context, which a window of another program
    // cannot lend: a black frame of this program's own holds it.
    const HWND preview = CreateWindowExA(
        0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_BLACKRECT, 0, 0,
        client.right, client.bottom, parent, nullptr, instance, nullptr);
    const win32::Bitmap picture = previewPicture(client.right, client.bottom);
    if (preview == nullptr || createRippleSurface(0, 0, client.right, client.bottom, IDC_WATER,
                                                  preview, instance, picture.get()) == nullptr) {
        return 1;
    }
    // The parent belongs to another program: look every so often whether it is still there,
    // since nothing else may wake this loop once the preview's timers are gone.
    const UINT_PTR check = SetTimer(nullptr, 0, previewCheckIntervalMs, nullptr);
    MSG message;
    while (IsWindow(preview) && IsWindow(parent) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, check);
    if (IsWindow(preview)) {
        DestroyWindow(preview); // and the water with it, which frees its surface
    }
    return 0;
}
