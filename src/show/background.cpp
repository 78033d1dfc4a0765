#include "show/background.h"

#include "imaging/inflate.h"
#include "imaging/picture_file.h"
#include "imaging/png_win32.h"
#include "settings/settings_store.h"
#include "show/file_extension.h"

HBITMAP captureScreen() {
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = CreateCompatibleDC(display);
    const int width = GetDeviceCaps(display, HORZRES);
    const int height = GetDeviceCaps(display, VERTRES);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP capture = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (capture != nullptr) {
        HGDIOBJ previous = SelectObject(memory, capture);
        BitBlt(memory, 0, 0, width, height, display, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    DeleteDC(display);
    return capture;
}

HBITMAP stretchBitmap(HBITMAP source, uint16_t width, uint16_t height) {
    BITMAP size{};
    if (GetObjectA(source, sizeof(size), &size) == 0) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (target == nullptr) {
        return nullptr;
    }
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ previousFrom = SelectObject(from, source);
    HGDIOBJ previousTo = SelectObject(to, target);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, previousFrom);
    SelectObject(to, previousTo);
    DeleteDC(from);
    DeleteDC(to);
    return target;
}

HBITMAP loadPngBitmap(const char* path) {
    PngDecoder decoder;
    PngInit(&decoder);
    if (!PngLoadFile(&decoder, path)) {
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    if (PngDecode(&decoder)) {
        bitmap = PngCreateBitmap(&decoder, nullptr, PNG_FORMAT_DEFAULT, FALSE);
    }
    PngRelease(&decoder);
    return bitmap;
}

HBITMAP loadBackground(const char* path) {
    if (equalsIgnoringAsciiCase(extensionOf(path), "png")) {
        return loadPngBitmap(path);
    }
    return LoadPictureFile(path);
}
