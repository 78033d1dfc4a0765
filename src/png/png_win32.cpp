#include "png/png_win32.h"

#include <memory>
#include <new>

#include "png/png_internal.h"
#include "png/png_pixels.h"

uint32_t PngLoadResource(PngDecoder* decoder, HMODULE module, LPCSTR name) {
    if (pngIsBusy(decoder)) {
        return 0;
    }
    decoder->lastError = PNG_OK;
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
    if (found == nullptr) {
        decoder->lastError = PNG_ERR_RESOURCE_NOT_FOUND;
        return 0;
    }
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    if (loaded == nullptr || size == 0) {
        decoder->lastError = PNG_ERR_RESOURCE_LOAD;
        return 0;
    }
    const auto* data = static_cast<const uint8_t*>(LockResource(loaded));
    return pngLoadInPlace(decoder, data, size, PNG_SOURCE_RESOURCE);
}

win32::Bitmap PngCreateBitmap(PngDecoder* decoder, HWND window, uint32_t format,
                              BOOL deviceDependent) {
    PngBitmapInfo description;
    uint32_t descriptor = 0;
    if (!PngPrepareBitmap(decoder, format, &description, &descriptor)) {
        return win32::Bitmap();
    }
    static_assert(sizeof(BITMAPINFOHEADER) == sizeof(BitmapInfoHeader));
    const auto* info = reinterpret_cast<const BITMAPINFO*>(&description);
    const win32::WindowDc dc(window);

    if (!deviceDependent) {
        void* bits = nullptr;
        win32::Bitmap bitmap(CreateDIBSection(dc.get(), info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap) {
            decoder->lastError = PNG_ERR_BITMAP;
            return win32::Bitmap();
        }
        if (!PngConvertRows(decoder, static_cast<uint8_t*>(bits), descriptor)) {
            return win32::Bitmap();
        }
        return bitmap;
    }

    const uint64_t size =
        pngBitmapStride(decoder->width, description.header.biBitCount) * decoder->height;
    std::unique_ptr<uint8_t[]> bits(size <= SIZE_MAX ? new (std::nothrow) uint8_t[size_t(size)]()
                                                     : nullptr);
    if (bits == nullptr) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return win32::Bitmap();
    }
    if (!PngConvertRows(decoder, bits.get(), descriptor)) {
        return win32::Bitmap();
    }
    win32::Bitmap bitmap(
        CreateDIBitmap(dc.get(), &info->bmiHeader, CBM_INIT, bits.get(), info, DIB_RGB_COLORS));
    if (!bitmap) {
        decoder->lastError = PNG_ERR_BITMAP;
    }
    return bitmap;
}
