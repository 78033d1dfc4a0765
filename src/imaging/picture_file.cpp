#include "imaging/picture_file.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "imaging/exif_orientation.h"
#include "imaging/picture_header.h"
#include "win32/bitmap_size.h"
#include "win32/handles.h"
#include "win32/wide.h"

win32::Bitmap LoadPictureFromMemory(HGLOBAL block, DWORD length) {
    if (length == 0) {
        return win32::Bitmap();
    }
    win32::ComPtr<IStream> stream;
    const HRESULT made = CreateStreamOnHGlobal(block, FALSE, stream.put());
    if (made == E_INVALIDARG || made == E_OUTOFMEMORY || stream.get() == nullptr) {
        return win32::Bitmap();
    }
    win32::ComPtr<IPicture> picture;
    const HRESULT loaded = OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(picture.put()));
    if (loaded == E_UNEXPECTED || loaded == E_OUTOFMEMORY || loaded == E_POINTER ||
        loaded == E_NOINTERFACE || picture.get() == nullptr) {
        return win32::Bitmap();
    }
    short type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) {
        return win32::Bitmap();
    }
    OLE_HANDLE handle = 0;
    const HRESULT got = picture->get_Handle(&handle);
    if (got == E_FAIL || got == E_OUTOFMEMORY || got == E_POINTER) {
        return win32::Bitmap();
    }
    // A copy, so that the bitmap outlives the picture object.
    return win32::Bitmap(
        static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                       IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG)));
}

namespace {

// The picture turned upright as a photo's orientation says, as a 32-bit DIB section; the
// picture as it is when there is nothing to turn or the turn cannot be made.
win32::Bitmap turnedUpright(win32::Bitmap picture, int orientation) {
    const SIZE size = bitmapSize(picture.get());
    if (orientation <= 1 || size.cx <= 0 || size.cy <= 0) {
        return picture;
    }
    const auto width = static_cast<uint32_t>(size.cx);
    const auto height = static_cast<uint32_t>(size.cy);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(width) * height);
    const win32::WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), picture.get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS) !=
        size.cy) {
        return picture;
    }
    const std::vector<uint32_t> turned = orientPixels(pixels, width, height, orientation);
    if (orientationSwapsSides(orientation)) {
        info.bmiHeader.biWidth = size.cy;
        info.bmiHeader.biHeight = -size.cx;
    }
    void* bits = nullptr;
    win32::Bitmap upright(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!upright || bits == nullptr) {
        return picture;
    }
    std::memcpy(bits, turned.data(), turned.size() * sizeof(uint32_t));
    return upright;
}

} // namespace

win32::Bitmap LoadPictureFile(const char* path) {
    const win32::Handle file(CreateFileW(win32::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > maxPictureFileBytes) {
        return win32::Bitmap();
    }
    const auto length = static_cast<DWORD>(size.QuadPart);
    // The signature first: a file of another kind is refused before it is read whole.
    uint8_t start[16] = {};
    DWORD read = 0;
    const DWORD startLength = length < sizeof(start) ? length : DWORD(sizeof(start));
    if (!ReadFile(file.get(), start, startLength, &read, nullptr) || read != startLength) {
        return win32::Bitmap();
    }
    const PictureFormat format = pictureFormatOf(start, startLength);
    if (format != PictureFormat::jpeg && format != PictureFormat::gif &&
        format != PictureFormat::bmp) {
        return win32::Bitmap();
    }
    const win32::GlobalMemory block(GlobalAlloc(GMEM_FIXED, length));
    auto* bytes = static_cast<uint8_t*>(block.get()); // a fixed block is its own address
    if (bytes == nullptr) {
        return win32::Bitmap();
    }
    std::memcpy(bytes, start, startLength);
    if (!ReadFile(file.get(), bytes + startLength, length - startLength, &read, nullptr) ||
        read != length - startLength) {
        return win32::Bitmap();
    }
    PictureDimensions dimensions;
    if (!readPictureDimensions(bytes, length, dimensions) ||
        !fitsPictureBudget(dimensions.width, dimensions.height)) {
        return win32::Bitmap();
    }
    // Photos from phones and cameras stand upright as their EXIF data says.
    const int orientation = format == PictureFormat::jpeg ? jpegOrientation(bytes, length) : 1;
    return turnedUpright(LoadPictureFromMemory(block.get(), length), orientation);
}
