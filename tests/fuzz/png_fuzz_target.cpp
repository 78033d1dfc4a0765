// Fuzz target: file bytes in, bitmap rows out, through the whole decoder, which must give the
// same rows (or fail alike) with its rows converted while the stream is still inflated; and
// the header reader that sizes every picture file before it is decoded, and the EXIF reader
// that turns photos upright.
#include <cstddef>
#include <cstdint>

#include "pictures/exif_orientation.h"
#include "png/png_decoder.h"
#include "pictures/picture_header.h"
#include "png/png_dib.h"

namespace {

// Pictures larger than this are not decoded here: the fuzzer looks for faults, not for
// memory to fill.
constexpr uint64_t largestDecodedSize = uint64_t(64) << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0xFFFFFFFFu) {
        return 0;
    }
    PictureDimensions dimensions;
    readPictureDimensions(data, size, dimensions);
    declaresTransparency(data, size);
    const int orientation = jpegOrientation(data, size);
    if (orientation < 1 || orientation > 8) {
        __builtin_trap();
    }
    PngDecoder decoder;
    PngInit(&decoder);
    PngDib whole;
    bool wholeMade = false;
    if (PngLoadMemory(&decoder, data, static_cast<uint32_t>(size)) &&
        PngDecodedSize(&decoder) <= largestDecodedSize && PngDecode(&decoder)) {
        wholeMade = PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, whole);
        if (wholeMade) {
            // Read every byte, so that the sanitizers see any that were not written.
            volatile uint8_t sum = 0;
            for (uint8_t b : whole.bits) {
                sum = static_cast<uint8_t>(sum + b);
            }
        }
        if (decoder.colourType == 6) {
            PngDib bgr;
            PngCreateDib(&decoder, decoder.bitDepth == 8 ? 0x0608010D : 0x06100108, bgr);
        }
        decoder.overBlack = true; // as the show makes its pictures: tRNS read, alpha composed
        PngDib composed;
        PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, composed);
    }
    PngRelease(&decoder);
    // The same bytes decoded with the rows converted while the stream is inflated, as the show
    // decodes them: the same bitmap, or a failure.
    PngInit(&decoder);
    PngDib concurrent;
    const bool concurrentMade = PngLoadMemory(&decoder, data, static_cast<uint32_t>(size)) &&
                                PngDecodedSize(&decoder) <= largestDecodedSize &&
                                PngDecodeConcurrently(&decoder) &&
                                PngCreateDib(&decoder, PNG_FORMAT_DEFAULT, concurrent);
    if (concurrentMade != wholeMade || (wholeMade && concurrent.bits != whole.bits)) {
        __builtin_trap();
    }
    PngRelease(&decoder);
    return 0;
}
