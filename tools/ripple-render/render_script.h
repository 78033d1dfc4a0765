// The ripple-render command language: one command a line, applied to a surface.
//   drop X Y RADIUS STRENGTH   add a drop
//   step [N]                   advance one step, or N steps
//   write FILE                 the output picture as a P6 PPM
//   heights FILE               field 0 then field 1, little-endian signed 32-bit cells
// Blank lines and lines starting with '#' are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ripple/ripple_surface.h"

// Runs one line. Returns false with a reason when the line is not a valid command or a
// file cannot be written.
bool runRenderCommand(RippleSurface& surface, std::string_view line, std::string& error);

// The heights file's bytes.
std::vector<uint8_t> encodeHeights(const RippleSurface& surface);
