#include "reference_ripple.h"

namespace {

int32_t wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int64_t floorShift(int64_t value, int bits) {
    const int64_t divisor = int64_t{1} << bits;
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

ReferenceRipple::ReferenceRipple(int32_t w, int32_t h)
    : width(w), height(h), source(size_t(w) * h), output(size_t(w) * h) {
    heights[0].assign(size_t(w) * h, 0);
    heights[1].assign(size_t(w) * h, 0);
}

void ReferenceRipple::drop(int32_t x, int32_t y, int32_t radius, int32_t strength) {
    if (radius <= 0) {
        return; // a disc of no radius holds no cell
    }
    std::vector<int32_t>& field = heights[1 - current];
    for (int64_t row = 1; row <= height - 2; ++row) {
        for (int64_t column = 1; column <= width - 2; ++column) {
            const int64_t kx = column - x;
            const int64_t ky = row - y;
            if (kx * kx + ky * ky < int64_t{radius} * radius) {
                int32_t& cell = field[size_t(row * width + column)];
                cell = wrap(int64_t{cell} + strength);
            }
        }
    }
}

void ReferenceRipple::step() {
    std::vector<int32_t>& a = heights[current];
    const std::vector<int32_t>& b = heights[1 - current];
    const int64_t n = int64_t{width} * height;
    const int64_t rows = height == 700 ? 699 : height;
    const int64_t end = int64_t{width} * (rows - 1);
    auto at = [&](int64_t index, int64_t centre) {
        return index < n ? a[size_t(index)] : a[size_t(centre)];
    };

    if (width + 1 < end && width >= 3) {
        int64_t start = width + 1;
        while (start < end) {
            for (int64_t i = start; i < start + width - 2; ++i) {
                const int32_t dx = wrap(int64_t{a[size_t(i)]} - at(i + 1, i));
                const int32_t dy = wrap(int64_t{a[size_t(i)]} - at(i + width, i));
                const int32_t j =
                    wrap(i + wrap(int64_t{width} * floorShift(dy, 4)) + floorShift(dx, 4));
                if (j > 0 && j < n) {
                    const uint32_t pixel = source[size_t(j)];
                    uint32_t result = 0;
                    for (int shift : {16, 8, 0}) {
                        int32_t channel = wrap(int64_t((pixel >> shift) & 0xFF) - dx);
                        channel = channel < 0 ? 0 : channel > 255 ? 255 : channel;
                        result |= uint32_t(channel) << shift;
                    }
                    output[size_t(i)] = result;
                }
            }
            start += height >= 500 ? width : width - 2;
        }
        for (int64_t r = 1; r * width + 1 < end; ++r) {
            for (int64_t c = 1; c <= width - 2; ++c) {
                const int64_t i = r * width + c;
                int64_t sum = 0;
                for (int64_t neighbour : {i - width - 1, i - width, i - width + 1, i - 1, i + 1,
                                          i + width - 1, i + width, i + width + 1}) {
                    sum = wrap(sum + b[size_t(neighbour)]);
                }
                const int32_t v = wrap(floorShift(sum, 2) - a[size_t(i)]);
                a[size_t(i)] = wrap(int64_t{v} - floorShift(v, 7));
            }
        }
    }
    current = 1 - current;
}
