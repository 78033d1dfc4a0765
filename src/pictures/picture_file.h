// Picture files as the program reads them: whole, once their first bytes name a format whose
// size the program can read and every image they declare is within the picture budget, so
// that no decoder ever sees a file that could cost more. The picture service below decodes
// JPEG, GIF and BMP files that the imaging component cannot read.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "pictures/picture_header.h"
#include "win32/handles.h"

// A picture file's bytes in a fixed block of global memory (the picture service reads from
// one; a fixed block's handle is its address), the format they begin with, and what one walk
// of its headers found (the largest size its images declare, a JPEG's turn): every decoder
// takes these facts from here, none reads them again.
struct PictureFileBytes {
    win32::GlobalMemory block{};
    DWORD length = 0;
    PictureFormat format = PictureFormat::unknown;
    PictureDimensions header;

    const uint8_t* data() const { return static_cast<const uint8_t*>(block.get()); }
    explicit operator bool() const { return block.get() != nullptr; }
};

// Reads the file for a decoder, or refuses it with an empty result: a missing, empty or
// unreadable file; one larger than maxPictureFileBytes, or whose first bytes name no format
// whose size the program can read, refused before it is read whole; one in which any image
// declares more than maxPicturePixels. The file is read a few MiB at a time, so that stop
// (when given) ends a read from a slow disk within one of them.
PictureFileBytes readPictureFile(const char* path, const std::atomic<bool>* stop = nullptr);

// What readPictureFile checks before it reads a file whole, from the file's first bytes (a
// JPEG's whole file, to count its scans): a quick answer for a file just picked, which a
// later read may still refuse.
bool looksLikeShowablePicture(const char* path);

// Has the picture service decode a JPEG, GIF or BMP file's bytes, which are freed (the file
// emptied) as soon as the service has read them; a JPEG photo is turned upright as its EXIF
// orientation says. Null, with the file as it was, for an undecodable file, for another
// format, and for pictures that are not bitmaps (icons, metafiles).
win32::Bitmap LoadPictureFromBytes(PictureFileBytes& file);
