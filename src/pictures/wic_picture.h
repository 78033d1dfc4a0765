// Pictures in the formats the Windows Imaging Component has codecs for (TIFF, ICO, and WebP,
// HEIC or AVIF where their codecs are installed), for what the picture service cannot read.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "win32/handles.h"

// The first frame of a picture file's bytes (read and checked by readPictureFile) as a 32-bit
// DIB section, transparent parts over black, turned as the EXIF orientation given says (1:
// as stored); null when no codec reads it or it declares more than maxPicturePixels. The
// bytes stay the caller's. No bitmap for the screen is made on the way, so a worker thread
// can decode beside a window's drawing without holding it up. Once stop (when given) turns
// true, the copy of the pixels ends at the next band of rows, with null.
win32::Bitmap LoadPictureWithImagingComponent(const uint8_t* data, DWORD length,
                                              int orientation = 1,
                                              const std::atomic<bool>* stop = nullptr);
