// Pictures from a folder under the water of every monitor: a hand of them (one for each
// monitor) when the show starts, then every change interval the next hand, loaded, decoded
// and placed on a worker thread ahead of time, so that no step of the water waits for it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "show/folder_pictures.h"

class PictureChanger {
  public:
    // Walks the folder now, for monitors of the given sizes (in the order of the show's
    // waters) and the placement given.
    PictureChanger(const std::string& folder, std::vector<SIZE> monitors, Placement placement);
    // Asks a worker still busy to stop, and waits for it: it stops between pictures, and in a
    // picture within a few rows or a block of its stream. What it made is dropped.
    ~PictureChanger();
    PictureChanger(const PictureChanger&) = delete;
    PictureChanger& operator=(const PictureChanger&) = delete;

    // The first hand, loaded on this thread: a canvas for each monitor, or none at all when
    // the folder holds no picture that can be shown (or the work was asked to stop). Files
    // that cannot be shown are skipped.
    std::vector<Canvas> firstHand(PictureWork work = PictureWork::atOnce);

    // Starts a worker that prepares the next hand, and posts message to window, with this
    // changer's number as its wParam, when it is ready; nothing while one is busy.
    void prepareNextHand(HWND window, UINT message);

    // What the worker made, once its message came: the pixels of each monitor's next picture
    // (none for a monitor that keeps its own). Empty while the worker is busy.
    std::vector<std::vector<uint32_t>> takeNextHand();

    // The number the worker's messages carry: another changer's are not this one's.
    WPARAM number() const { return number_; }

  private:
    struct Shared;
    struct Task;
    // The worker: deals the next hand into the shared state, then posts the message.
    static DWORD WINAPI prepare(void* task);

    std::shared_ptr<Shared> shared_;
    WPARAM number_;
    win32::Handle worker_; // the last worker started: one at a time, and none past the changer
};
