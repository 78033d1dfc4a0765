// Pictures in the formats the Windows Imaging Component has codecs for (TIFF, ICO, and WebP,
// HEIC or AVIF where their codecs are installed), for what the picture service cannot read.
#pragma once

#include "win32/handles.h"

// The first frame of the file as a 32-bit DIB section, transparent parts over black; null
// when no codec reads it or it declares more than maxPicturePixels.
win32::Bitmap LoadPictureWithImagingComponent(const char* path);
