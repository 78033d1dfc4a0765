#include "bmp_file.h"

#include <cstring>

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

uint64_t bmpFileSize(const PngDib& dib) {
    return 14 + 40 + uint64_t(colourTableEntries(dib.info.header)) * 4 + dib.bits.size();
}

} // namespace

bool fitsBmpFile(const PngDib& dib) {
    return bmpFileSize(dib) <= 0xFFFFFFFFu;
}

std::vector<uint8_t> encodeBmpFile(const PngDib& dib) {
    const uint32_t tableBytes = colourTableEntries(dib.info.header) * 4;
    const uint32_t offset = 14 + 40 + tableBytes;
    std::vector<uint8_t> bytes;
    bytes.reserve(offset + dib.bits.size());
    bytes.push_back('B');
    bytes.push_back('M');
    putLittleEndian(bytes, static_cast<uint32_t>(offset + dib.bits.size()), 4);
    putLittleEndian(bytes, 0, 4);
    putLittleEndian(bytes, offset, 4);
    const auto* header = reinterpret_cast<const uint8_t*>(&dib.info.header);
    bytes.insert(bytes.end(), header, header + 40);
    const auto* table = reinterpret_cast<const uint8_t*>(dib.info.colours);
    bytes.insert(bytes.end(), table, table + tableBytes);
    bytes.insert(bytes.end(), dib.bits.begin(), dib.bits.end());
    return bytes;
}
