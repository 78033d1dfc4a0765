#include "imaging/picture_header.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t bigEndian16(const uint8_t* at) {
    return uint32_t(at[0]) << 8 | at[1];
}

uint32_t bigEndian32(const uint8_t* at) {
    return bigEndian16(at) << 16 | bigEndian16(at + 2);
}

uint32_t littleEndian16(const uint8_t* at) {
    return uint32_t(at[1]) << 8 | at[0];
}

uint32_t littleEndian32(const uint8_t* at) {
    return littleEndian16(at + 2) << 16 | littleEndian16(at);
}

bool pngDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) {
        return false;
    }
    dimensions = {bigEndian32(data + 16), bigEndian32(data + 20)};
    return true;
}

// The first frame header (SOF0 to SOF15; C4, C8 and CC are other tables) gives the size.
bool jpegDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    bool found = false;
    walkJpegSegments(data, size, [&](uint8_t marker, size_t at, size_t length) {
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7 && at + 9 <= size) {
            dimensions = {bigEndian16(data + at + 7), bigEndian16(data + at + 5)};
            found = true;
        }
        return frame;
    });
    return found;
}

// The logical screen, grown to hold the first image where that lies outside it.
bool gifDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    if (size < 13) {
        return false;
    }
    uint32_t width = littleEndian16(data + 6);
    uint32_t height = littleEndian16(data + 8);
    size_t at = 13;
    if ((data[10] & 0x80) != 0) {
        at += size_t(3) << ((data[10] & 7) + 1); // global colour table
    }
    while (at < size && data[at] == 0x21) { // extensions: a label, then sized sub-blocks
        at += 2;
        while (at < size && data[at] != 0) {
            at += size_t(1) + data[at];
        }
        ++at;
    }
    if (at + 9 > size || data[at] != 0x2C) {
        return false;
    }
    width = std::max(width, littleEndian16(data + at + 1) + littleEndian16(data + at + 5));
    height = std::max(height, littleEndian16(data + at + 3) + littleEndian16(data + at + 7));
    dimensions = {width, height};
    return true;
}

bool bmpDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    if (size < 22) {
        return false;
    }
    const uint32_t headerSize = littleEndian32(data + 14);
    if (headerSize == 12) { // the older core header: 16-bit sizes
        dimensions = {littleEndian16(data + 18), littleEndian16(data + 20)};
        return true;
    }
    if (headerSize < 40 || size < 26) {
        return false;
    }
    const auto width = static_cast<int32_t>(littleEndian32(data + 18));
    const auto height = static_cast<int32_t>(littleEndian32(data + 22));
    if (width <= 0 || height == INT32_MIN) {
        return false;
    }
    // A negative height is a picture stored top row first.
    dimensions = {uint32_t(width), uint32_t(height < 0 ? -height : height)};
    return true;
}

} // namespace

PictureFormat pictureFormatOf(const uint8_t* data, size_t size) {
    static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (size >= 8 && std::memcmp(data, pngSignature, 8) == 0) {
        return PictureFormat::png;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return PictureFormat::jpeg;
    }
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) {
        return PictureFormat::gif;
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        return PictureFormat::bmp;
    }
    return PictureFormat::unknown;
}

bool readPictureDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    switch (pictureFormatOf(data, size)) {
    case PictureFormat::png:
        return pngDimensions(data, size, dimensions);
    case PictureFormat::jpeg:
        return jpegDimensions(data, size, dimensions);
    case PictureFormat::gif:
        return gifDimensions(data, size, dimensions);
    case PictureFormat::bmp:
        return bmpDimensions(data, size, dimensions);
    case PictureFormat::unknown:
        break;
    }
    return false;
}
