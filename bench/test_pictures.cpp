#include "test_pictures.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <tuple>

namespace {

// A random whole number below bound.
uint32_t pick(std::mt19937& random, uint32_t bound) {
    return static_cast<uint32_t>(random() % bound);
}

std::vector<uint8_t> photoPixels(uint32_t width, uint32_t height, uint32_t channels) {
    std::mt19937 random(7);
    std::vector<uint8_t> pixels(size_t(width) * height * channels);
    // A few soft blobs of colour over a sky-like gradient, with a little noise everywhere.
    struct Blob {
        double x, y, radius, r, g, b;
    };
    std::vector<Blob> blobs;
    for (int i = 0; i < 24; ++i) {
        blobs.push_back({double(pick(random, width)), double(pick(random, height)),
                         double(60 + pick(random, width / 4)), double(pick(random, 256)),
                         double(pick(random, 256)), double(pick(random, 256))});
    }
    std::normal_distribution<double> noise(0.0, 2.5);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            double r = 40 + 120.0 * y / height, g = 90 + 80.0 * y / height,
                   b = 200 - 60.0 * y / height;
            for (const Blob& blob : blobs) {
                const double d2 = ((x - blob.x) * (x - blob.x) + (y - blob.y) * (y - blob.y)) /
                                  (blob.radius * blob.radius);
                const double w = std::exp(-d2);
                r += (blob.r - r) * w;
                g += (blob.g - g) * w;
                b += (blob.b - b) * w;
            }
            uint8_t* p = pixels.data() + (size_t(y) * width + x) * channels;
            const double values[4] = {r, g, b, 255 - 40.0 * x / width};
            for (uint32_t c = 0; c < channels; ++c) {
                p[c] = uint8_t(std::clamp(values[c] + (c < 3 ? noise(random) : 0.0), 0.0, 255.0));
            }
        }
    }
    return pixels;
}

std::vector<uint8_t> screenshotPixels(uint32_t width, uint32_t height, uint32_t channels) {
    std::mt19937 random(9);
    std::vector<uint8_t> pixels(size_t(width) * height * channels, 0);
    auto fill = [&](uint32_t x0, uint32_t y0, uint32_t w, uint32_t h, uint8_t r, uint8_t g,
                    uint8_t b) {
        for (uint32_t y = y0; y < std::min(height, y0 + h); ++y) {
            for (uint32_t x = x0; x < std::min(width, x0 + w); ++x) {
                uint8_t* p = pixels.data() + (size_t(y) * width + x) * channels;
                p[0] = r;
                p[1] = g;
                p[2] = b;
                if (channels == 4) {
                    p[3] = 255;
                }
            }
        }
    };
    fill(0, 0, width, height, 236, 239, 244);
    for (int window = 0; window < 12; ++window) {
        const uint32_t x0 = pick(random, width), y0 = pick(random, height);
        const uint32_t w = 200 + pick(random, width / 2), h = 150 + pick(random, height / 2);
        fill(x0, y0, w, h, 255, 255, 255);
        for (uint32_t t = 0; t < 28; ++t) { // title bar gradient
            const auto shade = uint8_t(60 + t * 3);
            fill(x0, y0 + t, w, 1, shade, uint8_t(shade + 30), 200);
        }
        for (uint32_t line = y0 + 40; line + 12 < y0 + h; line += 18) { // lines of text
            for (uint32_t x = x0 + 10; x + 8 < x0 + w - 10; x += 7) {
                if (pick(random, 5) != 0) {
                    fill(x, line + pick(random, 3), 2 + pick(random, 4), 6 + pick(random, 5), 30,
                         30, 40);
                }
            }
        }
    }
    return pixels;
}

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::vector<uint8_t> encode(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                            uint32_t channels) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToVector, nullptr);
    png_set_IHDR(png, info, width, height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y) {
        png_write_row(png, pixels.data() + size_t(y) * width * channels);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace

const BenchPicture& benchPicture(PictureKind kind, uint32_t width, uint32_t height,
                                 uint32_t channels) {
    static std::map<std::tuple<int, uint32_t, uint32_t, uint32_t>, std::unique_ptr<BenchPicture>>
        made;
    auto& slot = made[{int(kind), width, height, channels}];
    if (!slot) {
        const auto pixels = kind == PictureKind::photo ? photoPixels(width, height, channels)
                                                       : screenshotPixels(width, height, channels);
        slot = std::make_unique<BenchPicture>(
            BenchPicture{std::string(kind == PictureKind::photo ? "photo" : "screenshot") +
                             (channels == 4 ? "-rgba" : "-rgb"),
                         width, height, channels, encode(pixels, width, height, channels)});
    }
    return *slot;
}

std::vector<uint8_t> idatStream(const std::vector<uint8_t>& png) {
    std::vector<uint8_t> stream;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                                uint32_t(png[at + 2]) << 8 | png[at + 3];
        if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0) {
            stream.insert(stream.end(), png.begin() + long(at + 8),
                          png.begin() + long(at + 8 + length));
        }
        at += 12 + size_t(length);
    }
    return stream;
}
