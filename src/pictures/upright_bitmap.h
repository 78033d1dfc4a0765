// A photo's pixels turned upright as its EXIF orientation says, made into a bitmap.
#pragma once

#include <cstdint>
#include <vector>

#include "win32/handles.h"

// A 32-bit top-down DIB section of the pixels (width x height, rows top first) turned and
// mirrored as the orientation says (1: as they are). The pixels are freed as soon as they
// are turned: at most two copies at a time. Null when the memory cannot be had.
win32::Bitmap uprightBitmap(std::vector<uint32_t> pixels, uint32_t width, uint32_t height,
                            int orientation);
