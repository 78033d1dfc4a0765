// Scaling a picture down by averaging areas: each pixel of the smaller picture is the mean of
// the part of the larger one it covers, each source pixel weighted by how much of it lies
// inside, rounded to the nearest level (halves up). A photo many times the screen's size then
// shows no shimmer or moire, and the result is the same on every processor and thread count.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

// Rows of pixels in memory: 3 (BGR) or 4 (BGRA) bytes a pixel, every channel averaged alike.
struct PixelRows {
    const uint8_t* first; // the top row
    ptrdiff_t stride;     // bytes from a row to the one below (negative for bottom-up rows)
    int32_t width;
    int32_t height;
    int32_t bytesPerPixel;
};

// Where the scaled picture goes: a picture of scaledWidth x scaledHeight (at most the source's
// size each way) whose part from (left, top) to (right, bottom) is written, 4 bytes a pixel,
// starting at `first` (the pixel at left, top) with `stride` bytes from row to row.
struct ScaledArea {
    uint8_t* first;
    ptrdiff_t stride;
    int32_t scaledWidth;
    int32_t scaledHeight;
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Distances are counted in units that make both pictures' pixels whole: a source pixel is
// `scaled` units long, a scaled pixel `source` units, so every weight is a whole number. A
// scaled pixel covers source pixels first to first + count - 1: the first and last in part
// (their weights), the ones between wholly (weight `scaled`).
struct AreaSpan {
    int32_t first;
    int32_t count;
    uint32_t firstWeight;
    uint32_t lastWeight;
};

// Whether scaleByArea can make a picture of that size from the source: smaller or equal
// each way, the sizes within the pictures the program shows, a channel count it reads.
bool canScaleByArea(const PixelRows& source, int32_t scaledWidth, int32_t scaledHeight);

// Writes rows fromRow to toRow (of the scaled picture, within top and bottom) of the area;
// false when the memory for the work cannot be had. Rows are independent, so that threads may
// share the work with the same result.
bool scaleRowsByArea(const PixelRows& source, const ScaledArea& area, int32_t fromRow,
                     int32_t toRow);

// The whole area, the rows shared among `threads` threads (one: this thread alone); false when
// the memory for the work cannot be had, or once stop (when given) turns true, which each
// thread looks at between bands of a few rows.
bool scaleByArea(const PixelRows& source, const ScaledArea& area, int threads,
                 const std::atomic<bool>* stop = nullptr);

// The same scaling fed the source one row at a time, top first, as a decoder makes its rows:
// each scaled row of the area is written as soon as the last source row it covers has come,
// so that the source is never whole in memory. The result is scaleByArea's.
class AreaScalerByRows {
  public:
    // For a source of width x height and bytesPerPixel, which canScaleByArea must take.
    AreaScalerByRows(int32_t width, int32_t height, int32_t bytesPerPixel, const ScaledArea& area);
    // False when the memory for the work could not be had; rows are then ignored.
    bool ready() const { return ready_; }
    // The next source row, width x bytesPerPixel bytes.
    void addRow(const uint8_t* row);

  private:
    int32_t width_;
    int32_t height_;
    int32_t channels_;
    ScaledArea area_;
    std::vector<AreaSpan> columns_;
    std::vector<uint32_t> sums_;
    int32_t sourceRow_ = 0;
    int32_t scaledRow_ = 0;
    bool ready_ = false;
};
