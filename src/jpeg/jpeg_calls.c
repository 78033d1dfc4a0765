/* Every call into libjpeg, each in a frame that holds nothing but plain C values: its errors
 * and the warnings that mean broken data end in a long jump back to the call's own setjmp,
 * after which the decompressor and all it allocated are released. */
#include "jpeg/jpeg_calls.h"

#include <limits.h>
#include <setjmp.h>
#include <stdio.h> /* jpeglib.h needs FILE */
#include <stdlib.h>

#include <jpeglib.h>
/* After jpeglib.h, whose configuration says which of its message codes exist. */
#include <jerror.h>

/* One call's decompressor, on the heap: its fields change between the setjmp and a long jump,
 * which leaves a non-volatile local of the calling frame undefined, but not memory it points
 * to. */
typedef struct Session {
    struct jpeg_decompress_struct decoder;
    struct jpeg_error_mgr errors;
    struct jpeg_progress_mgr progress;
    jmp_buf escape;
    JpegOutcome outcome; /* what a long jump back means */
    JpegStopCheck stop;
    void* stopContext;
    int scanCounted;                  /* the last scan whose blocks were counted */
    unsigned long long blocksVisited; /* over the scans so far */
} Session;

static Session* sessionOf(j_common_ptr common) {
    return (Session*)common->client_data;
}

static void escape(j_common_ptr common, JpegOutcome outcome) {
    Session* session = sessionOf(common);
    session->outcome = outcome;
    longjmp(session->escape, 1);
}

/* An error: forms this library leaves to others, and everything else broken. */
static void onError(j_common_ptr common) {
    switch (common->err->msg_code) {
    case JERR_BAD_PRECISION:
    case JERR_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_ARITH_NOTIMPL:
        escape(common, jpegUnsupported);
        break;
    default:
        escape(common, jpegUnreadable);
        break;
    }
}

/* A warning of corrupt data or of the file ending early ends the decode; others (an unknown
 * JFIF revision, an unknown Adobe transform) leave the picture as it is. Traces are
 * ignored. */
static void onMessage(j_common_ptr common, int level) {
    if (level >= 0) {
        return;
    }
    /* Bytes between two markers (padding some cameras and editors write) are no damage: the
       decode goes on as libjpeg-turbo's own does. Damage in the data itself shows as the
       warnings below. */
    switch (common->err->msg_code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        escape(common, jpegUnreadable);
        break;
    default:
        break;
    }
}

static unsigned long long blocksOf(const jpeg_component_info* component) {
    return (unsigned long long)component->width_in_blocks * component->height_in_blocks;
}

/* Called as the decoder goes, at least once a scan: a picture whose scans go over its blocks
 * too many times, or a stop asked for, ends it. */
static void onProgress(j_common_ptr common) {
    Session* session = sessionOf(common);
    const j_decompress_ptr decoder = &session->decoder;
    if (decoder->input_scan_number != session->scanCounted && decoder->comps_in_scan > 0) {
        unsigned long long all = 0;
        session->scanCounted = decoder->input_scan_number;
        for (int i = 0; i < decoder->comps_in_scan; ++i) {
            session->blocksVisited += blocksOf(decoder->cur_comp_info[i]);
        }
        for (int c = 0; c < decoder->num_components; ++c) {
            all += blocksOf(&decoder->comp_info[c]);
        }
        if (session->blocksVisited > (unsigned long long)jpegMostFullPasses * all) {
            escape(common, jpegUnreadable);
        }
    }
    if (session->stop != NULL && session->stop(session->stopContext)) {
        escape(common, jpegStopped);
    }
}

static Session* newSession(JpegStopCheck stop, void* stopContext) {
    Session* session = (Session*)calloc(1, sizeof(Session));
    if (session == NULL) {
        return NULL;
    }
    /* Kept by jpeg_create_decompress, which may already end in an error. */
    session->decoder.client_data = session;
    session->decoder.err = jpeg_std_error(&session->errors);
    session->errors.error_exit = onError;
    session->errors.emit_message = onMessage;
    session->progress.progress_monitor = onProgress;
    session->stop = stop;
    session->stopContext = stopContext;
    session->outcome = jpegDone;
    return session;
}

/* After the session's setjmp: the decompressor made, reading the bytes, its header read. */
static void readHeader(Session* session, const uint8_t* data, size_t size) {
    j_decompress_ptr decoder = &session->decoder;
    jpeg_create_decompress(decoder);
    decoder->progress = &session->progress;
    if (size == 0 || size > ULONG_MAX) {
        escape((j_common_ptr)decoder, jpegUnreadable);
    }
    jpeg_mem_src(decoder, data, (unsigned long)size);
    jpeg_read_header(decoder, TRUE);
    if (decoder->data_precision != 8) {
        escape((j_common_ptr)decoder, jpegUnsupported);
    }
}

static void scaleTo(Session* session, unsigned eighths) {
    j_decompress_ptr decoder = &session->decoder;
    if (eighths < 1 || eighths > 8) {
        escape((j_common_ptr)decoder, jpegUnreadable);
    }
    decoder->scale_num = eighths;
    decoder->scale_denom = 8;
    jpeg_calc_output_dimensions(decoder);
}

static JpegOutcome endSession(Session* session) {
    const JpegOutcome outcome = session->outcome;
    jpeg_destroy_decompress(&session->decoder);
    free(session);
    return outcome;
}

JpegOutcome jpegReadFacts(const uint8_t* data, size_t size, JpegFacts* facts) {
    Session* const session = newSession(NULL, NULL);
    if (session == NULL) {
        return jpegUnreadable;
    }
    if (setjmp(session->escape) == 0) {
        readHeader(session, data, size);
        facts->width = session->decoder.image_width;
        facts->height = session->decoder.image_height;
        facts->progressive = session->decoder.progressive_mode ? 1 : 0;
    }
    return endSession(session);
}

JpegOutcome jpegScaledSize(const uint8_t* data, size_t size, unsigned eighths, uint32_t* width,
                           uint32_t* height) {
    Session* const session = newSession(NULL, NULL);
    if (session == NULL) {
        return jpegUnreadable;
    }
    if (setjmp(session->escape) == 0) {
        readHeader(session, data, size);
        scaleTo(session, eighths);
        *width = session->decoder.output_width;
        *height = session->decoder.output_height;
    }
    return endSession(session);
}

/* CMYK as libjpeg gives it to RGB: an Adobe file stores every ink inverted (255 is none),
 * others as they are. */
static void cmykToRgb(const JSAMPLE* inks, uint32_t* pixels, uint32_t width, int inverted) {
    for (uint32_t x = 0; x < width; ++x, inks += 4) {
        unsigned c = inks[0], m = inks[1], y = inks[2], k = inks[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const unsigned red = (c * k + 127) / 255, green = (m * k + 127) / 255,
                       blue = (y * k + 127) / 255;
        pixels[x] = 0xFF000000u | red << 16 | green << 8 | blue;
    }
}

/* Grey as libjpeg gives it to RGB. */
static void greyToRgb(const JSAMPLE* greys, uint32_t* pixels, uint32_t width) {
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t grey = greys[x];
        pixels[x] = 0xFF000000u | grey << 16 | grey << 8 | grey;
    }
}

static void readRows(Session* session, JpegRowSink sink, void* sinkContext) {
    j_decompress_ptr decoder = &session->decoder;
    const int inks = decoder->out_color_space == JCS_CMYK;
    const int grey = decoder->out_color_space == JCS_GRAYSCALE;
    const int converted = inks || grey; /* here, from the first row into the second */
    const JDIMENSION width = decoder->output_width;
    JSAMPARRAY rows = (*decoder->mem->alloc_sarray)((j_common_ptr)decoder, JPOOL_IMAGE, width * 4,
                                                    converted ? 2 : 1);
    while (decoder->output_scanline < decoder->output_height) {
        if (jpeg_read_scanlines(decoder, rows, 1) != 1) {
            escape((j_common_ptr)decoder, jpegUnreadable); /* data ran out without a warning */
        }
        uint32_t* row = (uint32_t*)rows[converted ? 1 : 0];
        if (inks) {
            cmykToRgb(rows[0], row, width, decoder->saw_Adobe_marker);
        } else if (grey) {
            greyToRgb(rows[0], row, width);
        }
        sink(sinkContext, row);
    }
}

JpegOutcome jpegDecodeScaled(const uint8_t* data, size_t size, unsigned eighths, size_t memoryLimit,
                             uint32_t width, uint32_t height, JpegRowSink sink, void* sinkContext,
                             JpegStopCheck stop, void* stopContext) {
    Session* const session = newSession(stop, stopContext);
    if (session == NULL) {
        return jpegUnreadable;
    }
    if (setjmp(session->escape) == 0) {
        j_decompress_ptr decoder = &session->decoder;
        readHeader(session, data, size);
        const int inks =
            decoder->jpeg_color_space == JCS_CMYK || decoder->jpeg_color_space == JCS_YCCK;
        /* Grey as grey: a lossless grey picture is decoded into no other colour space. */
        decoder->out_color_space = inks                                         ? JCS_CMYK
                                   : decoder->jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE
                                                                                : JCS_EXT_BGRX;
        scaleTo(session, eighths);
        if (decoder->output_width != width || decoder->output_height != height) {
            escape((j_common_ptr)decoder, jpegUnreadable);
        }
        decoder->mem->max_memory_to_use = memoryLimit > LONG_MAX ? LONG_MAX : (long)memoryLimit;
        jpeg_start_decompress(decoder);
        readRows(session, sink, sinkContext);
        jpeg_finish_decompress(decoder);
    }
    return endSession(session);
}
