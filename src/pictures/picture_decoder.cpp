#include "pictures/picture_decoder.h"

#include <new>
#include <utility>

#include "jpeg/jpeg_picture.h"
#include "pictures/exif_orientation.h"
#include "pictures/picture_header.h"
#include "pictures/upright_bitmap.h"
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

// A JPEG through libjpeg-turbo at the fewest eighths that cover the size; unsupported says
// that it leaves the picture's form to the platform's decoders.
win32::Bitmap decodeJpeg(const PictureFileBytes& file, SIZE covering, PictureWork work,
                         bool& unsupported) {
    JpegFacts facts{};
    unsupported = false;
    const JpegOutcome header = jpegReadFacts(file.data(), file.length, &facts);
    if (header != jpegDone) {
        unsupported = header == jpegUnsupported;
        return win32::Bitmap();
    }
    const int orientation = file.header.orientation;
    if (orientationSwapsSides(orientation)) {
        std::swap(covering.cx, covering.cy);
    }
    const unsigned eighths = covering.cx > 0 && covering.cy > 0
                                 ? jpegCoveringEighths(facts.width, facts.height,
                                                       uint32_t(covering.cx), uint32_t(covering.cy))
                                 : 8;
    JpegPicture picture = ::decodeJpeg(file.data(), file.length, eighths, maxJpegDecoderBytes,
                                       maxPicturePixels, work.stop);
    unsupported = picture.outcome == jpegUnsupported;
    if (picture.outcome != jpegDone) {
        return win32::Bitmap();
    }
    return uprightBitmap(std::move(picture.pixels), picture.width, picture.height, orientation);
}

} // namespace

bool uprightJpegSize(const PictureFileBytes& file, SIZE& size) {
    if (file.format != PictureFormat::jpeg) {
        return false;
    }
    size = {LONG(file.header.width), LONG(file.header.height)};
    if (orientationSwapsSides(file.header.orientation)) {
        std::swap(size.cx, size.cy);
    }
    return true;
}

win32::Bitmap decodePictureFile(PictureFileBytes& file, PictureWork work, SIZE covering) {
    try {
        if (file.format == PictureFormat::png) {
            return decodePng(file.data(), file.length, work);
        }
        if (file.format == PictureFormat::jpeg) {
            bool unsupported = false;
            win32::Bitmap picture = decodeJpeg(file, covering, work, unsupported);
            if (picture || !unsupported) {
                return picture;
            }
        }
        win32::Bitmap picture = LoadPictureWithImagingComponent(file.data(), file.length,
                                                                file.header.orientation, work.stop);
        if (picture || (work.stop != nullptr && work.stop->load())) {
            return picture;
        }
        return LoadPictureFromBytes(file);
    } catch (const std::bad_alloc&) {
        return win32::Bitmap();
    }
}

bool pictureCanBeShown(const char* path) {
    PictureFileBytes file = readPictureFile(path);
    if (!file) {
        return false;
    }
    if (file.format != PictureFormat::jpeg) {
        return true; // PNG, GIF and BMP headers say all a show needs to know beforehand
    }
    // Its data at an eighth of its size, a small part of a whole decode: a file cut short
    // or with corrupt data is refused now, not shown as a grey screen later.
    constexpr SIZE glance{1, 1};
    bool unsupported = false;
    try {
        if (decodeJpeg(file, glance, PictureWork::atOnce, unsupported)) {
            return true;
        }
        return unsupported && bool(decodePictureFile(file, PictureWork::atOnce, glance));
    } catch (const std::bad_alloc&) {
        return false;
    }
}
