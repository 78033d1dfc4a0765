/* Wuffs' PNG decoder as the benchmarks call it (wuffs_png.c). */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Decodes the PNG into rows of rowsSize bytes in all, packed without padding, with a work
   buffer of workSize bytes (enough for the picture's scanlines) and a decoder record of
   wuffsDecoderSize() bytes. 1 on success. */
int wuffsDecodePng(const uint8_t* png, size_t size, int channels, uint8_t* rows, size_t rowsSize,
                   uint8_t* work, size_t workSize, void* decoderMemory);
size_t wuffsDecoderSize(void);

#ifdef __cplusplus
}
#endif
