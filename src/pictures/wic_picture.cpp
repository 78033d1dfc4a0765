#include "pictures/wic_picture.h"

#include <wincodec.h>

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "pictures/upright_bitmap.h"
#include "pictures/picture_header.h"
#include "win32/dib.h"

namespace {

// The source's pixels in a DIB section of their depth, rows top first as WIC gives them.
win32::Bitmap copiedIntoBitmap(IWICBitmapSource* source, UINT width, UINT height, WORD depth) {
    const UINT stride = (width * depth / 8 + 3) & ~3u;
    void* bits = nullptr;
    win32::Bitmap bitmap = win32::makeDibSection(
        nullptr, win32::dibDescription(static_cast<LONG>(width), -static_cast<LONG>(height), depth),
        bits);
    if (!bitmap ||
        FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        return win32::Bitmap();
    }
    return bitmap;
}

} // namespace

win32::Bitmap LoadPictureWithImagingComponent(const uint8_t* data, DWORD length, int orientation) {
    const win32::ComScope com;
    win32::ComPtr<IWICImagingFactory> factory;
    win32::ComPtr<IWICStream> stream;
    win32::ComPtr<IWICBitmapDecoder> decoder;
    win32::ComPtr<IWICBitmapFrameDecode> frame;
    win32::ComPtr<IWICBitmapSource> pixels;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), length)) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        !fitsPictureBudget(width, height)) {
        return win32::Bitmap();
    }
    WICPixelFormatGUID format{};
    if (orientation <= 1 && SUCCEEDED(frame->GetPixelFormat(&format)) &&
        IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        // A JPEG's own format, copied as it is: a conversion would cost another pass over it.
        return copiedIntoBitmap(frame.get(), width, height, 24);
    }
    // Premultiplied: what is transparent comes out black, as the show's margins are.
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), pixels.put()))) {
        return win32::Bitmap();
    }
    const UINT stride = width * 4;
    if (orientation <= 1) {
        return copiedIntoBitmap(pixels.get(), width, height, 32);
    }
    std::vector<uint32_t> stored;
    try {
        stored.resize(size_t(width) * height);
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
    if (FAILED(pixels->CopyPixels(nullptr, stride, stride * height,
                                  reinterpret_cast<BYTE*>(stored.data())))) {
        return win32::Bitmap();
    }
    return uprightBitmap(std::move(stored), width, height, orientation);
}
