#include "ripple/source_fade.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// from + (to - from) x weight / 256 in each 8-bit channel: red and blue together, then green.
inline uint32_t blend(uint32_t from, uint32_t to, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue = ((from & 0xFF00FF) * keep + (to & 0xFF00FF) * weight) >> 8;
    const uint32_t green = ((from & 0xFF00) * keep + (to & 0xFF00) * weight) >> 8;
    return (redBlue & 0xFF00FF) | (green & 0xFF00);
}

// blend over whole pictures, four pixels at a time where SSE2 is there: each channel times
// its weight fits 16 bits (255 x 256), so the sums are exact in 16-bit lanes.
void blendPictures(const uint32_t* __restrict from, const uint32_t* __restrict to,
                   uint32_t* __restrict out, size_t count, uint32_t weight) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i keepLanes = _mm_set1_epi16(static_cast<short>(256 - weight));
    const __m128i weightLanes = _mm_set1_epi16(static_cast<short>(weight));
    const __m128i colours = _mm_set1_epi32(0x00FFFFFF);
    const auto half = [&](__m128i a, __m128i b) {
        return _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(a, keepLanes), _mm_mullo_epi16(b, weightLanes)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i low = half(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero));
        const __m128i high = half(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_and_si128(_mm_packus_epi16(low, high), colours));
    }
#endif
    for (; i < count; ++i) {
        out[i] = blend(from[i], to[i], weight);
    }
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
    if (fade->from == nullptr) {
        // Left as it comes: stage 1 writes each row before any stage reads it.
        fade->from.reset(new (std::nothrow) uint32_t[size_t(surface->pixelCount)]);
        if (fade->from == nullptr) {
            delete fade;
            surface->fade = nullptr;
            return false;
        }
    }
    fade->to = std::move(picture);
    fade->stage = 0;
    fade->stages = stages;
    fade->nextRow = 0;
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

FadedRows advanceSourceFade(RippleSurface* surface, int32_t maxRows) {
    SourceFade* fade = surface->fade;
    if (fade == nullptr) {
        return {};
    }
    if (fade->nextRow == 0) {
        ++fade->stage;
    }
    const int32_t top = fade->nextRow;
    const int32_t bottom = std::min(surface->height, top + std::max(1, maxRows));
    const size_t first = size_t(top) * size_t(surface->width);
    const size_t count = size_t(bottom - top) * size_t(surface->width);
    uint32_t* source = surface->source + first;
    const bool last = fade->stage >= fade->stages;
    if (last) {
        std::memcpy(source, fade->to.data() + first, count * sizeof(uint32_t));
    } else {
        if (fade->stage == 1) {
            std::memcpy(fade->from.get() + first, source, count * sizeof(uint32_t));
        }
        const auto weight = static_cast<uint32_t>(fade->stage * 256 / fade->stages);
        blendPictures(fade->from.get() + first, fade->to.data() + first, source, count, weight);
    }
    fade->nextRow = bottom < surface->height ? bottom : 0;
    if (last && fade->nextRow == 0) {
        delete fade;
        surface->fade = nullptr;
    }
    showChangedSourceWhereCalm(surface, top, bottom);
    return {top, bottom};
}

bool sourceFadeMidStage(const RippleSurface& surface) {
    return surface.fade != nullptr && surface.fade->nextRow != 0;
}
