// Pictures of a folder as the show puts them under the water: the folder's files as the
// platform lists them, and each picture laid on a canvas of its monitor's size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/screen_pictures.h"
#include "show/background.h"
#include "show/picture_folder.h"
#include "win32/handles.h"

// The files and folders the folder holds, as a user sees them: hidden and system entries
// (thumbnail caches, desktop.ini) and links to other folders, which could lead in circles,
// are left out.
std::vector<FolderEntry> listFolder(const std::string& folder);

// A picture on a black canvas of a monitor's size, placed as the placement says (cut
// where it reaches past the edges): a 32-bit DIB section and its pixels, rows top first.
struct Canvas {
    win32::Bitmap bitmap; // empty when the picture cannot be shown
    uint32_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;

    // The pixels as the water's source holds them (the spare byte clear); empty when memory
    // runs out.
    std::vector<uint32_t> pixels() const;
};
Canvas pictureOnCanvas(HBITMAP picture, int32_t width, int32_t height, Placement placement,
                       PictureWork work);

// The picture file, decoded once and laid on a canvas of each size given (one for each
// monitor); none when it cannot be shown.
std::vector<Canvas> canvasesOfFile(const std::string& path, const std::vector<SIZE>& sizes,
                                   Placement placement, PictureWork work);

// The picture file, loaded as loadPicture does and laid on a canvas; an empty one when it
// cannot be shown.
Canvas canvasOfFile(const std::string& path, int32_t width, int32_t height, Placement placement,
                    PictureWork work);
