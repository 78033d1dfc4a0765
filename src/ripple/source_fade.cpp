#include "ripple/source_fade.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// from + (to - from) x weight / 256 in each 8-bit channel: red and blue together, then green.
inline uint32_t blend(uint32_t from, uint32_t to, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue = ((from & 0xFF00FF) * keep + (to & 0xFF00FF) * weight) >> 8;
    const uint32_t green = ((from & 0xFF00) * keep + (to & 0xFF00) * weight) >> 8;
    return (redBlue & 0xFF00FF) | (green & 0xFF00);
}

} // namespace

bool beginSourceFade(RippleSurface* surface, std::vector<uint32_t> picture, int32_t stages) {
    if (picture.size() != size_t(surface->pixelCount) || stages < 1) {
        return false;
    }
    SourceFade* fade = surface->fade != nullptr ? surface->fade : new (std::nothrow) SourceFade;
    if (fade == nullptr) {
        return false;
    }
    try {
        fade->from.assign(surface->source, surface->source + surface->pixelCount);
    } catch (const std::bad_alloc&) {
        delete fade;
        surface->fade = nullptr;
        return false;
    }
    fade->to = std::move(picture);
    fade->stage = 0;
    fade->stages = stages;
    surface->fade = fade;
    return true;
}

std::vector<uint32_t> dimmedSource(const RippleSurface& surface, uint32_t keep) {
    try {
        std::vector<uint32_t> dimmer(size_t(surface.pixelCount));
        for (size_t i = 0; i < dimmer.size(); ++i) {
            dimmer[i] = blend(surface.source[i], 0, 256 - keep);
        }
        return dimmer;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

void advanceSourceFade(RippleSurface* surface) {
    SourceFade* fade = surface->fade;
    if (fade == nullptr) {
        return;
    }
    ++fade->stage;
    if (fade->stage >= fade->stages) {
        std::memcpy(surface->source, fade->to.data(), size_t(surface->byteSize));
        delete fade;
        surface->fade = nullptr;
    } else {
        const auto weight = static_cast<uint32_t>(fade->stage * 256 / fade->stages);
        for (int32_t i = 0; i < surface->pixelCount; ++i) {
            surface->source[i] = blend(fade->from[size_t(i)], fade->to[size_t(i)], weight);
        }
    }
    markRippleSurfaceChanged(surface);
}
