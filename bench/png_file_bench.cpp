// A PNG file made into a .bmp file, as png2bmp does it, beside the same work done with Wuffs:
// the file read into fresh memory, decoded into blue-green-red(-alpha) rows and the rows
// written to a file, so that each pays for the pages it touches and the copies around its
// decode. Arguments as png_bench's: kind (0 photo, 1 screenshot), size (0 for 1920 x 1080,
// 1 for 4096 x 4096), channels (3 or 4).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "png_to_bmp.h"
#include "bench_arguments.h"
#include "test_pictures.h"
#include "wuffs_png.h"

namespace {

// The picture as a file in the temporary folder, with a name for the .bmp file beside it;
// both removed afterwards.
class PictureFiles {
  public:
    explicit PictureFiles(const BenchPicture& p) {
        const auto folder = std::filesystem::temp_directory_path();
        const std::string stem = "pluvette-bench-" + std::to_string(p.width) + "-" +
                                 std::to_string(p.channels) + "-" + p.name;
        png = (folder / (stem + ".png")).string();
        bmp = (folder / (stem + ".bmp")).string();
        std::FILE* file = std::fopen(png.c_str(), "wb");
        if (file == nullptr || std::fwrite(p.png.data(), 1, p.png.size(), file) != p.png.size() ||
            std::fclose(file) != 0) {
            throw std::runtime_error("cannot write " + png);
        }
    }
    ~PictureFiles() {
        std::remove(png.c_str());
        std::remove(bmp.c_str());
    }
    PictureFiles(const PictureFiles&) = delete;
    // Each run writes a new file, as a conversion usually does: replacing one can make the
    // file system write the new one out at once (ext4 does), which is not what is measured.
    void removeOutput(benchmark::State& state) const {
        state.PauseTiming();
        std::remove(bmp.c_str());
        state.ResumeTiming();
    }
    PictureFiles& operator=(const PictureFiles&) = delete;

    std::string png;
    std::string bmp;
};

void fileToBmpOurs(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    const PictureFiles files(p);
    for (auto _ : state) {
        files.removeOutput(state);
        if (!writePngAsBmp(files.png.c_str(), files.bmp.c_str(), PNG_FORMAT_DEFAULT).empty()) {
            state.SkipWithError("png2bmp failed");
            break;
        }
    }
    countPixels(state, p);
}

std::unique_ptr<uint8_t[]> fileBytes(const std::string& path, size_t& size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    std::fseek(file, 0, SEEK_END);
    size = size_t(std::ftell(file));
    std::fseek(file, 0, SEEK_SET);
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
    const bool read = std::fread(bytes.get(), 1, size, file) == size;
    std::fclose(file);
    return read ? std::move(bytes) : nullptr;
}

void fileToBmpWuffs(benchmark::State& state) {
    const BenchPicture& p = pictureFor(state);
    const PictureFiles files(p);
    // The bench pictures' rows need no padding to whole 32-bit words.
    const size_t rowsSize = size_t(p.width) * p.channels * p.height;
    const size_t workSize = (size_t(p.width) * p.channels + 1) * p.height;
    PngBitmapInfo info{};
    info.header.biSize = 40;
    info.header.biWidth = int32_t(p.width);
    info.header.biHeight = -int32_t(p.height);
    info.header.biPlanes = 1;
    info.header.biBitCount = uint16_t(p.channels * 8);
    const std::vector<uint8_t> headers = bmpFileHeaders(info, rowsSize);
    std::vector<uint8_t> decoder(wuffsDecoderSize());
    for (auto _ : state) {
        files.removeOutput(state);
        size_t size = 0;
        const auto png = fileBytes(files.png, size);
        const std::unique_ptr<uint8_t[]> work(new uint8_t[workSize]);
        const std::unique_ptr<uint8_t[]> rows(new uint8_t[rowsSize]);
        if (png == nullptr || !wuffsDecodePng(png.get(), size, int(p.channels), rows.get(),
                                              rowsSize, work.get(), workSize, decoder.data())) {
            state.SkipWithError("Wuffs failed");
            break;
        }
        std::FILE* bmp = std::fopen(files.bmp.c_str(), "wb");
        const bool written =
            bmp != nullptr &&
            std::fwrite(headers.data(), 1, headers.size(), bmp) == headers.size() &&
            std::fwrite(rows.get(), 1, rowsSize, bmp) == rowsSize;
        if ((bmp != nullptr && std::fclose(bmp) != 0) || !written) {
            state.SkipWithError("cannot write the .bmp file");
            break;
        }
    }
    countPixels(state, p);
}

BENCHMARK(fileToBmpOurs)->Apply(pictures);
BENCHMARK(fileToBmpWuffs)->Apply(pictures);

} // namespace
