// Fuzz target: file bytes in, a monitor's canvas out, along the program's JPEG path: the
// header check that refuses what the picture budget does not allow, the scale that covers a
// 1920 x 1080 monitor once the picture is turned upright, and the decode, its rows scaled by
// area onto the canvas as they come; and a whole decode at an eighth of the size, as the
// launcher's check at pick time makes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "jpeg/jpeg_picture.h"
#include "pictures/area_scaler.h"
#include "pictures/exif_orientation.h"
#include "pictures/picture_header.h"

namespace {

constexpr int32_t canvasWidth = 1920;
constexpr int32_t canvasHeight = 1080;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PictureDimensions declared;
    if (pictureFormatOf(data, size) != PictureFormat::jpeg ||
        !readPictureDimensions(data, size, declared) ||
        !fitsPictureBudget(declared.width, declared.height)) {
        return 0; // refused before it is decoded, as the program refuses it
    }
    decodeJpeg(data, size, 1, maxJpegDecoderBytes, maxPicturePixels);
    JpegFacts facts{};
    if (jpegReadFacts(data, size, &facts) != jpegDone) {
        return 0;
    }
    uint32_t wantedWidth = canvasWidth, wantedHeight = canvasHeight;
    if (orientationSwapsSides(jpegOrientation(data, size))) {
        std::swap(wantedWidth, wantedHeight);
    }
    const unsigned eighths =
        jpegCoveringEighths(facts.width, facts.height, std::min(wantedWidth, facts.width),
                            std::min(wantedHeight, facts.height));
    // The part of the monitor the picture covers, at most the whole of it.
    std::vector<uint32_t> canvas;
    std::vector<AreaScalerByRows> scaler;
    uint32_t rows = 0, expected = 0;
    const auto start = [&](uint32_t width, uint32_t height) noexcept {
        const int32_t shownWidth = std::min(canvasWidth, int32_t(width));
        const int32_t shownHeight = std::min(canvasHeight, int32_t(height));
        canvas.resize(size_t(shownWidth) * size_t(shownHeight));
        scaler.emplace_back(int32_t(width), int32_t(height), 4,
                            ScaledArea{reinterpret_cast<uint8_t*>(canvas.data()), shownWidth * 4,
                                       shownWidth, shownHeight, 0, 0, shownWidth, shownHeight});
        expected = height;
        return scaler.back().ready();
    };
    const auto addRow = [&](const uint32_t* row) noexcept {
        scaler.back().addRow(reinterpret_cast<const uint8_t*>(row));
        ++rows;
    };
    const JpegOutcome outcome =
        decodeJpegRows(data, size, eighths, maxJpegDecoderBytes, start, addRow);
    if (outcome == jpegDone && rows != expected) {
        __builtin_trap(); // a finished decode hands on every row
    }
    // Read every pixel, so that the sanitizers see any that were not written.
    volatile uint32_t sum = 0;
    for (uint32_t pixel : canvas) {
        sum = sum + pixel;
    }
    return 0;
}
