#include "png_builder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

void putBigEndian32(Bytes& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

Bytes pngFile(const std::vector<Chunk>& chunks) {
    Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
    for (const Chunk& chunk : chunks) {
        putBigEndian32(file, static_cast<uint32_t>(chunk.data.size()));
        Bytes typed(chunk.type.begin(), chunk.type.end());
        typed.insert(typed.end(), chunk.data.begin(), chunk.data.end());
        file.insert(file.end(), typed.begin(), typed.end());
        putBigEndian32(file, static_cast<uint32_t>(crc32(0, typed.data(), uInt(typed.size()))));
    }
    return file;
}

Bytes ihdrData(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
               uint8_t interlace, uint8_t compression, uint8_t filter) {
    Bytes data;
    putBigEndian32(data, width);
    putBigEndian32(data, height);
    data.insert(data.end(), {bitDepth, colourType, compression, filter, interlace});
    return data;
}

Bytes zlibCompress(const Bytes& data, int level, int strategy) {
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    Bytes out(deflateBound(&stream, uLong(data.size())) + 16);
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = uInt(data.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
        throw std::runtime_error("deflate");
    }
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

uint32_t Picture::channels() const {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

Picture randomPicture(std::mt19937& random, uint32_t width, uint32_t height, uint8_t colourType,
                      uint8_t bitDepth, uint32_t paletteSize) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = colourType;
    picture.bitDepth = bitDepth;
    if (colourType == 3) {
        paletteSize = std::min<uint32_t>(paletteSize, 1u << bitDepth);
    }
    const uint32_t limit = colourType == 3 ? paletteSize : (1u << bitDepth);
    picture.samples.resize(size_t(width) * height * picture.channels());
    for (uint16_t& sample : picture.samples) {
        sample = static_cast<uint16_t>(random() % limit);
    }
    if (colourType == 3) {
        picture.palette.resize(size_t(paletteSize) * 3);
        for (uint8_t& b : picture.palette) {
            b = static_cast<uint8_t>(random());
        }
    }
    return picture;
}

namespace {

struct Pass {
    uint32_t x0, dx, y0, dy;
};
const Pass passes[7] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                        {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};

// Packs the samples of the given pixels of one row, most significant bits first.
Bytes packRow(const Picture& picture, uint32_t y, uint32_t x0, uint32_t dx) {
    Bytes row;
    uint32_t bitBuffer = 0;
    int bits = 0;
    for (uint32_t x = x0; x < picture.width; x += dx) {
        for (uint32_t c = 0; c < picture.channels(); ++c) {
            const uint16_t value = picture.sample(x, y, c);
            if (picture.bitDepth == 16) {
                row.push_back(static_cast<uint8_t>(value >> 8));
                row.push_back(static_cast<uint8_t>(value));
            } else if (picture.bitDepth == 8) {
                row.push_back(static_cast<uint8_t>(value));
            } else {
                bitBuffer = bitBuffer << picture.bitDepth | value;
                bits += picture.bitDepth;
                if (bits == 8) {
                    row.push_back(static_cast<uint8_t>(bitBuffer));
                    bitBuffer = 0;
                    bits = 0;
                }
            }
        }
    }
    if (bits > 0) {
        row.push_back(static_cast<uint8_t>(bitBuffer << (8 - bits)));
    }
    return row;
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
}

void appendFiltered(Bytes& out, const Bytes& row, const Bytes& above, uint8_t type, size_t unit) {
    out.push_back(type);
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= unit ? row[i - unit] : 0;
        const int b = above.empty() ? 0 : above[i];
        const int c = i >= unit && !above.empty() ? above[i - unit] : 0;
        int predictor = 0;
        switch (type) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) / 2;
            break;
        case 4:
            predictor = paeth(a, b, c);
            break;
        default:
            break;
        }
        out.push_back(static_cast<uint8_t>(row[i] - predictor));
    }
}

} // namespace

Bytes filteredScanlines(const Picture& picture, uint8_t interlace, std::mt19937& random,
                        const std::vector<uint8_t>& filterTypes) {
    const size_t unit = std::max<size_t>(1, picture.channels() * picture.bitDepth / 8);
    Bytes out;
    auto addPass = [&](uint32_t x0, uint32_t dx, uint32_t y0, uint32_t dy) {
        if (x0 >= picture.width || y0 >= picture.height) {
            return;
        }
        Bytes above;
        for (uint32_t y = y0; y < picture.height; y += dy) {
            const Bytes row = packRow(picture, y, x0, dx);
            appendFiltered(out, row, above, filterTypes[random() % filterTypes.size()], unit);
            above = row;
        }
    };
    if (interlace == 0) {
        addPass(0, 1, 0, 1);
    } else {
        for (const Pass& pass : passes) {
            addPass(pass.x0, pass.dx, pass.y0, pass.dy);
        }
    }
    return out;
}

Bytes encodePng(const Picture& picture, uint8_t interlace, std::mt19937& random, int idatCount) {
    std::vector<Chunk> chunks = {{"IHDR", ihdrData(picture.width, picture.height, picture.bitDepth,
                                                   picture.colourType, interlace)}};
    if (!picture.palette.empty()) {
        chunks.push_back({"PLTE", picture.palette});
    }
    const Bytes stream = zlibCompress(filteredScanlines(picture, interlace, random));
    size_t start = 0;
    for (int i = 0; i < idatCount; ++i) {
        const size_t end =
            i + 1 == idatCount ? stream.size() : start + random() % (stream.size() - start + 1);
        chunks.push_back({"IDAT", Bytes(stream.begin() + long(start), stream.begin() + long(end))});
        start = end;
    }
    chunks.push_back({"IEND", {}});
    return pngFile(chunks);
}
