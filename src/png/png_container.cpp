#include <cstdlib>
#include <cstring>

#include "png/png_decoder.h"
#include "png/png_internal.h"

namespace {

constexpr uint32_t ihdrDataSize = 13;

bool isAcceptedPair(uint8_t colourType, uint8_t bitDepth) {
    switch (colourType) {
    case 0:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

// Chunk type letters with bit 5 of the first one cleared, so its case does not matter.
uint32_t classifyChunk(const uint8_t* type) {
    const uint8_t first = type[0] & 0xDF;
    auto is = [&](const char* name) {
        return first == uint8_t(name[0]) && type[1] == uint8_t(name[1]) &&
               type[2] == uint8_t(name[2]) && type[3] == uint8_t(name[3]);
    };
    if (is("IHDR")) {
        return PNG_CHUNK_IHDR;
    }
    if (is("IDAT")) {
        return PNG_CHUNK_IDAT;
    }
    if (is("PLTE")) {
        return PNG_CHUNK_PLTE;
    }
    if (is("IEND")) {
        return PNG_CHUNK_IEND;
    }
    return (type[0] & 0x20) != 0 ? PNG_CHUNK_OTHER : PNG_CHUNK_UNKNOWN_CRITICAL;
}

bool isTransparencyChunk(const uint8_t* chunk) {
    return std::memcmp(chunk + 4, "tRNS", 4) == 0;
}

uint32_t fail(PngDecoder* decoder, uint32_t error) {
    decoder->lastError = error;
    return 0;
}

// Bytes from pointer p to the end of the input.
uint64_t remaining(const PngDecoder* decoder, const uint8_t* p) {
    return uint64_t(decoder->inputSize) - uint64_t(p - decoder->inputData);
}

} // namespace

const Adam7Pass adam7Passes[8] = {
    {0, 0, 0, 0}, {0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8},
    {2, 4, 0, 4}, {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2},
};

void adam7PassSize(uint32_t pass, uint32_t width, uint32_t height, uint32_t* passWidth,
                   uint32_t* passHeight) {
    const Adam7Pass& p = adam7Passes[pass];
    if (width <= p.firstColumn || height <= p.firstRow) {
        *passWidth = 0;
        *passHeight = 0;
        return;
    }
    *passWidth = (width - p.firstColumn - 1) / p.columnStep + 1;
    *passHeight = (height - p.firstRow - 1) / p.rowStep + 1;
}

uint32_t pngChannels(uint8_t colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

uint32_t pngBitsPerPixel(const PngDecoder* decoder) {
    return pngChannels(decoder->colourType) * decoder->bitDepth;
}

const char* pngErrorName(uint32_t code) {
    switch (code) {
    case PNG_OK:
        return "PNG_OK";
    case PNG_ERR_FILE:
        return "PNG_ERR_FILE";
    case PNG_ERR_NO_MEMORY:
        return "PNG_ERR_NO_MEMORY";
    case PNG_ERR_BUSY:
        return "PNG_ERR_BUSY";
    case PNG_ERR_FORMAT:
        return "PNG_ERR_FORMAT";
    case PNG_ERR_UNSUPPORTED:
        return "PNG_ERR_UNSUPPORTED";
    case PNG_ERR_OUTPUT_FORMAT:
        return "PNG_ERR_OUTPUT_FORMAT";
    case PNG_ERR_STATE:
        return "PNG_ERR_STATE";
    case PNG_ERR_BITMAP:
        return "PNG_ERR_BITMAP";
    case PNG_ERR_STOPPED:
        return "PNG_ERR_STOPPED";
    case PNG_ERR_RESOURCE_NOT_FOUND:
        return "PNG_ERR_RESOURCE_NOT_FOUND";
    case PNG_ERR_RESOURCE_LOAD:
        return "PNG_ERR_RESOURCE_LOAD";
    default:
        return "unknown error";
    }
}

void PngInit(PngDecoder* decoder) {
    *decoder = PngDecoder{};
}

bool pngIsBusy(PngDecoder* decoder) {
    if (decoder->state != PNG_STATE_EMPTY || decoder->sourceKind != PNG_SOURCE_NONE) {
        decoder->lastError = PNG_ERR_BUSY;
        return true;
    }
    return false;
}

uint32_t pngLoadInPlace(PngDecoder* decoder, const uint8_t* data, uint32_t size, uint32_t kind) {
    decoder->inputData = data;
    decoder->inputSize = size;
    decoder->chunkCursor = data;
    decoder->sourceKind = kind;
    if (!PngParseChunks(decoder)) {
        decoder->sourceKind = PNG_SOURCE_NONE;
        return 0;
    }
    decoder->state = PNG_STATE_LOADED;
    return 1;
}

uint32_t PngLoadMemory(PngDecoder* decoder, const uint8_t* data, uint32_t size) {
    if (pngIsBusy(decoder)) {
        return 0;
    }
    decoder->lastError = PNG_OK;
    return pngLoadInPlace(decoder, data, size, PNG_SOURCE_MEMORY);
}

uint32_t PngReadChunkHeader(PngDecoder* decoder, PngChunkInfo* chunk) {
    const uint8_t* cursor = decoder->chunkCursor;
    const uint8_t* end = decoder->inputData + decoder->inputSize;
    if (cursor >= end || remaining(decoder, cursor) < 12) {
        return 0;
    }
    chunk->kind = classifyChunk(cursor + 4);
    chunk->length = bigEndian32(cursor);
    // The chunk's CRC must lie within the input: the whole chunk fits.
    if (uint64_t(8) + chunk->length + 4 > remaining(decoder, cursor)) {
        return 0;
    }
    chunk->crc = bigEndian32(cursor + 8 + chunk->length);
    return 1;
}

uint32_t PngParseChunks(PngDecoder* decoder) {
    decoder->chunkCursor = nullptr;
    decoder->headerData = nullptr;
    decoder->firstIdat = nullptr;
    decoder->paletteData = nullptr;
    decoder->transparencyData = nullptr;
    decoder->transparencyLength = 0;
    decoder->lastError = PNG_OK;
    if (decoder->inputSize < 16 || std::memcmp(decoder->inputData, pngSignature, 8) != 0) {
        return fail(decoder, PNG_ERR_FORMAT);
    }
    decoder->chunkCursor = decoder->inputData + 8;
    PngChunkInfo chunk{};
    if (!PngReadChunkHeader(decoder, &chunk) || chunk.kind != PNG_CHUNK_IHDR) {
        return fail(decoder, PNG_ERR_FORMAT);
    }
    decoder->headerData = decoder->chunkCursor + 8;
    // The header's declared length is not trusted, but its 13 bytes must be in the input.
    if (remaining(decoder, decoder->headerData) < ihdrDataSize) {
        return fail(decoder, PNG_ERR_FORMAT);
    }
    decoder->width = bigEndian32(decoder->headerData);
    decoder->height = bigEndian32(decoder->headerData + 4);
    if (decoder->width == 0 || decoder->height == 0) {
        return fail(decoder, PNG_ERR_FORMAT);
    }
    for (;;) {
        decoder->chunkCursor += uint64_t(chunk.length) + 12;
        if (!PngReadChunkHeader(decoder, &chunk)) {
            break;
        }
        if (chunk.kind == PNG_CHUNK_UNKNOWN_CRITICAL) {
            return fail(decoder, PNG_ERR_UNSUPPORTED);
        }
        if (chunk.kind == PNG_CHUNK_PLTE && decoder->paletteData == nullptr) {
            decoder->paletteData = decoder->chunkCursor + 8;
            decoder->paletteCount = chunk.length / 3;
        } else if (chunk.kind == PNG_CHUNK_IDAT && decoder->firstIdat == nullptr) {
            decoder->firstIdat = decoder->chunkCursor;
        } else if (isTransparencyChunk(decoder->chunkCursor) &&
                   decoder->transparencyData == nullptr && decoder->firstIdat == nullptr) {
            decoder->transparencyData = decoder->chunkCursor + 8;
            decoder->transparencyLength = chunk.length;
        }
    }
    const uint8_t* header = decoder->headerData;
    decoder->interlace = header[12];
    decoder->colourType = header[9];
    decoder->bitDepth = header[8];
    if (!isAcceptedPair(decoder->colourType, decoder->bitDepth) || header[11] != 0 ||
        header[10] != 0 || decoder->interlace > 1) {
        return fail(decoder, PNG_ERR_UNSUPPORTED);
    }
    return 1;
}

uint64_t PngDecodedSize(const PngDecoder* decoder) {
    constexpr uint64_t tooLarge = uint64_t(1) << 32;
    const uint64_t bitsPerPixel = pngBitsPerPixel(decoder);
    auto passBytes = [&](uint64_t width, uint64_t height) -> uint64_t {
        const uint64_t rowBytes = (width * bitsPerPixel + 7) / 8 + 1;
        return rowBytes >= tooLarge ? tooLarge : rowBytes * height;
    };
    if (decoder->interlace == 0) {
        const uint64_t size = passBytes(decoder->width, decoder->height);
        return size > tooLarge ? tooLarge : size;
    }
    uint64_t total = 0;
    for (uint32_t pass = 1; pass <= 7; ++pass) {
        uint32_t passWidth, passHeight;
        adam7PassSize(pass, decoder->width, decoder->height, &passWidth, &passHeight);
        if (passWidth != 0) {
            total += passBytes(passWidth, passHeight);
            if (total >= tooLarge) {
                return tooLarge;
            }
        }
    }
    return total;
}

uint32_t PngRelease(PngDecoder* decoder) {
    PngInit(decoder); // its owners free the file's bytes and the inflated data
    return 1;
}
