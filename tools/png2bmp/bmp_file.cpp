#include "bmp_file.h"

namespace {

void putLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint32_t colourTableEntries(const BitmapInfoHeader& header) {
    if (header.biClrUsed != 0) {
        return header.biClrUsed;
    }
    return header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
}

uint32_t headersSize(const PngBitmapInfo& info) {
    return 14 + 40 + colourTableEntries(info.header) * 4;
}

} // namespace

bool fitsBmpFile(const PngBitmapInfo& info, uint64_t rowsSize) {
    return headersSize(info) + rowsSize <= 0xFFFFFFFFu;
}

std::vector<uint8_t> bmpFileHeaders(const PngBitmapInfo& info, uint64_t rowsSize) {
    const uint32_t offset = headersSize(info);
    std::vector<uint8_t> bytes;
    bytes.reserve(offset);
    bytes.push_back('B');
    bytes.push_back('M');
    putLittleEndian(bytes, static_cast<uint32_t>(offset + rowsSize), 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, offset, 4);
    const auto* header = reinterpret_cast<const uint8_t*>(&info.header);
    bytes.insert(bytes.end(), header, header + 40);
    const auto* table = reinterpret_cast<const uint8_t*>(info.colours);
    bytes.insert(bytes.end(), table, table + (offset - 54));
    return bytes;
}

std::vector<uint8_t> encodeBmpFile(const PngDib& dib) {
    std::vector<uint8_t> bytes = bmpFileHeaders(dib.info, dib.bits.size());
    bytes.insert(bytes.end(), dib.bits.begin(), dib.bits.end());
    return bytes;
}
