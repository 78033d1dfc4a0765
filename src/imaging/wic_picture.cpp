#include "imaging/wic_picture.h"

#include <wincodec.h>

#include "imaging/picture_header.h"
#include "win32/dib.h"

win32::Bitmap LoadPictureWithImagingComponent(const uint8_t* data, DWORD length) {
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
        !fitsPictureBudget(width, height) ||
        // Premultiplied: what is transparent comes out black, as the show's margins are.
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), pixels.put()))) {
        return win32::Bitmap();
    }
    // Rows top first, as WIC gives them.
    const BITMAPINFO info =
        win32::dibDescription(static_cast<LONG>(width), -static_cast<LONG>(height), 32);
    void* bits = nullptr;
    win32::Bitmap bitmap = win32::makeDibSection(nullptr, info, bits);
    const UINT stride = width * 4;
    if (!bitmap ||
        FAILED(pixels->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        return win32::Bitmap();
    }
    return bitmap;
}
