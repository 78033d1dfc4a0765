#include "pictures/picture_file.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <new>
#include <utility>
#include <cstring>
#include <vector>

#include "jpeg/jpeg_picture.h"
#include "pictures/exif_orientation.h"
#include "pictures/upright_bitmap.h"
#include "pictures/picture_header.h"
#include "win32/bitmap_size.h"
#include "win32/dib.h"
#include "win32/handles.h"
#include "win32/read_only_file.h"

namespace {

// The picture service's object for a picture in a global memory block, which it has read
// whole once this returns; null for an undecodable picture and for one that is not a bitmap.
win32::ComPtr<IPicture> loadPictureObject(HGLOBAL block, DWORD length) {
    win32::ComPtr<IPicture> picture;
    win32::ComPtr<IStream> stream;
    if (length == 0 || FAILED(CreateStreamOnHGlobal(block, FALSE, stream.put())) ||
        FAILED(OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.put())))) {
        return win32::ComPtr<IPicture>();
    }
    short type = PICTYPE_UNINITIALIZED;
    if (picture.get() == nullptr || FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) {
        return win32::ComPtr<IPicture>();
    }
    return picture;
}

// A copy of the picture object's bitmap, which outlives the object.
win32::Bitmap bitmapOf(IPicture* picture) {
    OLE_HANDLE handle = 0;
    if (picture == nullptr || FAILED(picture->get_Handle(&handle))) {
        return win32::Bitmap();
    }
    return win32::Bitmap(
        static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                       IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG)));
}

// The picture turned upright as a photo's orientation says, as a 32-bit DIB section; the
// picture as it is when there is nothing to turn or its pixels cannot be read, null when the
// memory for the turned one cannot be had.
win32::Bitmap turnedUpright(win32::Bitmap picture, int orientation) {
    const SIZE size = bitmapSize(picture.get());
    if (orientation <= 1 || size.cx <= 0 || size.cy <= 0) {
        return picture;
    }
    const auto width = static_cast<uint32_t>(size.cx);
    const auto height = static_cast<uint32_t>(size.cy);
    BITMAPINFO info = win32::dibDescription(size.cx, -size.cy, 32); // rows top first
    std::vector<uint32_t> pixels;
    try {
        pixels.resize(size_t(width) * height);
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
    const win32::WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), picture.get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS) !=
        size.cy) {
        return picture;
    }
    picture = win32::Bitmap(); // at most two copies at a time
    return uprightBitmap(std::move(pixels), width, height, orientation);
}

bool declaresOnlyPicturesWithinBudget(const uint8_t* data, size_t length,
                                      PictureDimensions& dimensions) {
    return readPictureDimensions(data, length, dimensions) &&
           fitsPictureBudget(dimensions.width, dimensions.height);
}

// How much of a file is looked at before it is read whole.
constexpr DWORD startBytes = 64 * 1024;

// Whether a file's first bytes name a format the program reads and, where they tell the
// first image's size, one within the budget.
bool beginsShowablePicture(const uint8_t* start, size_t length) {
    PictureDimensions first;
    return pictureFormatOf(start, length) != PictureFormat::unknown &&
           !(readPictureDimensions(start, length, first) &&
             !fitsPictureBudget(first.width, first.height));
}

// Opens a file whose size a picture may have.
bool openPictureSized(const win32::ReadOnlyFile& file, uint64_t& size) {
    return file.size(size) && size != 0 && size <= maxPictureFileBytes;
}

} // namespace

bool looksLikeShowablePicture(const char* path) {
    const win32::ReadOnlyFile file(path);
    uint64_t size = 0;
    if (!openPictureSized(file, size)) {
        return false;
    }
    std::vector<uint8_t> start(static_cast<size_t>(std::min<uint64_t>(size, startBytes)));
    if (!file.read(start.data(), start.size()) ||
        !beginsShowablePicture(start.data(), start.size())) {
        return false;
    }
    if (pictureFormatOf(start.data(), start.size()) != PictureFormat::jpeg) {
        return true;
    }
    // A JPEG's scans run through the whole file: it is read whole to count them (photos are
    // a few MB).
    const size_t read = start.size();
    try {
        start.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    PictureDimensions dimensions;
    if (!file.read(start.data() + read, start.size() - read) ||
        !declaresOnlyPicturesWithinBudget(start.data(), start.size(), dimensions)) {
        return false;
    }
    // Its data decoded at an eighth of its size, which costs a small part of a whole decode:
    // a file cut short or with corrupt data is refused now, not shown as a grey screen later.
    // Forms libjpeg-turbo leaves to the platform are taken on trust, as before.
    const JpegPicture glance =
        decodeJpeg(start.data(), start.size(), 1, maxJpegDecoderBytes, maxPicturePixels);
    return glance.outcome != jpegUnreadable;
}

namespace {

// Reads count bytes a piece at a time, looking at stop between the pieces.
bool readInPieces(const win32::ReadOnlyFile& file, uint8_t* into, size_t count,
                  const std::atomic<bool>* stop) {
    constexpr size_t piece = size_t(4) << 20;
    for (size_t done = 0; done < count; done += piece) {
        if ((stop != nullptr && stop->load()) ||
            !file.read(into + done, std::min(piece, count - done))) {
            return false;
        }
    }
    return true;
}

} // namespace

PictureFileBytes readPictureFile(const char* path, const std::atomic<bool>* stop) {
    const win32::ReadOnlyFile file(path);
    uint64_t size = 0;
    if (!openPictureSized(file, size)) {
        return PictureFileBytes();
    }
    PictureFileBytes picture;
    picture.length = static_cast<DWORD>(size);
    picture.block = win32::GlobalMemory(GlobalAlloc(GMEM_FIXED, picture.length));
    auto* bytes = static_cast<uint8_t*>(picture.block.get());
    // The first bytes alone first: a file of another kind, or whose first image is already
    // too large, is refused before it is read whole.
    const DWORD start = std::min(picture.length, startBytes);
    if (bytes == nullptr || !file.read(bytes, start)) {
        return PictureFileBytes();
    }
    picture.format = pictureFormatOf(bytes, start);
    if (!beginsShowablePicture(bytes, start) ||
        !readInPieces(file, bytes + start, picture.length - start, stop) ||
        !declaresOnlyPicturesWithinBudget(bytes, picture.length, picture.header)) {
        return PictureFileBytes();
    }
    return picture;
}

win32::Bitmap LoadPictureFromBytes(PictureFileBytes& file) {
    if (file.format != PictureFormat::jpeg && file.format != PictureFormat::gif &&
        file.format != PictureFormat::bmp) {
        return win32::Bitmap();
    }
    // Photos from phones and cameras stand upright as their EXIF data says.
    const int orientation = file.header.orientation;
    const win32::ComPtr<IPicture> picture = loadPictureObject(file.block.get(), file.length);
    if (picture.get() == nullptr) {
        return win32::Bitmap();
    }
    file = PictureFileBytes(); // read: its bytes go before the copy is made
    return turnedUpright(bitmapOf(picture.get()), orientation);
}
