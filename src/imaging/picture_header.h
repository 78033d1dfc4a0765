// What a picture file says of itself in its first bytes: its format and its size in pixels,
// read without decoding it, so that a file can be refused before it costs any memory.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureFormat { unknown, png, jpeg, gif, bmp };

// The format whose signature the bytes begin with.
PictureFormat pictureFormatOf(const uint8_t* data, size_t size);

struct PictureDimensions {
    uint32_t width = 0;
    uint32_t height = 0;
};

// The size that decoding the picture would give, from its header (a JPEG's frame header, a
// GIF's screen and first image, a bitmap's info header, a PNG's IHDR). False when the bytes
// end before it or it names no size.
bool readPictureDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions);

// The largest picture the program decodes: 64 Mi pixels, 256 MiB at 32 bits a pixel. It holds
// an 8K screen twice over and the photos of nearly every camera, keeps the decoded bitmap and
// the decoder's own buffers (up to 8 bytes a pixel) well under 2^31 bytes, where the 32-bit
// sizes of the platform's bitmap calls overflow, and keeps memory in proportion to a screen.
inline constexpr uint64_t maxPicturePixels = uint64_t(64) << 20;
// Picture files larger than this are refused before they are read: no picture within the
// pixel budget needs more.
inline constexpr uint64_t maxPictureFileBytes = uint64_t(256) << 20;

inline bool fitsPictureBudget(uint64_t width, uint64_t height) {
    return width != 0 && height != 0 && width * height <= maxPicturePixels;
}
