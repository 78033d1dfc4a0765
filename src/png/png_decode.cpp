// Decoding: the image data inflated into a buffer for the whole stream, or on another thread
// while the rows are converted, passing through a window when the picture is large.
#include <atomic>
#include <cstring>
#include <new>
#include <thread>

#include "png/idat_runs.h"
#include "png/inflate.h"
#include "png/inflate_window.h"
#include "png/png_filters.h"
#include "png/png_internal.h"

uint32_t Inflate(PngDecoder* decoder) {
    IdatRuns stream(decoder->firstIdat, decoder->inputData + decoder->inputSize);
    const bool ok = decoder->firstIdat != nullptr &&
                    inflateStream(stream, decoder->inflatedData, decoder->inflatedSize, nullptr,
                                  nullptr, decoder->stop);
    decoder->lastError = ok ? PNG_OK : pngStopped(decoder) ? PNG_ERR_STOPPED : PNG_ERR_FORMAT;
    return ok ? 1 : 0;
}

namespace {

// What both ways of decoding do first: checks the state and the stream's size against the
// image's.
bool checkInflate(PngDecoder* decoder) {
    if (decoder->state != PNG_STATE_LOADED) {
        decoder->lastError = PNG_ERR_STATE;
        return false;
    }
    const uint64_t size = PngDecodedSize(decoder);
    if (size > 0xFFFFFFFFu) {
        decoder->lastError = PNG_ERR_UNSUPPORTED;
        return false;
    }
    // Deflate makes at most 1032 bytes of each byte it is given (a 258-byte match in two
    // bits), so a stream far too short for the image can only be a lie: refused before the
    // memory is taken. A stream that merely ends early is zero-filled.
    const uint64_t streamBytes =
        decoder->firstIdat != nullptr
            ? idatStreamBytes(decoder->firstIdat, decoder->inputData + decoder->inputSize)
            : 0;
    if (size > maxInflateRatio * (streamBytes + 1)) {
        decoder->lastError = PNG_ERR_FORMAT;
        return false;
    }
    decoder->inflatedSize = static_cast<uint32_t>(size);
    return true;
}

// The buffer for the whole inflated stream.
bool allocateInflated(PngDecoder* decoder) {
    const size_t size = decoder->inflatedSize;
    decoder->inflatedBytes.reset(new (std::nothrow) uint8_t[size + unfilterSlack]);
    decoder->inflatedData = decoder->inflatedBytes.get();
    if (decoder->inflatedData == nullptr) {
        decoder->lastError = PNG_ERR_NO_MEMORY;
        return false;
    }
    std::memset(decoder->inflatedData + size, 0, unfilterSlack);
    return true;
}

// Inflates the stream into a buffer for all of it, allocated first unless it was; the buffer
// goes again when the stream is broken.
bool inflateWhole(PngDecoder* decoder) {
    if (decoder->inflatedData == nullptr && !allocateInflated(decoder)) {
        return false;
    }
    if (!Inflate(decoder)) {
        decoder->inflatedBytes.reset();
        decoder->inflatedData = nullptr;
        return false;
    }
    return true;
}

} // namespace

uint32_t PngDecode(PngDecoder* decoder) {
    if (!checkInflate(decoder) || !inflateWhole(decoder)) {
        return 0;
    }
    decoder->state = PNG_STATE_DECODED;
    return 1;
}

// An inflate on another thread: how many bytes of the stream are final (StreamProgress::end
// once it has ended, after failed is set when the stream turned out broken), and the window
// the bytes pass through for a large picture.
struct PngInflating {
    StreamProgress written;
    std::atomic<bool> failed{false};
    std::unique_ptr<InflateWindow> window;
    std::thread thread;
};

void PngInflatingDeleter::operator()(PngInflating* inflating) const {
    if (inflating->window != nullptr) {
        inflating->window->cancel(); // the thread may be waiting for rows never to be read
    }
    if (inflating->thread.joinable()) {
        inflating->thread.join();
    }
    delete inflating;
}

uint32_t PngDecodeConcurrently(PngDecoder* decoder) {
    if (!checkInflate(decoder)) {
        return 0;
    }
    // The rows of a picture without interlacing are read in the stream's order, so a large
    // one passes through a window; the passes of an interlaced one are read once all are in.
    std::unique_ptr<InflateWindow> window;
    if (decoder->interlace == 0) {
        const size_t longestRow = decoder->inflatedSize / decoder->height;
        window = InflateWindow::make(decoder->inflatedSize, longestRow, unfilterSlack);
    }
    if (window == nullptr && !allocateInflated(decoder)) {
        return 0;
    }
    try {
        decoder->inflating.reset(new PngInflating);
        PngInflating* inflating = decoder->inflating.get();
        inflating->window = std::move(window);
        inflating->thread = std::thread([inflating, firstIdat = decoder->firstIdat,
                                         end = decoder->inputData + decoder->inputSize,
                                         output = decoder->inflatedData,
                                         size = decoder->inflatedSize, stop = decoder->stop] {
            IdatRuns stream(firstIdat, end);
            if (!inflateStream(stream, output, size, &inflating->written, inflating->window.get(),
                               stop)) {
                inflating->failed.store(true, std::memory_order_relaxed);
            }
            inflating->written.advance(StreamProgress::end); // publishes failed too
        });
    } catch (const std::exception&) {
        // No thread to be had (or no memory for its record): inflated here instead.
        decoder->inflating.reset();
        if (!inflateWhole(decoder)) {
            return 0;
        }
    }
    decoder->lastError = PNG_OK;
    decoder->state = PNG_STATE_DECODED;
    return 1;
}

const uint8_t* pngInflatedRow(PngDecoder* decoder, size_t offset, size_t length) {
    if (!pngWaitForInflated(decoder, offset + length + unfilterSlack)) {
        return nullptr;
    }
    PngInflating* inflating = decoder->inflating.get();
    if (inflating == nullptr || inflating->window == nullptr) {
        return decoder->inflatedData + offset;
    }
    const uint8_t* row = inflating->window->bytesAt(offset);
    if (row == nullptr) {
        decoder->lastError = PNG_ERR_STATE; // read once already
    }
    return row;
}

void pngReleaseInflated(PngDecoder* decoder, size_t offset) {
    PngInflating* inflating = decoder->inflating.get();
    if (inflating != nullptr && inflating->window != nullptr) {
        inflating->window->release(offset);
    }
}

bool pngWaitForInflated(PngDecoder* decoder, size_t end) {
    PngInflating* inflating = decoder->inflating.get();
    if (inflating == nullptr) {
        return true;
    }
    // A broken stream ends early: the wait then ends with it.
    inflating->written.waitFor(
        end == pngWholeStream ? StreamProgress::end : std::min<size_t>(end, decoder->inflatedSize));
    if (inflating->failed.load(std::memory_order_relaxed)) {
        decoder->lastError = PNG_ERR_FORMAT;
        return false;
    }
    return true;
}
