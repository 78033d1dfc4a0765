// Photos as cameras and phones store them: the sensor's rows as they were read, with an EXIF
// tag (0x0112, Orientation) that says how to turn them to stand upright.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The orientation an APP1 segment's payload gives when it is EXIF data, 1 to 8 (TIFF header in
// either byte order, the first image file directory): 1, no turn, when it holds none or it is
// damaged or out of range; 0 when the payload is no EXIF data.
int exifOrientation(const uint8_t* payload, size_t size);

// Whether the orientation swaps width and height (5 to 8).
bool orientationSwapsSides(int orientation);

// Pixels of width x height, rows top first, turned and mirrored as the orientation says so
// that the picture stands upright; the result is height x width for orientations 5 to 8.
std::vector<uint32_t> orientPixels(const std::vector<uint32_t>& pixels, uint32_t width,
                                   uint32_t height, int orientation);

// The same into out, which holds width x height pixels and is not pixels.
void orientPixelsInto(const uint32_t* pixels, uint32_t width, uint32_t height, int orientation,
                      uint32_t* out);
