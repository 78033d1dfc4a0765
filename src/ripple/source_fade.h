// A new picture coming in under the water (the surface's SourceFade): over a number of steps
// the source goes from the picture it held to the new one in even stages, while the waves go
// on over it.
#pragma once

#include <cstdint>
#include <vector>

#include "ripple/ripple_surface.h"

// Begins a fade of the surface's source to the picture (W x H pixels, or none that fits),
// over stages steps; any fade under way ends where it was. False, changing nothing, when the
// picture does not fit the surface or memory runs out.
bool beginSourceFade(RippleSurface* surface, std::vector<uint32_t> picture, int32_t stages);

// The surface's source with every channel scaled by keep / 256, rounded down: the picture it
// shows, dimmer. Empty when memory runs out.
std::vector<uint32_t> dimmedSource(const RippleSurface& surface, uint32_t keep);

// The rows [top, bottom) a piece of a fade went over; none when no fade was under way.
struct FadedRows {
    int32_t top = 0;
    int32_t bottom = 0;
};

// Writes the next band of the fade's stage, at most maxRows rows from where the stage stands
// (a new stage begins at the top), into the source, and into the output where the water is
// calm (the next step renders the rest); the last stage is the new picture exactly, after
// which the fade is gone. A stage in bands lets the work and the drawing it makes come in
// pieces. Nothing when no fade is under way.
FadedRows advanceSourceFade(RippleSurface* surface, int32_t maxRows);

// The fade's next stage whole.
inline FadedRows advanceSourceFade(RippleSurface* surface) {
    return advanceSourceFade(surface, surface->height);
}

// Whether the fade's stage has bands still to go.
bool sourceFadeMidStage(const RippleSurface& surface);
