#include "show/background.h"

#include "imaging/inflate.h"
#include "imaging/picture_file.h"
#include "imaging/picture_header.h"
#include "imaging/png_win32.h"
#include "settings/settings_store.h"
#include "show/file_extension.h"
#include "show/path_limit.h"
#include "win32/handles.h"

HBITMAP captureScreen() {
    const win32::OwnedDc display(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    const win32::OwnedDc memory = win32::memoryDcFor(display.get());
    const int width = GetDeviceCaps(display.get(), HORZRES);
    const int height = GetDeviceCaps(display.get(), VERTRES);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP capture = CreateDIBSection(display.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (capture != nullptr) {
        const win32::Selection selected(memory.get(), capture);
        BitBlt(memory.get(), 0, 0, width, height, display.get(), 0, 0, SRCCOPY);
    }
    return capture;
}

HBITMAP stretchBitmap(HBITMAP source, uint16_t width, uint16_t height) {
    BITMAP size{};
    if (GetObjectA(source, sizeof(size), &size) == 0) {
        return nullptr;
    }
    HBITMAP target;
    {
        const win32::WindowDc screen(nullptr);
        target = CreateCompatibleBitmap(screen.get(), width, height);
    }
    if (target == nullptr) {
        return nullptr;
    }
    const win32::OwnedDc from = win32::memoryDcFor(nullptr);
    const win32::OwnedDc to = win32::memoryDcFor(nullptr);
    const win32::Selection fromSelected(from.get(), source);
    const win32::Selection toSelected(to.get(), target);
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, size.bmWidth, size.bmHeight,
               SRCCOPY);
    return target;
}

HBITMAP loadPngBitmap(const char* path) {
    PngDecoder decoder;
    PngInit(&decoder);
    if (!PngLoadFile(&decoder, path)) {
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    // The header's size is checked before anything is inflated: a small file may declare a
    // picture of billions of pixels.
    if (fitsPictureBudget(decoder.width, decoder.height) && PngDecode(&decoder)) {
        bitmap = PngCreateBitmap(&decoder, nullptr, PNG_FORMAT_DEFAULT, FALSE);
    }
    PngRelease(&decoder);
    return bitmap;
}

HBITMAP loadBackground(const char* path) {
    if (!fitsPathLimit(path)) {
        return nullptr;
    }
    if (equalsIgnoringAsciiCase(extensionOf(path), "png")) {
        return loadPngBitmap(path);
    }
    return LoadPictureFile(path);
}
