#include "app/screen_saver.h"

#include <utility>
#include <vector>

#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "pictures/screen_pictures.h"
#include "show/background.h"
#include "show/folder_pictures.h"
#include "show/picture_changer.h"
#include "show/show.h"
#include "pictures/placement.h"
#include "win32/bitmap_size.h"
#include "win32/handles.h"

namespace {

constexpr UINT previewCheckIntervalMs = 250;

// The screen, or the chosen picture when it loads (a folder's first), at the given size.
win32::Bitmap previewPicture(const Settings& settings, int32_t width, int32_t height) {
    win32::Bitmap picture;
    if (settings.backgroundKind == BackgroundKind::folder) {
        std::vector<Canvas> hand =
            PictureChanger(settings.background, {SIZE{width, height}}, settings.placement)
                .firstHand();
        if (!hand.empty()) {
            return std::move(hand.front().bitmap);
        }
    } else if (settings.backgroundKind == BackgroundKind::file) {
        // Made for the small window as for a monitor of its size where it is scaled down (a
        // photo then decoded at an eighth of its size or so).
        ScreenPictures shown = loadScreenPictures(settings.background.c_str(),
                                                  {SIZE{width, height}}, settings.placement);
        if (shown.placed) {
            return std::move(shown.pictures.front());
        }
        if (!shown.pictures.empty()) {
            picture = std::move(shown.pictures.front());
        }
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
    PicturePlacement place = placePicture(size.cx, size.cy, width, height, settings.placement);
    place.stretch = !place.scaled;
    return placedPicture(picture.get(), width, height, place).made;
}

} // namespace

int runScreenSaver(HINSTANCE instance) {
    Show show({ShowHost::screenSaver, {}, nullptr, {}});
    return static_cast<int>(show.run(instance));
}

int runPreview(HINSTANCE instance, HWND parent) {
    RECT client{};
    if (!IsWindow(parent) || !GetClientRect(parent, &client) || client.right <= 0 ||
        client.bottom <= 0 || client.right > 0xFFFF || client.bottom > 0xFFFF) {
        return 1;
    }
    const Settings settings = loadScreenSaverSettings();
    // The water draws with its parent's device context, which a window of another program
    // cannot lend: a black frame of this program's own holds it.
    const HWND preview = CreateWindowExA(
        0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_BLACKRECT, 0, 0,
        client.right, client.bottom, parent, nullptr, instance, nullptr);
    const win32::Bitmap picture = previewPicture(settings, client.right, client.bottom);
    RippleOptions quiet; // no ripples of the pointer, no activation, nothing to tell
    quiet.rain = rainAmountFor(settings.rain);
    quiet.pointerRipples = false;
    quiet.takesActivation = false;
    if (preview == nullptr ||
        createRippleSurface(0, 0, client.right, client.bottom, IDC_WATER, preview, instance,
                            picture.get(), quiet) == nullptr) {
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
