// What the water on the desktop shows on each monitor: made on a background job, since it
// reads files, decodes pictures and asks the shell for its own wallpaper, none of which the
// window's thread may wait for.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "settings/program_settings.h"
#include "show/picture_changer.h"

struct WallpaperPictures {
    // One for each monitor, as the water's source holds pixels; none when the work stopped.
    std::vector<std::vector<uint32_t>> pictures;
    std::unique_ptr<PictureChanger> changer; // a folder's next pictures, or null
};

// Each monitor's picture (monitors on the virtual screen, the primary first): the chosen file,
// decoded once for all of them; the first hand of the chosen folder; or the desktop's own
// wallpaper, also where the file or folder shows nothing. Where the desktop spans one picture
// over the monitors, each shows its own part of it; a tiled one is tiled as the desktop
// tiles it.
WallpaperPictures wallpaperPictures(const Settings& settings, const std::vector<RECT>& monitors,
                                    const std::atomic<bool>& stop);
