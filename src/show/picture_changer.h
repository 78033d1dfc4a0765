// Pictures from a folder under the water of every monitor: a hand of them (one for each
// monitor) when the show starts, then every change interval the next hand, loaded, decoded
// and placed on a worker thread ahead of time, so that no step of the water waits for it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "show/folder_pictures.h"

class PictureChanger {
  public:
    // Walks the folder now, for monitors of the given sizes (in the order of the show's
    // waters) and the placement given.
    PictureChanger(const std::string& folder, std::vector<SIZE> monitors, Placement placement);
    // Asks a worker still busy to stop (between pictures, and in a picture within a few rows,
    // a block of its stream or a piece of its file) and leaves it to finish on its own, never
    // waited for by the show. What it made is dropped.
    ~PictureChanger();
    PictureChanger(const PictureChanger&) = delete;
    PictureChanger& operator=(const PictureChanger&) = delete;

    // The first hand, loaded on this thread: a canvas for each monitor, or none at all when
    // the folder holds no picture that can be shown (or the work was asked to stop). Files
    // that cannot be shown are skipped.
    std::vector<Canvas> firstHand(PictureWork work = PictureWork::atOnce);

    // Waits for the next hand: neither due nor ready, and a worker set on preparing it, which
    // posts message to window, with this changer's number as its wParam, once it is ready.
    void awaitNextHand(HWND window, UINT message);

    // The next hand comes in once it is due (the change interval has passed) and ready (the
    // worker's message came), whichever comes last. Each says that one has come, and gives
    // the hand to show if both now have: the pixels of each monitor's next picture (none for
    // a monitor that keeps its own, all when memory ran out).
    using Hand = std::vector<std::vector<uint32_t>>;
    std::optional<Hand> handWhenDue();
    std::optional<Hand> handWhenReady(WPARAM number);

    // Whether the next hand is due already; restarting the wait makes it not.
    bool due() const { return due_; }
    void restartWait() { due_ = false; }

  private:
    void prepareNextHand(HWND window, UINT message);
    Hand takeNextHand();
    std::optional<Hand> handIfBoth();

    struct Shared;
    struct Task;
    // The worker: deals the next hand into the shared state, then posts the message.
    static DWORD WINAPI prepare(void* task);

    std::shared_ptr<Shared> shared_;
    WPARAM number_;
    bool due_ = false;
    bool ready_ = false;
    win32::Handle worker_; // the last worker started: one at a time, left to end on its own
};
