// The one place that chooses the decoder for a picture file's bytes.
#pragma once

#include <atomic>

#include "pictures/picture_file.h"
#include "win32/handles.h"

// How a picture is loaded and scaled: with both cores, for a show that waits for it, or on
// the one core the water's thread leaves (a folder's next pictures, made meanwhile); and,
// for a worker, the flag that asks it to stop (the decode then ends within a few rows).
struct PictureWork {
    enum Cores { atOnce, besideTheWater };
    Cores cores = atOnce;
    const std::atomic<bool>* stop = nullptr;

    PictureWork(Cores given = atOnce, const std::atomic<bool>* stopFlag = nullptr)
        : cores(given), stop(stopFlag) {}
    bool operator==(Cores other) const { return cores == other; }
};

// A JPEG's size as it stands upright (its EXIF turn applied), from the facts its header walk
// found; false for any other file.
bool uprightJpegSize(const PictureFileBytes& file, SIZE& size);

// A picture file's bytes, read and checked by readPictureFile, through the decoder they name:
// a PNG through the program's own decoder; a JPEG through libjpeg-turbo at the smallest of its
// scales (1/8 to 8/8) at which it, turned upright as its EXIF orientation says, is at least
// `covering` either way ({0, 0}: whole); where libjpeg-turbo does not decode a JPEG's form
// (12-bit, lossless), and for GIF, BMP and any other format the platform reads, the Windows
// Imaging Component, which composes transparent parts over black, and where that fails the
// picture service. Null when the picture cannot be decoded (a JPEG with corrupt data or cut
// short among them), and when memory runs out on the way (the picture is then skipped,
// whichever thread decodes it). The imaging component comes before the service because it
// decodes a large photo several times faster under Wine and, making no bitmap for the screen
// on the way, does not hold up a window's thread while a worker decodes (the service's
// bitmaps held the water's steps up by five intervals).
win32::Bitmap decodePictureFile(PictureFileBytes& file, PictureWork work = PictureWork::atOnce,
                                SIZE covering = {});

// Whether a file just picked can be shown, decided as a show decides it: the checks of
// readPictureFile, a JPEG's data decoded at an eighth of its size, and a JPEG whose form
// libjpeg-turbo leaves to others (12-bit, two components) through the platform decoders a
// show would use.
bool pictureCanBeShown(const char* path);
