#include "desktop/window_events.h"

#include <algorithm>
#include <utility>

namespace {

// Windows 8's events for a window hidden or shown by the desktop's compositor.
constexpr DWORD windowCloaked = 0x8017;
constexpr DWORD windowUncloaked = 0x8018;

struct Receiver {
    HWINEVENTHOOK hook;
    HWND window;
    UINT message;
    bool topLevelOnly;
};

// Which window each hook tells. Process-wide: an event callback carries no pointer of ours,
// only its hook. The system calls back on the thread that set the hook, between its
// messages, so only that thread ever reads or changes the table.
std::vector<Receiver>& receivers() {
    static std::vector<Receiver> table;
    return table;
}

void CALLBACK onWindowEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                            DWORD, DWORD) {
    if (window == nullptr || child != CHILDID_SELF ||
        (object != OBJID_WINDOW && event != EVENT_OBJECT_REORDER)) {
        return;
    }
    for (const Receiver& receiver : receivers()) {
        if (receiver.hook != hook) {
            continue;
        }
        if (!receiver.topLevelOnly || event == EVENT_OBJECT_REORDER ||
            GetAncestor(window, GA_ROOT) == window) {
            PostMessageW(receiver.window, receiver.message, 0, 0);
        }
        return;
    }
}

} // namespace

WindowEvents::WindowEvents(HWND receiver, UINT coverMessage, UINT shellMessage)
    : receiver_(receiver), coverMessage_(coverMessage), shellMessage_(shellMessage) {
    for (auto [first, last] :
         {std::pair<DWORD, DWORD>{EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
          std::pair<DWORD, DWORD>{EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND},
          std::pair<DWORD, DWORD>{EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW}}) {
        if (HWINEVENTHOOK made = hook(first, last, 0, coverMessage_, true)) {
            everywhere_.push_back(made);
        }
    }
}

WindowEvents::~WindowEvents() {
    unhook(everywhere_);
    for (Watched& watched : watched_) {
        unhook(watched.hooks);
    }
    unhook(shell_.hooks);
}

// Under Wine a hook that skips its own process hears nothing of the others either, and no
// reorder or move is told at all: there the wallpaper's look each second finds those changes.
HWINEVENTHOOK WindowEvents::hook(DWORD first, DWORD last, DWORD process, UINT message,
                                 bool topLevelOnly) {
    HWINEVENTHOOK made = SetWinEventHook(first, last, nullptr, onWindowEvent, process, 0,
                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (made != nullptr) {
        receivers().push_back({made, receiver_, message, topLevelOnly});
    }
    return made;
}

std::vector<HWINEVENTHOOK> WindowEvents::hooksOf(DWORD process, bool shell) {
    std::vector<HWINEVENTHOOK> hooks;
    const UINT message = shell ? shellMessage_ : coverMessage_;
    const DWORD first = shell ? EVENT_OBJECT_CREATE : EVENT_OBJECT_DESTROY;
    for (auto [from, to] :
         {std::pair<DWORD, DWORD>{first, EVENT_OBJECT_REORDER},
          std::pair<DWORD, DWORD>{EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE},
          std::pair<DWORD, DWORD>{windowCloaked, windowUncloaked}}) {
        if (HWINEVENTHOOK made = hook(from, to, process, message, !shell)) {
            hooks.push_back(made);
        }
    }
    return hooks;
}

void WindowEvents::unhook(std::vector<HWINEVENTHOOK>& hooks) {
    for (HWINEVENTHOOK made : hooks) {
        UnhookWinEvent(made);
        std::erase_if(receivers(),
                      [made](const Receiver& receiver) { return receiver.hook == made; });
    }
    hooks.clear();
}

void WindowEvents::watch(std::vector<DWORD> processes, DWORD shellProcess) {
    if (shellProcess != shell_.process) {
        unhook(shell_.hooks);
        shell_ = {shellProcess,
                  shellProcess != 0 ? hooksOf(shellProcess, true) : std::vector<HWINEVENTHOOK>()};
    }
    std::sort(processes.begin(), processes.end());
    processes.erase(std::unique(processes.begin(), processes.end()), processes.end());
    // The shell's process is watched closely already.
    std::erase(processes, shellProcess);
    std::erase(processes, DWORD(0));
    std::erase_if(watched_, [&](Watched& watched) {
        if (std::find(processes.begin(), processes.end(), watched.process) != processes.end()) {
            return false;
        }
        unhook(watched.hooks);
        return true;
    });
    for (DWORD process : processes) {
        const bool known =
            std::any_of(watched_.begin(), watched_.end(),
                        [process](const Watched& w) { return w.process == process; });
        if (!known) {
            watched_.push_back({process, hooksOf(process, false)});
        }
    }
}
