// An EXIF orientation for test pictures made with libjpeg: "Exif\0\0", a little-endian TIFF
// header and one directory of one entry, 0x0112, in an APP1 segment.
#pragma once

#include <cstdint>
#include <cstdio> // jpeglib.h needs FILE

#include <jpeglib.h>

inline void writeExifOrientation(jpeg_compress_struct* encoder, int orientation) {
    const uint8_t exif[] = {'E', 'x',  'i', 'f', 0,
                            0,   'I',  'I', 42,  0,
                            8,   0,    0,   0,   1,
                            0,   0x12, 1,   3,   0,
                            1,   0,    0,   0,   uint8_t(orientation),
                            0,   0,    0,   0,   0,
                            0,   0};
    jpeg_write_marker(encoder, JPEG_APP0 + 1, exif, sizeof(exif));
}
