// What a picture file says of itself in its first bytes: its format and its size in pixels,
// read without decoding it, so that a file can be refused before it costs any memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "png/png_decoder.h"

// The formats whose size the program can read from their headers; it decodes no others.
// icon is an icon or a cursor; heif is HEIC or AVIF.
enum class PictureFormat { unknown, png, jpeg, gif, bmp, icon, tiff, webp, heif };

// The format whose signature the bytes begin with.
PictureFormat pictureFormatOf(const uint8_t* data, size_t size);

struct PictureDimensions {
    uint32_t width = 0;
    uint32_t height = 0;
    int orientation = 1; // a JPEG's EXIF turn, 1 to 8 (1: stands as stored)
};

// The largest width and the largest height that any image of the file declares, read from
// the headers alone, without decoding: a PNG's IHDR; every frame header of a JPEG; a GIF's
// screen and every image on it; a bitmap's info header; every picture of an icon or cursor
// with the PNG or bitmap header inside it; every image directory of a TIFF file; a WebP
// file's canvas, frames and pictures; every image extent of a HEIF or AVIF file. False when
// the bytes end before the first size or a header that must be read cannot be. A JPEG's turn
// comes from the same walk: its first APP1 "Exif" segment before the picture data.
bool readPictureDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions);

// A JPEG's EXIF orientation alone, as readPictureDimensions reads it (1 for any other file,
// and for a JPEG whose EXIF data is missing or damaged).
int jpegOrientation(const uint8_t* data, size_t size);

// Whether a GIF or bitmap file's picture may have transparent parts that only the imaging
// component composes: a GIF whose first image has a transparent colour, or a 32-bit bitmap
// whose bit fields include an alpha mask.
bool declaresTransparency(const uint8_t* data, size_t size);

// Walks a JPEG file's marker segments after its SOI, calling visit(marker, at, length) for
// each one with a length field, where at is the offset of its 0xFF and length the field's
// value (not checked against the file's size). Stops, returning true, when visit does; stops
// returning false at the end of the image, a length below 2, or, unless acrossScans, the
// picture data (SOS). Across scans, the coded data after each SOS segment is skipped to the
// next marker. Bytes between a segment and the next marker (padding some cameras and editors
// write) are skipped, as libjpeg-turbo skips them.
template <typename Visit>
bool walkJpegSegments(const uint8_t* data, size_t size, Visit visit, bool acrossScans = false) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) {
            ++at;
            continue;
        }
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2; // markers without a segment
            continue;
        }
        if (marker == 0xD9 || (marker == 0xDA && !acrossScans)) {
            return false; // the image ends, or its data starts
        }
        const size_t length = size_t(data[at + 2]) << 8 | data[at + 3];
        if (visit(marker, at, length)) {
            return true;
        }
        if (length < 2) {
            return false;
        }
        at += 2 + length;
        if (marker == 0xDA) { // coded data, in which 0xFF is followed by 0 or a restart
            while (at + 1 < size &&
                   !(data[at] == 0xFF && data[at + 1] != 0 && data[at + 1] != 0xFF &&
                     !(data[at + 1] >= 0xD0 && data[at + 1] <= 0xD7))) {
                ++at;
            }
        }
    }
    return false;
}

// The largest picture the program decodes: 64 Mi pixels, 256 MiB at 32 bits a pixel. It holds
// an 8K screen twice over and the photos of nearly every camera, keeps the decoded bitmap and
// the decoder's own buffers (up to 8 bytes a pixel) well under 2^31 bytes, where the 32-bit
// sizes of the platform's bitmap calls overflow, and bounds what a picture costs while it is
// decoded: about 1.1 GB at most, with the file's bytes (a 16-bit PNG's unpacked rows beside
// its bitmap, or the picture service's own copies of a bitmap file).
inline constexpr uint64_t maxPicturePixels = uint64_t(64) << 20;
// The most memory libjpeg-turbo may take of its own for one JPEG, the budget's 8 bytes a pixel
// (a progressive photo keeps every coefficient, up to 6 bytes a pixel, until its last scan).
inline constexpr uint64_t maxJpegDecoderBytes = maxPicturePixels * 8;
// Picture files larger than this are refused before they are read: no picture within the
// pixel budget needs more.
inline constexpr uint64_t maxPictureFileBytes = pngLargestFileBytes;

// The most scans a JPEG may have: each scan makes a decoder go over the whole picture again,
// so the work of a file of a few MB can be out of all proportion to its pixels (20,000
// repeats of one scan held a show's start for minutes). Encoders write 1 (baseline) to about
// a dozen (progressive, libjpeg's default script 10 for colour), and scan-optimising ones a
// few dozen: 1,000 leaves them far behind.
inline constexpr size_t maxJpegScans = 1000;

inline bool fitsPictureBudget(uint64_t width, uint64_t height) {
    return width != 0 && height != 0 && width * height <= maxPicturePixels;
}
