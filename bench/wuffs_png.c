/* Wuffs' PNG decoder, built for the benchmarks only, as the fastest published decoder to
   measure against; the program never uses it. Decodes into blue-green-red(-alpha) rows. */
#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__ADLER32
#define WUFFS_CONFIG__MODULE__CRC32
#define WUFFS_CONFIG__MODULE__DEFLATE
#define WUFFS_CONFIG__MODULE__PNG
#define WUFFS_CONFIG__MODULE__ZLIB
#include "wuffs-v0.4.c"

#include "wuffs_png.h"

int wuffsDecodePng(const uint8_t* png, size_t size, int channels, uint8_t* rows,
                   size_t rowsSize, uint8_t* work, size_t workSize, void* decoderMemory) {
    wuffs_png__decoder* decoder = (wuffs_png__decoder*)decoderMemory;
    if (wuffs_png__decoder__initialize(decoder, sizeof__wuffs_png__decoder(), WUFFS_VERSION,
                                       WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED)
            .repr) {
        return 0;
    }
    /* Like the other decoders measured, no checksum is verified. */
    wuffs_png__decoder__set_quirk(decoder, WUFFS_BASE__QUIRK_IGNORE_CHECKSUM, 1);
    wuffs_base__io_buffer source = wuffs_base__ptr_u8__reader((uint8_t*)png, size, true);
    wuffs_base__image_config config;
    if (wuffs_png__decoder__decode_image_config(decoder, &config, &source).repr) {
        return 0;
    }
    const uint32_t width = wuffs_base__pixel_config__width(&config.pixcfg);
    const uint32_t height = wuffs_base__pixel_config__height(&config.pixcfg);
    wuffs_base__pixel_config__set(&config.pixcfg,
                                  channels == 4 ? WUFFS_BASE__PIXEL_FORMAT__BGRA_NONPREMUL
                                                : WUFFS_BASE__PIXEL_FORMAT__BGR,
                                  WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, width, height);
    wuffs_base__pixel_buffer buffer;
    if (wuffs_base__pixel_buffer__set_from_slice(&buffer, &config.pixcfg,
                                                 wuffs_base__make_slice_u8(rows, rowsSize))
            .repr ||
        wuffs_png__decoder__workbuf_len(decoder).max_incl > workSize) {
        return 0;
    }
    return wuffs_png__decoder__decode_frame(decoder, &buffer, &source,
                                            WUFFS_BASE__PIXEL_BLEND__SRC,
                                            wuffs_base__make_slice_u8(work, workSize), NULL)
                   .repr == NULL;
}

size_t wuffsDecoderSize(void) {
    return sizeof__wuffs_png__decoder();
}
