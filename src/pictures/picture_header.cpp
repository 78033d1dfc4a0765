#include "pictures/picture_header.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "jpeg/jpeg_calls.h"
#include "pictures/exif_orientation.h"
#include "png/byte_order.h"

namespace {

// The largest width and the largest height that the images of a file declare: a decoder may
// size its buffers by any of them.
struct Largest {
    uint32_t width = 0;
    uint32_t height = 0;
    bool found = false;

    void add(uint32_t imageWidth, uint32_t imageHeight) {
        width = std::max(width, imageWidth);
        height = std::max(height, imageHeight);
        found = true;
    }
};

bool startsWith(const uint8_t* data, size_t size, size_t at, const char* text, size_t length) {
    return at <= size && size - at >= length && std::memcmp(data + at, text, length) == 0;
}

bool pngDimensions(const uint8_t* data, size_t size, Largest& largest) {
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) {
        return false;
    }
    largest.add(bigEndian32(data + 16), bigEndian32(data + 20));
    return true;
}

// What a JPEG's scans make a decoder do, in blocks visited: each scan goes over every block
// of the components it names, in the frame before it.
class JpegWork {
  public:
    void frame(const uint8_t* segment, size_t length) {
        components_.clear();
        if (length < 8) {
            return; // too short for a frame header: no components
        }
        const size_t count = segment[9];
        uint32_t widest = 1;
        uint32_t tallest = 1;
        for (size_t i = 0; i < count && 8 + 3 * (i + 1) <= length; ++i) {
            const uint8_t* c = segment + 10 + 3 * i;
            components_.push_back({c[0], uint32_t(c[1] >> 4), uint32_t(c[1] & 15), 0});
            widest = std::max(widest, uint32_t(c[1] >> 4));
            tallest = std::max(tallest, uint32_t(c[1] & 15));
        }
        const uint64_t width = bigEndian16(segment + 7);
        const uint64_t height = bigEndian16(segment + 5);
        uint64_t all = 0;
        for (Component& c : components_) {
            c.blocks = ((width * c.across + widest * 8 - 1) / (widest * 8)) *
                       ((height * c.down + tallest * 8 - 1) / (tallest * 8));
            all += c.blocks;
        }
        allBlocks_ = std::max(allBlocks_, all);
    }
    void scan(const uint8_t* segment, size_t length) {
        const size_t count = length >= 3 ? segment[4] : 0;
        for (size_t i = 0; i < count && 3 + 2 * (i + 1) <= length; ++i) {
            for (const Component& c : components_) {
                visited_ += c.id == segment[5 + 2 * i] ? c.blocks : 0;
            }
        }
    }
    bool tooMuch() const { return visited_ > uint64_t(jpegMostFullPasses) * allBlocks_; }

  private:
    struct Component {
        uint8_t id;
        uint32_t across, down; // sampling factors
        uint64_t blocks;
    };
    std::vector<Component> components_;
    uint64_t allBlocks_ = 0;
    uint64_t visited_ = 0;
};

// Every frame header (SOF0 to SOF15; C4, C8 and CC are other tables), the scans between them
// skipped: a hierarchical file holds several frames. Bytes that end the file early end the
// walk, as they end what a decoder reads; padding before a marker is skipped, as it is there. A
// file of more scans than maxJpegScans, or whose scans would go over its blocks more often than a
// decoder may, names no size: it is refused as a whole, whatever its pixels, before any of it is
// decoded.
bool jpegDimensions(const uint8_t* data, size_t size, Largest& largest, int& orientation) {
    size_t scans = 0;
    JpegWork work;
    int turn = 0; // none found yet
    const bool tooManyScans = walkJpegSegments(
        data, size,
        [&](uint8_t marker, size_t at, size_t length) {
            const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
                               marker != 0xC8 && marker != 0xCC;
            const bool whole = at + 2 + length <= size;
            if (frame && length >= 7 && at + 9 <= size) {
                largest.add(bigEndian16(data + at + 7), bigEndian16(data + at + 5));
            }
            if (frame && whole) {
                work.frame(data + at, length);
            }
            if (marker == 0xDA && whole) {
                work.scan(data + at, length);
            }
            if (marker == 0xE1 && whole && length >= 2 && scans == 0 && turn == 0) {
                turn = exifOrientation(data + at + 4, length - 2); // only the first EXIF counts
            }
            return marker == 0xDA && ++scans > maxJpegScans;
        },
        true);
    orientation = turn != 0 ? turn : 1;
    return largest.found && !tooManyScans && !work.tooMuch();
}

// Walks a GIF's blocks after its screen and global colour table without decoding, calling
// visit(at) at each extension (0x21) and image (0x2C) until it returns true, or the blocks end.
template <typename Visit> void walkGifBlocks(const uint8_t* data, size_t size, Visit visit) {
    if (size < 13) {
        return;
    }
    size_t at = 13;
    if ((data[10] & 0x80) != 0) {
        at += size_t(3) << ((data[10] & 7) + 1); // global colour table
    }
    auto skipSubBlocks = [&] {
        while (at < size && data[at] != 0) {
            at += size_t(1) + data[at];
        }
        ++at;
    };
    while (at < size) {
        if (data[at] == 0x21) { // an extension: a label, then sub-blocks
            if (visit(at)) {
                return;
            }
            at += 2;
            skipSubBlocks();
        } else if (data[at] == 0x2C && at + 9 <= size) { // an image
            if (visit(at) || at + 10 > size) {
                return;
            }
            const uint8_t flags = data[at + 9];
            at += 10;
            if ((flags & 0x80) != 0) {
                at += size_t(3) << ((flags & 7) + 1); // local colour table
            }
            ++at; // the code size
            skipSubBlocks();
        } else {
            return; // the trailer, or what no decoder reads on from
        }
    }
}

// The logical screen and every image on it.
bool gifDimensions(const uint8_t* data, size_t size, Largest& largest) {
    if (size < 13) {
        return false;
    }
    const uint32_t screenWidth = littleEndian16(data + 6);
    const uint32_t screenHeight = littleEndian16(data + 8);
    walkGifBlocks(data, size, [&](size_t at) {
        if (data[at] == 0x2C) {
            largest.add(std::max(screenWidth,
                                 littleEndian16(data + at + 1) + littleEndian16(data + at + 5)),
                        std::max(screenHeight,
                                 littleEndian16(data + at + 3) + littleEndian16(data + at + 7)));
        }
        return false;
    });
    return largest.found;
}

// Whether a graphic control extension before the first image gives it a transparent colour.
bool gifFirstImageTransparent(const uint8_t* data, size_t size) {
    bool transparent = false;
    walkGifBlocks(data, size, [&](size_t at) {
        if (data[at] == 0x2C) {
            return true;
        }
        if (at + 4 <= size && data[at + 1] == 0xF9 && data[at + 2] >= 4) {
            transparent = (data[at + 3] & 1) != 0;
        }
        return false;
    });
    return transparent;
}

// Whether a bitmap's pixels are 32-bit bit fields with an alpha mask, which only a header of
// 56 bytes or more holds (the 40-byte header's masks follow it and have none).
bool bmpHasAlphaChannel(const uint8_t* data, size_t size) {
    constexpr uint32_t bitFields = 3;
    constexpr uint32_t alphaBitFields = 6;
    const uint8_t* header = data + 14;
    if (size < 14 + 56 || littleEndian32(header) < 56 || littleEndian16(header + 14) != 32) {
        return false;
    }
    const uint32_t compression = littleEndian32(header + 16);
    return (compression == bitFields || compression == alphaBitFields) &&
           littleEndian32(header + 52) != 0;
}

bool bitmapHeaderDimensions(const uint8_t* header, size_t available, Largest& largest) {
    if (available < 8) {
        return false;
    }
    const uint32_t headerSize = littleEndian32(header);
    if (headerSize == 12) { // the older core header: 16-bit sizes
        largest.add(littleEndian16(header + 4), littleEndian16(header + 6));
        return true;
    }
    if (headerSize < 40 || available < 12) {
        return false;
    }
    const auto width = static_cast<int32_t>(littleEndian32(header + 4));
    const auto height = static_cast<int32_t>(littleEndian32(header + 8));
    if (width <= 0 || height == INT32_MIN) {
        return false;
    }
    // A negative height is a picture stored top row first.
    largest.add(uint32_t(width), uint32_t(height < 0 ? -height : height));
    return true;
}

bool bmpDimensions(const uint8_t* data, size_t size, Largest& largest) {
    return size >= 14 && bitmapHeaderDimensions(data + 14, size - 14, largest);
}

// Every picture of an icon or cursor file: its directory entry, and the PNG or bitmap header
// of the picture it points to (a bitmap's height counts its mask too).
bool iconDimensions(const uint8_t* data, size_t size, Largest& largest) {
    const uint32_t count = littleEndian16(data + 4);
    if (count == 0 || size < 6 + size_t(16) * count) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + size_t(16) * i;
        largest.add(entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1]);
        const size_t offset = littleEndian32(entry + 12);
        if (offset >= size) {
            return false;
        }
        const bool png = startsWith(data, size, offset, "\x89PNG\r\n\x1A\n", 8);
        if (!(png ? pngDimensions(data + offset, size - offset, largest)
                  : bitmapHeaderDimensions(data + offset, size - offset, largest))) {
            return false;
        }
    }
    return true;
}

// Every image of a TIFF file: the chain of image directories and the directories below them
// (where cameras' raw files keep the full picture), each of which must give its size.
bool tiffDimensions(const uint8_t* data, size_t size, Largest& largest) {
    const bool bigEndian = data[0] == 'M';
    auto read16 = [&](size_t at) { return ordered16(data + at, bigEndian); };
    auto read32 = [&](size_t at) { return ordered32(data + at, bigEndian); };
    constexpr size_t mostDirectories = 4096;
    std::vector<size_t> pending{read32(4)};
    for (size_t visited = 0; !pending.empty(); ++visited) {
        const size_t at = pending.back();
        pending.pop_back();
        if (visited == mostDirectories || at < 8 || at > size - 2) {
            return false;
        }
        const size_t count = read16(at);
        if ((size - at - 2) / 12 < count || size - at - 2 - 12 * count < 4) {
            return false;
        }
        uint32_t width = 0;
        uint32_t height = 0;
        for (size_t i = 0; i < count; ++i) {
            const size_t field = at + 2 + 12 * i;
            const uint32_t tag = read16(field);
            const uint32_t type = read16(field + 2);
            const uint32_t values = read32(field + 4);
            const uint32_t value = type == 3 ? read16(field + 8) : read32(field + 8);
            if ((tag == 256 || tag == 257) && (type == 3 || type == 4) && values >= 1) {
                (tag == 256 ? width : height) = value;
            } else if (tag == 330 && (type == 4 || type == 13) && values >= 1) {
                // Directories below this one: the offset itself, or where a list of them lies.
                if (values == 1) {
                    pending.push_back(value);
                } else if (value < size && (size - value) / 4 >= values &&
                           values <= mostDirectories) {
                    for (uint32_t n = 0; n < values; ++n) {
                        pending.push_back(read32(value + 4 * size_t(n)));
                    }
                } else {
                    return false;
                }
            }
        }
        if (width == 0 || height == 0) {
            return false;
        }
        largest.add(width, height);
        if (const size_t next = read32(at + 2 + 12 * count); next != 0) {
            pending.push_back(next);
        }
    }
    return largest.found;
}

// The chunks of a WebP file (or of one animation frame) from at to end: the canvas, every
// frame and every still picture's own header.
bool webpChunkDimensions(const uint8_t* data, size_t at, size_t end, Largest& largest, int depth) {
    while (at <= end && end - at >= 8) {
        const uint8_t* chunk = data + at;
        const size_t length = littleEndian32(chunk + 4);
        const size_t available = std::min(length, end - at - 8);
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "VP8 ", 4) == 0) {
            if (available < 10 || body[3] != 0x9D || body[4] != 0x01 || body[5] != 0x2A) {
                return false;
            }
            largest.add(littleEndian16(body + 6) & 0x3FFF, littleEndian16(body + 8) & 0x3FFF);
        } else if (std::memcmp(chunk, "VP8L", 4) == 0) {
            if (available < 5 || body[0] != 0x2F) {
                return false;
            }
            const uint32_t bits = littleEndian32(body + 1);
            largest.add((bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1);
        } else if (std::memcmp(chunk, "VP8X", 4) == 0) {
            if (available < 10) {
                return false;
            }
            largest.add(littleEndian24(body + 4) + 1, littleEndian24(body + 7) + 1);
        } else if (std::memcmp(chunk, "ANMF", 4) == 0) {
            if (available < 16 || depth > 0) {
                return false;
            }
            largest.add(littleEndian24(body + 6) + 1, littleEndian24(body + 9) + 1);
            if (!webpChunkDimensions(data, at + 8 + 16, at + 8 + available, largest, depth + 1)) {
                return false;
            }
        }
        if (length > end - at - 8) {
            break; // the file ends inside this chunk
        }
        at += 8 + length + (length & 1);
    }
    return largest.found;
}

bool webpDimensions(const uint8_t* data, size_t size, Largest& largest) {
    const size_t riffEnd = std::min(size, size_t(8) + littleEndian32(data + 4));
    return webpChunkDimensions(data, 12, std::max(riffEnd, size_t(12)), largest, 0);
}

// An ISO media file's boxes from at to end: calls visit(type, bodyAt, bodyEnd) for each, and
// stops, false, at a box whose size does not fit.
template <typename Visit> bool forEachBox(const uint8_t* data, size_t at, size_t end, Visit visit) {
    while (end - at >= 8) {
        uint64_t boxSize = bigEndian32(data + at);
        size_t header = 8;
        if (boxSize == 1) {
            if (end - at < 16) {
                return false;
            }
            boxSize = bigEndian64(data + at + 8);
            header = 16;
        } else if (boxSize == 0) {
            boxSize = end - at; // to the end of the file
        }
        if (boxSize < header || boxSize > end - at) {
            return false;
        }
        if (!visit(data + at + 4, at + header, at + size_t(boxSize))) {
            return false;
        }
        at += size_t(boxSize);
    }
    return true;
}

// The image spatial extent (ispe) property of every image of a HEIF or AVIF file, in
// meta / iprp / ipco.
bool heifDimensions(const uint8_t* data, size_t size, Largest& largest) {
    auto inside = [&](const char* type, auto&& visitChild) {
        return [=, &visitChild](const uint8_t* boxType, size_t at, size_t end) {
            if (std::memcmp(boxType, type, 4) != 0) {
                return true;
            }
            const size_t first = std::strcmp(type, "meta") == 0 ? at + 4 : at; // a full box
            return first <= end && forEachBox(data, first, end, visitChild);
        };
    };
    auto ispe = [&](const uint8_t* boxType, size_t at, size_t end) {
        if (std::memcmp(boxType, "ispe", 4) != 0) {
            return true;
        }
        if (end - at < 12) {
            return false;
        }
        largest.add(bigEndian32(data + at + 4), bigEndian32(data + at + 8));
        return true;
    };
    auto ipco = inside("ipco", ispe);
    auto iprp = inside("iprp", ipco);
    return forEachBox(data, 0, size, inside("meta", iprp)) && largest.found;
}

bool isHeifBrand(const uint8_t* brand) {
    static const char* const brands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis",
                                         "hevm", "hevs", "mif1", "msf1", "avif", "avis"};
    return std::any_of(std::begin(brands), std::end(brands),
                       [&](const char* known) { return std::memcmp(brand, known, 4) == 0; });
}

bool isHeif(const uint8_t* data, size_t size) {
    if (size < 16 || std::memcmp(data + 4, "ftyp", 4) != 0) {
        return false;
    }
    const size_t end = std::min(size, size_t(bigEndian32(data)));
    if (isHeifBrand(data + 8)) {
        return true;
    }
    for (size_t at = 16; at + 4 <= end; at += 4) { // the compatible brands
        if (isHeifBrand(data + at)) {
            return true;
        }
    }
    return false;
}

} // namespace

PictureFormat pictureFormatOf(const uint8_t* data, size_t size) {
    if (startsWith(data, size, 0, "\x89PNG\r\n\x1A\n", 8)) {
        return PictureFormat::png;
    }
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        return PictureFormat::jpeg;
    }
    if (startsWith(data, size, 0, "GIF87a", 6) || startsWith(data, size, 0, "GIF89a", 6)) {
        return PictureFormat::gif;
    }
    if (startsWith(data, size, 0, "BM", 2)) {
        return PictureFormat::bmp;
    }
    if (size >= 6 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) &&
        data[3] == 0 && (data[4] != 0 || data[5] != 0)) {
        return PictureFormat::icon; // an icon (1) or a cursor (2) with pictures
    }
    if (startsWith(data, size, 0, "II*\0", 4) || startsWith(data, size, 0, "MM\0*", 4)) {
        return size >= 8 ? PictureFormat::tiff : PictureFormat::unknown;
    }
    if (startsWith(data, size, 0, "RIFF", 4) && startsWith(data, size, 8, "WEBP", 4)) {
        return PictureFormat::webp;
    }
    if (isHeif(data, size)) {
        return PictureFormat::heif;
    }
    return PictureFormat::unknown;
}

bool readPictureDimensions(const uint8_t* data, size_t size, PictureDimensions& dimensions) {
    Largest largest;
    int orientation = 1;
    bool read = false;
    switch (pictureFormatOf(data, size)) {
    case PictureFormat::png:
        read = pngDimensions(data, size, largest);
        break;
    case PictureFormat::jpeg:
        read = jpegDimensions(data, size, largest, orientation);
        break;
    case PictureFormat::gif:
        read = gifDimensions(data, size, largest);
        break;
    case PictureFormat::bmp:
        read = bmpDimensions(data, size, largest);
        break;
    case PictureFormat::icon:
        read = iconDimensions(data, size, largest);
        break;
    case PictureFormat::tiff:
        read = tiffDimensions(data, size, largest);
        break;
    case PictureFormat::webp:
        read = webpDimensions(data, size, largest);
        break;
    case PictureFormat::heif:
        read = heifDimensions(data, size, largest);
        break;
    case PictureFormat::unknown:
        break;
    }
    if (read) {
        dimensions = {largest.width, largest.height, orientation};
    }
    return read;
}

int jpegOrientation(const uint8_t* data, size_t size) {
    Largest largest;
    int orientation = 1;
    if (pictureFormatOf(data, size) == PictureFormat::jpeg) {
        jpegDimensions(data, size, largest, orientation);
    }
    return orientation;
}

bool declaresTransparency(const uint8_t* data, size_t size) {
    switch (pictureFormatOf(data, size)) {
    case PictureFormat::gif:
        return gifFirstImageTransparent(data, size);
    case PictureFormat::bmp:
        return bmpHasAlphaChannel(data, size);
    default:
        return false;
    }
}
