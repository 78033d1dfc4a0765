#include "show/picture_changer.h"

#include <atomic>
#include <functional>
#include <new>
#include <utility>

#include "show/picture_deck.h"
#include "win32/left_threads.h"

// What the show and the worker share. The worker alone touches the deck and the next hand
// while busy is set; the show reads them once the worker's message has come.
struct PictureChanger::Shared {
    std::vector<std::string> files;
    PictureDeck deck;
    std::vector<SIZE> monitors;
    Placement placement;
    std::vector<size_t> shown; // the pictures of the last hand dealt
    std::vector<std::vector<uint32_t>> nextHand;
    std::atomic<bool> busy{false};
    std::atomic<bool> stop{false}; // the show ends: the worker stops within a few rows

    Shared(std::vector<std::string> folderFiles, std::vector<SIZE> sizes, Placement placed)
        : files(std::move(folderFiles)), deck(files.size(), GetTickCount()),
          monitors(std::move(sizes)), placement(placed) {}

    // Deals a hand, on the window's thread or in the worker, giving each monitor's canvas to
    // keep.
    void deal(PictureWork work, const std::function<void(size_t monitor, Canvas canvas)>& keep) {
        shown = dealHand(deck, monitors.size(), shown, [&](size_t picture, size_t monitor) {
            if (stop || (work.stop != nullptr && *work.stop)) {
                return false;
            }
            Canvas canvas = canvasOfFile(files[picture], monitors[monitor].cx, monitors[monitor].cy,
                                         placement, work);
            if (!canvas.bitmap) {
                return false;
            }
            keep(monitor, std::move(canvas));
            return true;
        });
    }
};

namespace {

// Process-wide, so that a late message of an earlier show's worker is never taken for this
// one's.
std::atomic<WPARAM> changersMade{0};

} // namespace

struct PictureChanger::Task {
    std::shared_ptr<Shared> shared;
    HWND window;
    UINT message;
    WPARAM number;
};

DWORD WINAPI PictureChanger::prepare(void* parameter) {
    const std::unique_ptr<Task> task(static_cast<Task*>(parameter));
    Shared& shared = *task->shared;
    // Behind the water's steps for the processor, the disk and memory.
    SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN);
    {
        // The picture service and the imaging component are COM objects of this thread's.
        const win32::ComScope com;
        try {
            std::vector<std::vector<uint32_t>> hand(shared.monitors.size());
            shared.deal(PictureWork(PictureWork::besideTheWater, &shared.stop),
                        [&](size_t monitor, Canvas canvas) { hand[monitor] = canvas.pixels(); });
            shared.nextHand = std::move(hand);
        } catch (const std::bad_alloc&) {
            shared.nextHand.clear(); // no memory even for the hand: every picture stays
        }
    }
    shared.busy = false;
    if (!shared.stop) { // a changer that is going hears nothing more
        PostMessageA(task->window, task->message, task->number, 0);
    }
    return 0;
}

PictureChanger::PictureChanger(const std::string& folder, std::vector<SIZE> monitors,
                               Placement placement)
    : shared_(std::make_shared<Shared>(filesOfPictureFolder(folder, listFolder),
                                       std::move(monitors), placement)),
      number_(++changersMade) {}

// The worker is asked to stop and left to end on its own: it owns all it uses and posts
// nothing once asked, and a worker inside a call that cannot be stopped (the imaging
// component, the picture service, a read from a slow disk) must not hold up the window's
// thread, which is the show's.
PictureChanger::~PictureChanger() {
    shared_->stop = true;
    win32::leaveToFinish(std::move(worker_));
}

std::vector<Canvas> PictureChanger::firstHand(PictureWork work) {
    std::vector<Canvas> hand;
    shared_->deal(work, [&](size_t, Canvas canvas) { hand.push_back(std::move(canvas)); });
    if (work.stop != nullptr && *work.stop) {
        hand.clear();
    }
    return hand;
}

void PictureChanger::prepareNextHand(HWND window, UINT message) {
    if (shared_->busy.exchange(true)) {
        return;
    }
    auto* task = new (std::nothrow) Task{shared_, window, message, number_};
    win32::leaveToFinish(std::move(worker_)); // it has dealt its hand; it may still be returning
    worker_.reset(task != nullptr ? CreateThread(nullptr, 0, prepare, task, 0, nullptr) : nullptr);
    if (!worker_.valid()) {
        delete task;
        shared_->busy = false;
    }
}

void PictureChanger::awaitNextHand(HWND window, UINT message) {
    due_ = ready_ = false;
    prepareNextHand(window, message);
}

std::optional<PictureChanger::Hand> PictureChanger::handWhenDue() {
    due_ = true;
    return handIfBoth();
}

std::optional<PictureChanger::Hand> PictureChanger::handWhenReady(WPARAM number) {
    if (number != number_) {
        return std::nullopt; // another changer's worker
    }
    ready_ = true;
    return handIfBoth();
}

std::optional<PictureChanger::Hand> PictureChanger::handIfBoth() {
    if (!due_ || !ready_) {
        return std::nullopt;
    }
    due_ = ready_ = false;
    return takeNextHand();
}

PictureChanger::Hand PictureChanger::takeNextHand() {
    if (shared_->busy) {
        return {};
    }
    return std::move(shared_->nextHand);
}
