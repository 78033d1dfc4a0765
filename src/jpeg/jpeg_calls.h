/* JPEG pictures through libjpeg-turbo, behind a few C calls: libjpeg ends an error with a
 * long jump, which only C-compatible frames may stand between, so every call into it is made
 * from jpeg_calls.c and only plain values cross back. */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How a call ended. */
typedef enum JpegOutcome {
    jpegDone = 0,
    jpegUnreadable,  /* broken, cut short or corrupt data, or more than the memory allowed */
    jpegUnsupported, /* a form this library does not decode (12-bit, lossless, ...) */
    jpegStopped,     /* the caller's stop asked it to end */
} JpegOutcome;

/* The most work a picture may make, in passes over all its blocks: each scan goes over the
 * blocks of its components, and a progressive photo (libjpeg's own progression, or a
 * camera's) makes about five such passes, its luma blocks visited five to ten times. A decode
 * past this ends at the scan that crosses it, however few or many its scans, and a file whose
 * scans add up to more is refused before it is decoded. */
#define jpegMostFullPasses 32

/* What a JPEG's header says. */
typedef struct JpegFacts {
    uint32_t width; /* as stored, before any EXIF turn */
    uint32_t height;
    int progressive;
} JpegFacts;

/* Whether the caller wants the decode to end now; context is the caller's. */
typedef int (*JpegStopCheck)(void* context);

/* Reads the header of the bytes. */
JpegOutcome jpegReadFacts(const uint8_t* data, size_t size, JpegFacts* facts);

/* The size the picture decodes to at eighths / 8 of its own (1 to 8). */
JpegOutcome jpegScaledSize(const uint8_t* data, size_t size, unsigned eighths, uint32_t* width,
                           uint32_t* height);

/* Takes each decoded row in turn, top first: width pixels 0xFFRRGGBB, valid for the call.
 * It must not throw: it is called from C. */
typedef void (*JpegRowSink)(void* context, const uint32_t* row);

/* Decodes the picture at eighths / 8 of its size, width x height (the size jpegScaledSize
 * gives, anything else is refused), handing its rows to sink, taking at most memoryLimit
 * bytes of libjpeg's own. Grey, YCbCr, RGB, CMYK and YCCK (inverted where an Adobe marker
 * says so, as Photoshop writes them) all come out as RGB. Corrupt data and a premature end,
 * which libjpeg only warns of, make the picture unreadable, also after some rows were handed
 * on. stop, when not null, is asked between rows and scans. */
JpegOutcome jpegDecodeScaled(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                             uint32_t width, uint32_t height, JpegRowSink sink, void* sinkContext,
                             JpegStopCheck stop, void* stopContext);

#ifdef __cplusplus
}
#endif
