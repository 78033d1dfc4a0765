// The program's own PNG decoder. A PngDecoder record carries one picture from its bytes to a
// bitmap, driven in this order: PngInit; PngLoadFile, PngLoadResource or PngLoadMemory;
// PngDecode; PngCreateBitmap (or PngPrepareBitmap and PngConvertRows); PngRelease.
//
// Every PNG colour type, bit depth and both interlace methods are read. Only the critical
// chunks and tRNS count; other ancillary chunks are skipped, and no checksum is verified.
// Operations return 1 on success and 0 on failure, with the reason in lastError.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

enum PngState : uint32_t {
    PNG_STATE_EMPTY = 0,
    PNG_STATE_LOADED = 1,
    PNG_STATE_DECODED = 2,
};

enum PngSource : uint32_t {
    PNG_SOURCE_NONE = 0,
    PNG_SOURCE_FILE = 1,     // a buffer the decoder allocated and frees
    PNG_SOURCE_RESOURCE = 2, // a module resource, read in place
    PNG_SOURCE_MEMORY = 3,   // bytes the caller keeps alive, read in place
};

enum PngChunkKind : uint32_t {
    PNG_CHUNK_OTHER = 0, // ancillary, skipped
    PNG_CHUNK_IHDR = 1,
    PNG_CHUNK_PLTE = 2,
    PNG_CHUNK_IDAT = 3,
    PNG_CHUNK_IEND = 4,
    PNG_CHUNK_UNKNOWN_CRITICAL = 5,
};

enum PngError : uint32_t {
    PNG_OK = 0,
    PNG_ERR_FILE = 0x1000,
    PNG_ERR_NO_MEMORY = 0x1001,
    PNG_ERR_BUSY = 0x1002,
    PNG_ERR_FORMAT = 0x2000,
    PNG_ERR_UNSUPPORTED = 0x2001,
    PNG_ERR_OUTPUT_FORMAT = 0x2002,
    PNG_ERR_STATE = 0x2003,
    PNG_ERR_BITMAP = 0x2006,
    PNG_ERR_STOPPED = 0x2007, // asked to stop by the decoder's stop flag
    PNG_ERR_RESOURCE_NOT_FOUND = 0x3001,
    PNG_ERR_RESOURCE_LOAD = 0x3002,
};

// The name of an error code, for messages: "PNG_ERR_FORMAT" and so on.
const char* pngErrorName(uint32_t code);

struct PngInflating; // an inflate running on another thread (inflate.cpp)
struct PngInflatingDeleter {
    void operator()(PngInflating* inflating) const; // waits for the thread, then frees it
};

struct PngDecoder {
    PngDecoder() = default;
    // An inflate still running is waited for before the buffers it writes are freed, however
    // the record goes: members are assigned in their order (inflating first) but destroyed
    // in the reverse one.
    ~PngDecoder() { inflating.reset(); }
    PngDecoder(PngDecoder&&) = default;
    PngDecoder& operator=(PngDecoder&&) = default;

    uint32_t width;
    uint32_t height;
    uint32_t lastError;
    uint32_t paletteCount; // entries of the first PLTE chunk
    uint8_t colourType;
    uint8_t bitDepth;
    uint8_t interlace;
    const uint8_t* inputData; // the whole PNG, from its signature on
    uint32_t inputSize;
    const uint8_t* chunkCursor; // length field of the chunk being examined
    uint8_t* inflatedData;      // filtered scanlines, each after its filter-type byte, then
                                // unfilterSlack zero bytes
    uint32_t inflatedSize;
    const uint8_t* paletteData; // RGB triples of the first PLTE chunk, or null
    uint32_t sourceKind;
    const uint8_t* headerData; // IHDR chunk data
    const uint8_t* firstIdat;  // length field of the first IDAT chunk, or null
    uint32_t state;
    const uint8_t* transparencyData; // the data of a tRNS chunk before the first IDAT, or null
    uint32_t transparencyLength;
    // Set before a bitmap is made: its transparent parts are composed over black, for a
    // picture shown without its alpha. Otherwise alpha is kept as it is and tRNS is ignored.
    bool overBlack;
    // Set by a caller that may want the decode to end early (a show that ends while its
    // worker decodes): once it turns true, inflating stops at the next block and converting
    // at the next row, with PNG_ERR_STOPPED. Null: the decode runs to its end.
    const std::atomic<bool>* stop = nullptr;
    // The inflate of PngDecodeConcurrently while it runs. Declared before the buffers it reads
    // and writes, so that assigning the record waits for it before they are freed.
    std::unique_ptr<PngInflating, PngInflatingDeleter> inflating;
    // What the decoder allocated, freed by PngRelease: the file's bytes, which inputData
    // shows for PNG_SOURCE_FILE, and the buffer that inflatedData shows once decoded.
    std::unique_ptr<uint8_t[]> fileBytes;
    std::unique_ptr<uint8_t[]> inflatedBytes;
};

struct PngChunkInfo {
    uint32_t kind;
    uint32_t length;
    uint32_t crc; // read, never compared
};

// The largest PNG file PngLoadFile reads: no picture the program shows needs more.
inline constexpr uint64_t pngLargestFileBytes = uint64_t(256) << 20;

void PngInit(PngDecoder* decoder);
// Reads the whole file into a buffer of the decoder's and walks its chunks. A file that
// cannot be read completely, or is larger than any picture the program shows
// (pngLargestFileBytes), is PNG_ERR_FILE; one that does not begin with the PNG signature is
// PNG_ERR_FORMAT, found before the rest is read.
uint32_t PngLoadFile(PngDecoder* decoder, const char* path);
// Walks the chunks of bytes that stay the caller's and must outlive the decoder's use of them.
uint32_t PngLoadMemory(PngDecoder* decoder, const uint8_t* data, uint32_t size);
// Checks the signature, walks every chunk to the end of the input and validates the header.
uint32_t PngParseChunks(PngDecoder* decoder);
// Reads the header of the chunk at the cursor; 0 when it does not fit in the input.
uint32_t PngReadChunkHeader(PngDecoder* decoder, PngChunkInfo* chunk);
// Bytes of inflated data: a filter-type byte and the packed pixels of every scanline of
// every non-empty pass. Exact in 64 bits; capped at 2^32 when it would not fit 32 bits.
uint64_t PngDecodedSize(const PngDecoder* decoder);
// Allocates the inflated buffer and inflates the image data into it (inflate.cpp). An image
// that its stream could never fill is refused with PNG_ERR_FORMAT before anything is
// allocated.
uint32_t PngDecode(PngDecoder* decoder);
// As PngDecode, with the inflating done on another thread: returns once the buffer is had,
// the decoder decoded, and PngConvertRows then converts each row as soon as its bytes are
// inflated, so that the two overlap, with the same result. A stream found broken on the way
// fails PngConvertRows with PNG_ERR_FORMAT, as it fails PngDecode. The rows of a large
// picture without interlacing pass through a window of a few MiB instead of a buffer for the
// whole stream, so they can be converted once only: a second conversion fails with
// PNG_ERR_STATE.
uint32_t PngDecodeConcurrently(PngDecoder* decoder);
// Frees what the decoder allocated and sets every field to zero.
uint32_t PngRelease(PngDecoder* decoder);

// Owns a decoder from PngInit to PngRelease.
class OwnedPngDecoder {
  public:
    OwnedPngDecoder() { PngInit(&decoder_); }
    ~OwnedPngDecoder() { PngRelease(&decoder_); }
    OwnedPngDecoder(const OwnedPngDecoder&) = delete;
    OwnedPngDecoder& operator=(const OwnedPngDecoder&) = delete;
    PngDecoder* get() { return &decoder_; }
    PngDecoder* operator->() { return &decoder_; }

  private:
    PngDecoder decoder_;
};

// Channels of a colour type (1 for 0 and 3, 3 for 2, 2 for 4, 4 for 6).
uint32_t pngChannels(uint8_t colourType);
uint32_t pngBitsPerPixel(const PngDecoder* decoder);

// Adam7 pass geometry, passes numbered 1 to 7.
struct Adam7Pass {
    uint32_t firstColumn;
    uint32_t columnStep;
    uint32_t firstRow;
    uint32_t rowStep;
};
extern const Adam7Pass adam7Passes[8];
// Width and height of a pass of an image; both 0 when the pass is empty.
void adam7PassSize(uint32_t pass, uint32_t width, uint32_t height, uint32_t* passWidth,
                   uint32_t* passHeight);
