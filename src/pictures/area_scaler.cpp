#include "pictures/area_scaler.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "pictures/picture_header.h"

namespace {

AreaSpan spanOf(int32_t at, int32_t source, int32_t scaled) {
    const int64_t begin = int64_t(at) * source;
    const int64_t end = begin + source;
    const auto first = static_cast<int32_t>(begin / scaled);
    const auto last = static_cast<int32_t>((end - 1) / scaled);
    if (first == last) {
        return {first, 1, static_cast<uint32_t>(source), 0};
    }
    return {first, last - first + 1, static_cast<uint32_t>(int64_t(first + 1) * scaled - begin),
            static_cast<uint32_t>(end - int64_t(last) * scaled)};
}

// The vertical pass for two source rows at once: sums[k] (+)= row0[k] * weight0 + row1[k] *
// weight1, the byte pairs multiplied and added by one instruction (weights below 2^15).
template <bool add>
void addRowPair(uint32_t* sums, const uint8_t* row0, const uint8_t* row1, uint32_t weight0,
                uint32_t weight1, size_t length) {
    const __m128i weights = _mm_set1_epi32(static_cast<int>(weight0 | weight1 << 16));
    const __m128i zero = _mm_setzero_si128();
    size_t k = 0;
    for (; k + 16 <= length; k += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row0 + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row1 + k));
        const __m128i low = _mm_unpacklo_epi8(a, b);
        const __m128i high = _mm_unpackhi_epi8(a, b);
        const __m128i products[4] = {_mm_madd_epi16(_mm_unpacklo_epi8(low, zero), weights),
                                     _mm_madd_epi16(_mm_unpackhi_epi8(low, zero), weights),
                                     _mm_madd_epi16(_mm_unpacklo_epi8(high, zero), weights),
                                     _mm_madd_epi16(_mm_unpackhi_epi8(high, zero), weights)};
        for (int part = 0; part < 4; ++part) {
            auto* to = reinterpret_cast<__m128i*>(sums + k + 4 * part);
            _mm_storeu_si128(to, add ? _mm_add_epi32(_mm_loadu_si128(to), products[part])
                                     : products[part]);
        }
    }
    for (; k < length; ++k) {
        const uint32_t product = row0[k] * weight0 + row1[k] * weight1;
        sums[k] = add ? sums[k] + product : product;
    }
}

// The exact mean's nearest whole number, halves up, from the exact weighted sum (a double holds
// sums below 2^53 exactly): one multiplication by the inverse of twice the total weight. Its
// error is below 2^-44, and a quotient that is not whole lies at least 1 / (2 * total) >= 2^-27
// from the next whole number (totals are within the picture budget, 2^26), so adding 2^-36
// before truncating makes every quotient exact.
struct Rounding {
    double total;
    double inverse; // 1 / (2 * total)
    __m128d operator()(__m128d sum) const {
        const __m128d twice = _mm_add_pd(sum, sum);
        return _mm_add_pd(_mm_mul_pd(_mm_add_pd(twice, _mm_set1_pd(total)), _mm_set1_pd(inverse)),
                          _mm_set1_pd(0x1p-36));
    }
};

// Along a scaled row: each pixel's columns, each by its weight, four channels at a time in two
// pairs (a pixel of three reads one byte of the next, weighed by nothing and written nowhere;
// the sums have room for it).
void writeScaledRow(const uint32_t* sums, const std::vector<AreaSpan>& columns, int32_t channels,
                    int32_t scaledWidth, const Rounding& rounded, uint8_t* out) {
    const auto wholeColumn = static_cast<double>(scaledWidth);
    for (const AreaSpan& span : columns) {
        const uint32_t* column = sums + size_t(span.first) * channels;
        __m128d low = _mm_setzero_pd();
        __m128d high = _mm_setzero_pd();
        for (int32_t i = 0; i < span.count; ++i) {
            const double weight = i == 0                ? span.firstWeight
                                  : i == span.count - 1 ? span.lastWeight
                                                        : wholeColumn;
            const __m128i values =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + i * channels));
            const __m128d w = _mm_set1_pd(weight);
            low = _mm_add_pd(low, _mm_mul_pd(_mm_cvtepi32_pd(values), w));
            high = _mm_add_pd(high, _mm_mul_pd(_mm_cvtepi32_pd(_mm_srli_si128(values, 8)), w));
        }
        const __m128i levels =
            _mm_unpacklo_epi64(_mm_cvttpd_epi32(rounded(low)), _mm_cvttpd_epi32(rounded(high)));
        const __m128i words = _mm_packs_epi32(levels, levels);
        const int32_t pixel = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out, &pixel, 4);
        if (channels == 3) {
            out[3] = 0;
        }
        out += 4;
    }
}

// The columns each pixel of the area's part covers, and room for one scaled row's sums.
bool prepareColumns(int32_t sourceWidth, int32_t channels, const ScaledArea& area,
                    std::vector<AreaSpan>& columns, std::vector<uint32_t>& sums) {
    try {
        sums.assign(size_t(sourceWidth) * channels + 4, 0); // room for a four-channel read
        columns.clear();
        columns.reserve(size_t(area.right - area.left));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int32_t x = area.left; x < area.right; ++x) {
        columns.push_back(spanOf(x, sourceWidth, area.scaledWidth));
    }
    return true;
}

// Columns left to right of a source row, as four-byte pixels: a picture of the scaled size.
void copyRow(const uint8_t* row, int32_t channels, int32_t left, int32_t right, uint8_t* out) {
    const uint8_t* in = row + ptrdiff_t(left) * channels;
    for (int32_t x = left; x < right; ++x, in += channels, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = channels == 4 ? in[3] : 0;
    }
}

Rounding roundingFor(int32_t sourceWidth, int32_t sourceHeight) {
    const double total = double(sourceWidth) * double(sourceHeight);
    return {total, 1.0 / (2 * total)};
}

} // namespace

bool canScaleByArea(const PixelRows& source, int32_t scaledWidth, int32_t scaledHeight) {
    return source.first != nullptr && (source.bytesPerPixel == 3 || source.bytesPerPixel == 4) &&
           source.width > 0 && source.height > 0 &&
           fitsPictureBudget(uint32_t(source.width), uint32_t(source.height)) && scaledWidth > 0 &&
           scaledHeight > 0 && scaledWidth <= source.width && scaledHeight <= source.height;
}

bool scaleRowsByArea(const PixelRows& source, const ScaledArea& area, int32_t fromRow,
                     int32_t toRow) {
    const int32_t channels = source.bytesPerPixel;
    if (source.width == area.scaledWidth && source.height == area.scaledHeight) {
        // The same size: each pixel is its own mean, copied.
        for (int32_t y = fromRow; y < toRow; ++y) {
            copyRow(source.first + y * source.stride, channels, area.left, area.right,
                    area.first + (y - area.top) * area.stride);
        }
        return true;
    }
    const size_t rowLength = size_t(source.width) * channels;
    std::vector<uint32_t> columnSums; // one scaled row's source columns, weighted
    std::vector<AreaSpan> columns;
    if (!prepareColumns(source.width, channels, area, columns, columnSums)) {
        return false;
    }
    const auto wholeRow = static_cast<uint32_t>(area.scaledHeight);
    const Rounding rounded = roundingFor(source.width, source.height);
    uint32_t* sums = columnSums.data();
    // Pairs of rows need weights below 2^15; taller scaled pictures go one row at a time.
    const bool pairs = area.scaledHeight < 0x8000;

    for (int32_t y = fromRow; y < toRow; ++y) {
        // Down the columns: the source rows this row covers, each by its weight.
        const AreaSpan rows = spanOf(y, source.height, area.scaledHeight);
        auto rowAt = [&](int32_t r) { return source.first + (rows.first + r) * source.stride; };
        auto weightAt = [&](int32_t r) {
            return r == 0 ? rows.firstWeight : r == rows.count - 1 ? rows.lastWeight : wholeRow;
        };
        for (int32_t r = 0; r < rows.count; r += pairs ? 2 : 1) {
            const bool single = !pairs || r + 1 == rows.count; // the other row weighs nothing
            const uint8_t* second = single ? rowAt(r) : rowAt(r + 1);
            const uint32_t secondWeight = single ? 0 : weightAt(r + 1);
            if (!pairs) {
                for (size_t k = 0; k < rowLength; ++k) {
                    sums[k] = (r == 0 ? 0 : sums[k]) + weightAt(r) * rowAt(r)[k];
                }
            } else if (r == 0) {
                addRowPair<false>(sums, rowAt(r), second, weightAt(r), secondWeight, rowLength);
            } else {
                addRowPair<true>(sums, rowAt(r), second, weightAt(r), secondWeight, rowLength);
            }
        }
        writeScaledRow(sums, columns, channels, area.scaledWidth, rounded,
                       area.first + (y - area.top) * area.stride);
    }
    return true;
}

namespace {

// Rows fromRow to toRow in bands, stop looked at between them.
bool scaleBandsByArea(const PixelRows& source, const ScaledArea& area, int32_t fromRow,
                      int32_t toRow, const std::atomic<bool>* stop) {
    constexpr int32_t bandRows = 32;
    for (int32_t row = fromRow; row < toRow; row += bandRows) {
        if ((stop != nullptr && stop->load()) ||
            !scaleRowsByArea(source, area, row, std::min(toRow, row + bandRows))) {
            return false;
        }
    }
    return true;
}

} // namespace

bool scaleByArea(const PixelRows& source, const ScaledArea& area, int threads,
                 const std::atomic<bool>* stop) {
    const int32_t rows = area.bottom - area.top;
    const int parts = std::clamp(threads, 1, std::max(1, rows / 64)); // a thread for a few rows
    const auto rowOf = [&](int part) {
        return area.top + static_cast<int32_t>(int64_t(rows) * part / parts);
    };
    std::vector<char> done(size_t(parts), 0);
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(size_t(parts));
        for (int part = 1; part < parts; ++part) {
            helpers.emplace_back([&, part] {
                done[size_t(part)] =
                    scaleBandsByArea(source, area, rowOf(part), rowOf(part + 1), stop);
            });
        }
    } catch (const std::exception&) {
        // Fewer threads than asked for: this one does the rest.
    }
    done[0] = scaleBandsByArea(source, area, rowOf(0), rowOf(1), stop);
    for (size_t part = helpers.size() + 1; part < size_t(parts); ++part) {
        done[part] = scaleBandsByArea(source, area, rowOf(int(part)), rowOf(int(part) + 1), stop);
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return std::all_of(done.begin(), done.end(), [](char ok) { return ok != 0; });
}

AreaScalerByRows::AreaScalerByRows(int32_t width, int32_t height, int32_t bytesPerPixel,
                                   const ScaledArea& area)
    : width_(width), height_(height), channels_(bytesPerPixel), area_(area) {
    ready_ = prepareColumns(width, bytesPerPixel, area, columns_, sums_);
}

void AreaScalerByRows::addRow(const uint8_t* row) {
    if (width_ == area_.scaledWidth && height_ == area_.scaledHeight) {
        if (ready_ && sourceRow_ >= area_.top && sourceRow_ < area_.bottom) {
            copyRow(row, channels_, area_.left, area_.right,
                    area_.first + (sourceRow_ - area_.top) * area_.stride);
        }
        ++sourceRow_;
        return;
    }
    const size_t rowLength = size_t(width_) * channels_;
    const auto wholeRow = static_cast<uint32_t>(area_.scaledHeight);
    // A source row lies in one scaled row, or ends one and begins the next.
    while (ready_ && scaledRow_ < area_.bottom) {
        const AreaSpan rows = spanOf(scaledRow_, height_, area_.scaledHeight);
        const int32_t r = sourceRow_ - rows.first;
        if (scaledRow_ >= area_.top) { // rows above the area are passed over
            const uint32_t weight = r == 0                ? rows.firstWeight
                                    : r == rows.count - 1 ? rows.lastWeight
                                                          : wholeRow;
            if (area_.scaledHeight >= 0x8000) { // weights too large for the pairs' products
                for (size_t k = 0; k < rowLength; ++k) {
                    sums_[k] = (r == 0 ? 0 : sums_[k]) + weight * row[k];
                }
            } else if (r == 0) {
                addRowPair<false>(sums_.data(), row, row, weight, 0, rowLength);
            } else {
                addRowPair<true>(sums_.data(), row, row, weight, 0, rowLength);
            }
        }
        if (r != rows.count - 1) {
            break;
        }
        if (scaledRow_ >= area_.top) {
            writeScaledRow(sums_.data(), columns_, channels_, area_.scaledWidth,
                           roundingFor(width_, height_),
                           area_.first + (scaledRow_ - area_.top) * area_.stride);
        }
        ++scaledRow_;
        if (scaledRow_ >= area_.scaledHeight ||
            spanOf(scaledRow_, height_, area_.scaledHeight).first != sourceRow_) {
            break;
        }
    }
    ++sourceRow_;
}
