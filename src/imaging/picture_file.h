// JPEG, GIF and BMP pictures through the platform's picture service.
#pragma once

#include <windows.h>

#include "win32/handles.h"

// Reads the whole file and has the picture service decode it; a JPEG photo is turned upright
// as its EXIF orientation says. A bitmap, or null for a missing,
// empty, unreadable or undecodable file, for pictures that are not bitmaps (icons, metafiles), and,
// before the file is read whole, for one that does not begin as a JPEG, GIF or BMP picture, is
// larger than maxPictureFileBytes or declares more than maxPicturePixels.
win32::Bitmap LoadPictureFile(const char* path);

// Decodes the picture held in a global memory block of length bytes; the block stays the
// caller's. Null as for LoadPictureFile.
win32::Bitmap LoadPictureFromMemory(HGLOBAL block, DWORD length);
