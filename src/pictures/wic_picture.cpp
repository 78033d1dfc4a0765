#include "pictures/wic_picture.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "pictures/upright_bitmap.h"
#include "pictures/picture_header.h"
#include "win32/dib.h"

namespace {

// Copies the source's rows into pixels of the stride a band at a time (a decoder decodes as
// it is asked), looking at stop between bands; false when a copy fails or stop turned true.
bool copyRows(IWICBitmapSource* source, UINT width, UINT height, UINT stride, BYTE* pixels,
              const std::atomic<bool>* stop) {
    constexpr UINT bandRows = 256;
    for (UINT top = 0; top < height; top += bandRows) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            return false;
        }
        const UINT rows = std::min(bandRows, height - top);
        const WICRect band{0, INT(top), INT(width), INT(rows)};
        if (FAILED(
                source->CopyPixels(&band, stride, stride * rows, pixels + size_t(top) * stride))) {
            return false;
        }
    }
    return true;
}

// The source's pixels in a DIB section of their depth, rows top first as WIC gives them.
win32::Bitmap copiedIntoBitmap(IWICBitmapSource* source, UINT width, UINT height, WORD depth,
                               const std::atomic<bool>* stop) {
    const UINT stride = (width * depth / 8 + 3) & ~3u;
    void* bits = nullptr;
    win32::Bitmap bitmap = win32::makeDibSection(
        nullptr, win32::dibDescription(static_cast<LONG>(width), -static_cast<LONG>(height), depth),
        bits);
    if (!bitmap || !copyRows(source, width, height, stride, static_cast<BYTE*>(bits), stop)) {
        return win32::Bitmap();
    }
    return bitmap;
}

} // namespace

win32::Bitmap LoadPictureWithImagingComponent(const uint8_t* data, DWORD length, int orientation,
                                              const std::atomic<bool>* stop) {
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
        return copiedIntoBitmap(frame.get(), width, height, 24, stop);
    }
    // Premultiplied: what is transparent comes out black, as the show's margins are.
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), pixels.put()))) {
        return win32::Bitmap();
    }
    const UINT stride = width * 4;
    if (orientation <= 1) {
        return copiedIntoBitmap(pixels.get(), width, height, 32, stop);
    }
    std::vector<uint32_t> stored;
    try {
        stored.resize(size_t(width) * height);
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
    if (!copyRows(pixels.get(), width, height, stride, reinterpret_cast<BYTE*>(stored.data()),
                  stop)) {
        return win32::Bitmap();
    }
    return uprightBitmap(std::move(stored), width, height, orientation);
}
