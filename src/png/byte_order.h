// Unsigned integers read from bytes in either byte order, as file formats store them.
#pragma once

#include <cstdint>

inline uint32_t bigEndian16(const uint8_t* at) {
    return uint32_t(at[0]) << 8 | at[1];
}

inline uint32_t bigEndian32(const uint8_t* at) {
    return bigEndian16(at) << 16 | bigEndian16(at + 2);
}

inline uint64_t bigEndian64(const uint8_t* at) {
    return uint64_t(bigEndian32(at)) << 32 | bigEndian32(at + 4);
}

inline uint32_t littleEndian16(const uint8_t* at) {
    return uint32_t(at[1]) << 8 | at[0];
}

inline uint32_t littleEndian24(const uint8_t* at) {
    return uint32_t(at[2]) << 16 | littleEndian16(at);
}

inline uint32_t littleEndian32(const uint8_t* at) {
    return littleEndian16(at + 2) << 16 | littleEndian16(at);
}

// In the byte order a file names for itself (TIFF and EXIF data).
inline uint32_t ordered16(const uint8_t* at, bool bigEndian) {
    return bigEndian ? bigEndian16(at) : littleEndian16(at);
}

inline uint32_t ordered32(const uint8_t* at, bool bigEndian) {
    return bigEndian ? bigEndian32(at) : littleEndian32(at);
}
