// Pictures in the formats the Windows Imaging Component has codecs for (TIFF, ICO, and WebP,
// HEIC or AVIF where their codecs are installed), for what the picture service cannot read.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win32/handles.h"

// The first frame of a picture file's bytes (read and checked by readPictureFile) as a 32-bit
// DIB section, transparent parts over black; null when no codec reads it or it declares more
// than maxPicturePixels. The bytes stay the caller's.
win32::Bitmap LoadPictureWithImagingComponent(const uint8_t* data, DWORD length);
