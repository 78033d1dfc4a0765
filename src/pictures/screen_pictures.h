// Pictures from files laid on the screens they are shown on: the file read once, its header
// walked once, and the decoder and the scale chosen from what that walk found.
#pragma once

#include <windows.h>

#include <vector>

#include "pictures/picture_decoder.h"
#include "pictures/picture_file.h"
#include "pictures/placement.h"
#include "win32/handles.h"

// A picture file read with readPictureFile and decoded with decodePictureFile; null when it
// cannot be loaded (a path longer than the platform's limit, and a file in which any image is
// too large to show safely, among them).
win32::Bitmap loadPicture(const char* path, PictureWork work = PictureWork::atOnce);

// The pictures of one picture file, for monitors of the sizes given: a bitmap of each
// monitor's size, placed and scaled as the placement says, when the file is a PNG without
// interlacing or a JPEG that every monitor shows scaled down (its rows are scaled as they are
// decoded, so that the picture is never whole in memory); otherwise the picture itself, to be
// placed for each monitor. Empty when the file cannot be loaded.
struct ScreenPictures {
    std::vector<win32::Bitmap> pictures;
    bool placed = false; // one for each monitor, of its size
};
ScreenPictures screenPicturesOf(PictureFileBytes& file, const std::vector<SIZE>& screens,
                                Placement placement, PictureWork work = PictureWork::atOnce);
ScreenPictures loadScreenPictures(const char* path, const std::vector<SIZE>& screens,
                                  Placement placement, PictureWork work = PictureWork::atOnce);
