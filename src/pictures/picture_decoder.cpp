#include "pictures/picture_decoder.h"

#include <new>
#include <utility>

#include "pictures/exif_orientation.h"
#include "pictures/picture_header.h"
#include "pictures/wic_picture.h"
#include "png/png_decoder.h"
#include "png/png_win32.h"

namespace {

// With both cores, the rows are converted while the stream is inflated on the other.
win32::Bitmap decodePng(const uint8_t* data, DWORD length, PictureWork work) {
    OwnedPngDecoder decoder;
    decoder->stop = work.stop;
    if (!PngLoadMemory(decoder.get(), data, length) ||
        !fitsPictureBudget(decoder->width, decoder->height) ||
        !(work == PictureWork::atOnce ? PngDecodeConcurrently : PngDecode)(decoder.get())) {
        return win32::Bitmap();
    }
    decoder->overBlack = true; // transparent parts show black, as the margins do
    return PngCreateBitmap(decoder.get(), nullptr, PNG_FORMAT_DEFAULT, FALSE);
}

} // namespace

win32::Bitmap decodePictureFile(PictureFileBytes& file, PictureWork work) {
    try {
        if (file.format == PictureFormat::png) {
            return decodePng(file.data(), file.length, work);
        }
        const int orientation =
            file.format == PictureFormat::jpeg ? jpegOrientation(file.data(), file.length) : 1;
        win32::Bitmap picture =
            LoadPictureWithImagingComponent(file.data(), file.length, orientation, work.stop);
        if (picture || (work.stop != nullptr && work.stop->load())) {
            return picture;
        }
        return LoadPictureFromBytes(file);
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
}
