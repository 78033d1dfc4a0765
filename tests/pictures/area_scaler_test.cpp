#include "pictures/area_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Picture {
    int32_t width, height, bytesPerPixel;
    std::vector<uint8_t> bytes;
    PixelRows rows(bool bottomUp = false) const {
        const ptrdiff_t stride = ptrdiff_t(width) * bytesPerPixel;
        return bottomUp ? PixelRows{bytes.data() + (height - 1) * stride, -stride, width, height,
                                    bytesPerPixel}
                        : PixelRows{bytes.data(), stride, width, height, bytesPerPixel};
    }
    uint8_t at(int32_t x, int32_t y, int32_t c) const {
        return bytes[(size_t(y) * width + x) * bytesPerPixel + c];
    }
};

Picture noise(int32_t width, int32_t height, int32_t bytesPerPixel, uint32_t seed) {
    std::mt19937 random(seed);
    Picture picture{width, height, bytesPerPixel,
                    std::vector<uint8_t>(size_t(width) * height * bytesPerPixel)};
    for (uint8_t& byte : picture.bytes) {
        byte = static_cast<uint8_t>(random() % 4 == 0 ? 255 * (random() % 2)
                                                      : random()); // extremes too
    }
    return picture;
}

// The mean of the source under each scaled pixel, worked out the other way round: every source
// pixel spreads its value over the scaled pixels it overlaps, by the overlap's area, as the
// two pictures lie over the same square; the sum is then rounded once, halves up.
std::vector<uint8_t> model(const Picture& from, int32_t width, int32_t height) {
    const int32_t channels = from.bytesPerPixel;
    std::vector<uint64_t> sums(size_t(width) * height * channels);
    auto overlap = [](int64_t a, int64_t b, int64_t c, int64_t d) {
        return std::max<int64_t>(0, std::min(b, d) - std::max(a, c));
    };
    for (int32_t y = 0; y < from.height; ++y) {
        for (int32_t x = 0; x < from.width; ++x) {
            for (int32_t sy = 0; sy < height; ++sy) {
                const int64_t dy =
                    overlap(int64_t(y) * height, int64_t(y + 1) * height, int64_t(sy) * from.height,
                            int64_t(sy + 1) * from.height);
                for (int32_t sx = 0; dy > 0 && sx < width; ++sx) {
                    const int64_t dx =
                        overlap(int64_t(x) * width, int64_t(x + 1) * width,
                                int64_t(sx) * from.width, int64_t(sx + 1) * from.width);
                    for (int32_t c = 0; c < channels; ++c) {
                        sums[(size_t(sy) * width + sx) * channels + c] +=
                            uint64_t(dx * dy) * from.at(x, y, c);
                    }
                }
            }
        }
    }
    const uint64_t total = uint64_t(from.width) * from.height;
    std::vector<uint8_t> scaled(size_t(width) * height * 4, 0);
    for (size_t i = 0; i < sums.size(); ++i) {
        scaled[i / channels * 4 + i % channels] =
            static_cast<uint8_t>((2 * sums[i] + total) / (2 * total));
    }
    return scaled;
}

// The scaler's output for the part of a width x height picture from (left, top) to
// (right, bottom), in a buffer of the whole picture's size, zero elsewhere.
std::vector<uint8_t> scaledBy(const PixelRows& rows, int32_t width, int32_t height, int threads,
                              int32_t left = 0, int32_t top = 0, int32_t right = -1,
                              int32_t bottom = -1) {
    right = right < 0 ? width : right;
    bottom = bottom < 0 ? height : bottom;
    std::vector<uint8_t> out(size_t(width) * height * 4, 0);
    const ScaledArea area{out.data() + (size_t(top) * width + left) * 4,
                          ptrdiff_t(width) * 4,
                          width,
                          height,
                          left,
                          top,
                          right,
                          bottom};
    EXPECT_TRUE(scaleByArea(rows, area, threads));
    return out;
}

// The same, fed to the row-by-row scaler one source row at a time.
std::vector<uint8_t> scaledByRows(const Picture& from, int32_t width, int32_t height,
                                  int32_t left = 0, int32_t top = 0, int32_t right = -1,
                                  int32_t bottom = -1) {
    right = right < 0 ? width : right;
    bottom = bottom < 0 ? height : bottom;
    std::vector<uint8_t> out(size_t(width) * height * 4, 0);
    AreaScalerByRows scaler(from.width, from.height, from.bytesPerPixel,
                            {out.data() + (size_t(top) * width + left) * 4, ptrdiff_t(width) * 4,
                             width, height, left, top, right, bottom});
    EXPECT_TRUE(scaler.ready());
    for (int32_t y = 0; y < from.height; ++y) {
        scaler.addRow(from.bytes.data() + size_t(y) * from.width * from.bytesPerPixel);
    }
    return out;
}

} // namespace

TEST(AreaScaler, MatchesTheModelForEveryRatioBothLayoutsAndChannelCounts) {
    struct Case {
        int32_t fromWidth, fromHeight, width, height;
    };
    const Case cases[] = {{8, 6, 8, 6},    {8, 6, 4, 3},     {9, 9, 3, 3},    {7, 5, 3, 2},
                          {97, 61, 13, 7}, {61, 97, 60, 96}, {50, 3, 7, 3},   {3, 50, 3, 7},
                          {33, 17, 1, 1},  {1, 1, 1, 1},     {200, 2, 199, 1}};
    uint32_t seed = 1;
    for (const Case& c : cases) {
        for (int32_t bytesPerPixel : {3, 4}) {
            const Picture from = noise(c.fromWidth, c.fromHeight, bytesPerPixel, seed++);
            const std::vector<uint8_t> expected = model(from, c.width, c.height);
            SCOPED_TRACE(testing::Message()
                         << c.fromWidth << "x" << c.fromHeight << " to " << c.width << "x"
                         << c.height << ", " << bytesPerPixel << " bytes");
            ASSERT_TRUE(canScaleByArea(from.rows(), c.width, c.height));
            EXPECT_EQ(scaledBy(from.rows(), c.width, c.height, 1), expected);
            EXPECT_EQ(scaledByRows(from, c.width, c.height), expected);
            // Rows stored bottom-up are the same picture.
            Picture flipped = from;
            for (int32_t y = 0; y < from.height; ++y) {
                std::copy_n(from.bytes.begin() + ptrdiff_t(y) * from.width * bytesPerPixel,
                            from.width * bytesPerPixel,
                            flipped.bytes.begin() +
                                ptrdiff_t(from.height - 1 - y) * from.width * bytesPerPixel);
            }
            EXPECT_EQ(scaledBy(flipped.rows(true), c.width, c.height, 1), expected);
        }
    }
}

TEST(AreaScaler, ThreadsPartsAndRowByRowGiveTheSamePixels) {
    const Picture from = noise(1000, 700, 4, 7);
    const std::vector<uint8_t> whole = scaledBy(from.rows(), 333, 250, 1);
    EXPECT_EQ(scaledBy(from.rows(), 333, 250, 2), whole);
    EXPECT_EQ(scaledBy(from.rows(), 333, 250, 3), whole);
    // A part of the scaled picture, as when it overhangs the screen, is that part of the whole.
    const std::vector<uint8_t> part = scaledBy(from.rows(), 333, 250, 2, 40, 30, 300, 201);
    EXPECT_EQ(scaledByRows(from, 333, 250, 40, 30, 300, 201), part);
    for (int32_t y = 0; y < 250; ++y) {
        for (int32_t x = 0; x < 333; ++x) {
            const bool inside = x >= 40 && x < 300 && y >= 30 && y < 201;
            for (int32_t c = 0; c < 4; ++c) {
                const size_t i = (size_t(y) * 333 + x) * 4 + c;
                ASSERT_EQ(part[i], inside ? whole[i] : 0) << x << "," << y;
            }
        }
    }
}
