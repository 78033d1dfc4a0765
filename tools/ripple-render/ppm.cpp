#include "ppm.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

class HeaderReader {
  public:
    explicit HeaderReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    // Reads one decimal field after whitespace and comments.
    bool number(int64_t& value) {
        skipSpaceAndComments();
        size_t digits = 0;
        value = 0;
        while (pos_ < bytes_.size() && std::isdigit(bytes_[pos_]) && digits < 10) {
            value = value * 10 + (bytes_[pos_++] - '0');
            ++digits;
        }
        return digits > 0 && (pos_ >= bytes_.size() || !std::isdigit(bytes_[pos_]));
    }

    // The header ends with exactly one whitespace byte before the pixels.
    bool endOfHeader() {
        if (pos_ >= bytes_.size() || !std::isspace(bytes_[pos_])) {
            return false;
        }
        ++pos_;
        return true;
    }

    size_t position() const { return pos_; }

  private:
    void skipSpaceAndComments() {
        while (pos_ < bytes_.size()) {
            if (std::isspace(bytes_[pos_])) {
                ++pos_;
            } else if (bytes_[pos_] == '#') {
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r') {
                    ++pos_;
                }
            } else {
                break;
            }
        }
    }

    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 2;
};

} // namespace

bool parsePpm(const std::vector<uint8_t>& bytes, RgbPicture& picture, std::string& error) {
    if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') {
        error = "not a binary PPM (P6) picture";
        return false;
    }
    HeaderReader header(bytes);
    int64_t width = 0, height = 0, maxval = 0;
    if (!header.number(width) || !header.number(height) || !header.number(maxval) ||
        !header.endOfHeader()) {
        error = "damaged PPM header";
        return false;
    }
    if (maxval != 255) {
        error = "only PPM pictures with maxval 255 are supported";
        return false;
    }
    if (width < 1 || height < 1 || width > std::numeric_limits<int32_t>::max() ||
        height > std::numeric_limits<int32_t>::max() ||
        width * height > std::numeric_limits<int32_t>::max() / 4) {
        error = "picture size out of range";
        return false;
    }
    const size_t count = static_cast<size_t>(width * height);
    if (bytes.size() - header.position() < count * 3) {
        error = "PPM pixel data is truncated";
        return false;
    }
    picture.width = static_cast<int32_t>(width);
    picture.height = static_cast<int32_t>(height);
    picture.pixels.resize(count);
    const uint8_t* rgb = bytes.data() + header.position();
    for (size_t i = 0; i < count; ++i, rgb += 3) {
        picture.pixels[i] = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    }
    return true;
}

std::vector<uint8_t> encodePpm(int32_t width, int32_t height, const uint32_t* pixels) {
    const std::string header =
        "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    bytes.reserve(bytes.size() + count * 3);
    for (size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<uint8_t>(pixels[i] >> 16));
        bytes.push_back(static_cast<uint8_t>(pixels[i] >> 8));
        bytes.push_back(static_cast<uint8_t>(pixels[i]));
    }
    return bytes;
}

bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}
