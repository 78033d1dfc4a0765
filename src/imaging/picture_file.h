// JPEG, GIF and BMP pictures through the platform's picture service.
#pragma once

#include <windows.h>

// Reads the whole file and has the picture service decode it. A bitmap the caller owns, or
// null for a missing, empty, unreadable or undecodable file, and for pictures that are not
// bitmaps (icons, metafiles).
HBITMAP LoadPictureFile(const char* path);

// Decodes the picture held in a global memory block of length bytes; the block stays the
// caller's. Null as for LoadPictureFile.
HBITMAP LoadPictureFromMemory(HGLOBAL block, DWORD length);
