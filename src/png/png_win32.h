// The decoder's platform side: resources of a module as input, bitmaps as output.
#pragma once

#include <windows.h>

#include "png/png_decoder.h"
#include "png/png_pixels.h"
#include "win32/handles.h"

// Takes the PNG from an RCDATA resource of the module, read in place and never freed.
uint32_t PngLoadResource(PngDecoder* decoder, HMODULE module, LPCSTR name);

// Makes a top-down bitmap of the decoded picture in the given output format (or
// PNG_FORMAT_DEFAULT), using the window's device context (the screen's for null): a DIB
// section, or with deviceDependent a device-dependent bitmap. Empty on failure, with nothing
// kept.
win32::Bitmap PngCreateBitmap(PngDecoder* decoder, HWND window, uint32_t format,
                              BOOL deviceDependent);
