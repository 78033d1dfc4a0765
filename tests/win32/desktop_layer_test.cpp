// Where the water goes on the desktop, decided from the windows this test makes in the shell's
// three layouts, and where each monitor's water lies in its parent when monitors stand left
// of or above the primary one.
#include "desktop/desktop_layer.h"
#include "desktop/window_cover.h"
#include "win32/handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// Progman answers 0x052C, when asked to, with a top-level WorkerW behind itself.
bool answersWithWorker = false;
HWND madeWorker = nullptr;

LRESULT CALLBACK progmanProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == progmanSpawnWorker && answersWithWorker && madeWorker == nullptr) {
        madeWorker = CreateWindowExW(WS_EX_TOOLWINDOW, L"WorkerW", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, instance(), nullptr);
        SetWindowPos(madeWorker, window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance();
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

// A Progman at the given place holding the icons' view, with a WorkerW of its own or not.
struct Desktop {
    HWND progman;
    HWND icons;
    HWND worker = nullptr;

    Desktop(RECT place, bool ownWorker) {
        registerClass(L"Progman", progmanProc);
        registerClass(L"SHELLDLL_DefView", DefWindowProcW);
        registerClass(L"WorkerW", DefWindowProcW);
        progman = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP,
                                  place.left, place.top, place.right - place.left,
                                  place.bottom - place.top, nullptr, nullptr, instance(), nullptr);
        icons = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                progman, nullptr, instance(), nullptr);
        if (ownWorker) {
            worker = CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                     progman, nullptr, instance(), nullptr);
        }
    }
    ~Desktop() {
        if (madeWorker != nullptr) {
            DestroyWindow(madeWorker);
            madeWorker = nullptr;
        }
        if (progman != nullptr) {
            DestroyWindow(progman);
        }
        answersWithWorker = false;
    }
};

TEST(DesktopLayer, FollowsTheWindowsThatExistNotTheSystemsVersion) {
    EXPECT_EQ(findDesktopLayer().layout, DesktopLayout::bottomWindows); // no shell at all
    {
        const Desktop besideIcons({0, 0, 800, 600}, true);
        const DesktopLayer layer = findDesktopLayer();
        EXPECT_EQ(layer.layout, DesktopLayout::besideIcons);
        EXPECT_EQ(layer.parent, besideIcons.progman);
        EXPECT_EQ(layer.icons, besideIcons.icons);
        EXPECT_EQ(layer.worker, besideIcons.worker);
    }
    {
        const Desktop workerOnRequest({0, 0, 800, 600}, false);
        answersWithWorker = true;
        const DesktopLayer layer = findDesktopLayer();
        EXPECT_EQ(layer.layout, DesktopLayout::workerBehindIcons);
        EXPECT_EQ(layer.parent, madeWorker);
        EXPECT_EQ(layer.holder, workerOnRequest.progman);
        DesktopLayer kept = layer;
        EXPECT_TRUE(refreshLayer(kept));
        DestroyWindow(madeWorker); // the shell restarted: the layer is gone
        madeWorker = nullptr;
        EXPECT_FALSE(refreshLayer(kept));
    }
    const Desktop noAnswer({0, 0, 800, 600}, false);
    EXPECT_EQ(findDesktopLayer().layout, DesktopLayout::bottomWindows);
}

TEST(DesktopLayer, MonitorsLeftOfAndAboveThePrimaryLieInsideTheParent) {
    // A 1280 x 1024 monitor left of and above a 1920 x 1080 primary: Progman spans both from
    // the virtual screen's corner.
    const Desktop shell({-1280, -1024, 1920, 1080}, true);
    const DesktopLayer layer = findDesktopLayer();
    ASSERT_EQ(layer.layout, DesktopLayout::besideIcons);
    const RECT primary = inLayerCoordinates(layer, {0, 0, 1920, 1080});
    const RECT other = inLayerCoordinates(layer, {-1280, -1024, 0, 0});
    EXPECT_EQ(primary.left, 1280);
    EXPECT_EQ(primary.top, 1024);
    EXPECT_EQ(primary.right, 3200);
    EXPECT_EQ(other.left, 0);
    EXPECT_EQ(other.top, 0);
    EXPECT_EQ(other.bottom, 1024);
    // Top-level waters keep the screen's own coordinates.
    const RECT topLevel = inLayerCoordinates(DesktopLayer{}, {-1280, -1024, 0, 0});
    EXPECT_EQ(topLevel.left, -1280);
    EXPECT_EQ(topLevel.top, -1024);
}

// A hidden top-level window of the virtual screen's area given, as the water is made.
HWND madeTopLevel(RECT area) {
    registerClass(L"Water", DefWindowProcW);
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"Water", L"", WS_POPUP, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, instance(), nullptr);
}

TEST(DesktopLayer, WatersAreTakenInBetweenTheIconsAndTheWorkerAndPutBackWhenMoved) {
    Desktop shell({0, 0, 1600, 600}, true);
    DesktopLayer layer = findDesktopLayer();
    ASSERT_EQ(layer.layout, DesktopLayout::besideIcons);
    const std::vector<LayerWindow> waters{{madeTopLevel({0, 0, 800, 600}), {0, 0, 800, 600}},
                                          {madeTopLevel({800, 0, 1600, 600}), {800, 0, 1600, 600}}};
    for (const LayerWindow& water : waters) {
        ASSERT_TRUE(adoptIntoLayer(layer, water.window));
        EXPECT_EQ(GetParent(water.window), shell.progman);
        EXPECT_NE(GetWindowLongPtrW(water.window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    }
    ASSERT_TRUE(arrangeInLayer(layer, waters));
    auto order = [&] {
        std::wstring classes;
        for (HWND child = GetWindow(shell.progman, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            classes += std::wstring(name) + L" ";
        }
        return classes;
    };
    EXPECT_EQ(order(), L"SHELLDLL_DefView Water Water WorkerW ");
    EXPECT_TRUE(arrangementStands(layer, waters));

    // The shell puts its WorkerW in front of ours, then replaces it; a water is moved.
    SetWindowPos(shell.worker, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(arrangementStands(layer, waters));
    DestroyWindow(shell.worker);
    shell.worker = CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   shell.progman, nullptr, instance(), nullptr);
    SetWindowPos(waters[1].window, nullptr, 900, 0, 700, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(arrangementStands(layer, waters));
    ASSERT_TRUE(refreshLayer(layer));
    EXPECT_EQ(layer.worker, shell.worker);
    ASSERT_TRUE(arrangeInLayer(layer, waters));
    EXPECT_TRUE(arrangementStands(layer, waters));
    EXPECT_EQ(order(), L"SHELLDLL_DefView Water Water WorkerW ");

    // Progman gone with the shell: nothing left to put back.
    DestroyWindow(shell.progman);
    EXPECT_FALSE(refreshLayer(layer));
    shell.progman = nullptr;
}

// The stand-in desktop of this test's folder, in a process of its own as the shell's is,
// asked to do as the shell does.
struct StandInDesktop {
    win32::Handle process;
    DWORD processId = 0;

    static std::wstring path() {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring folder(self);
        return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"desktop_stand_in.exe";
    }
    static win32::Handle start(const std::wstring& arguments, DWORD* id = nullptr) {
        std::wstring line = L"\"" + path() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &started)) {
            return win32::Handle();
        }
        win32::Handle thread(started.hThread);
        if (id != nullptr) {
            *id = started.dwProcessId;
        }
        return win32::Handle(started.hProcess);
    }
    StandInDesktop() {
        wchar_t log[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, log);
        process = start(L"run beside \"" + std::wstring(log) + L"stand_in_layer.log\"", &processId);
    }
    ~StandInDesktop() {
        if (process.get() != nullptr) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 5000);
        }
    }
    HWND progman() const {
        for (HWND found = nullptr;
             (found = FindWindowExW(nullptr, found, L"Progman", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == processId) {
                return found;
            }
        }
        return nullptr;
    }
    void ask(const wchar_t* command) const {
        const win32::Handle asking = start(command);
        WaitForSingleObject(asking.get(), 10000);
    }
};

// Lets the messages come (the stand-in's thread talks to the water it holds) until the
// arrangement no longer stands, or a second has gone.
bool disarrangedWithinASecond(const DesktopLayer& layer, const std::vector<LayerWindow>& waters) {
    for (const DWORD until = GetTickCount() + 1000; GetTickCount() < until;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
        if (!arrangementStands(layer, waters)) {
            return true;
        }
    }
    return false;
}

// What the shell does to its own windows, from its own process: each change is seen, and
// what it moved is put back.
TEST(DesktopLayer, TheShellsOwnChangesAreSeenAndPutRight) {
    const StandInDesktop shell;
    ASSERT_NE(shell.process.get(), nullptr);
    HWND progman = nullptr;
    for (int wait = 0; wait < 200 && (progman == nullptr || !IsWindowVisible(progman)); ++wait) {
        Sleep(50);
        progman = shell.progman();
    }
    ASSERT_NE(progman, nullptr);
    DesktopLayer layer = findDesktopLayer();
    ASSERT_EQ(layer.layout, DesktopLayout::besideIcons);
    ASSERT_EQ(layer.parent, progman);
    RECT screen;
    GetWindowRect(progman, &screen);
    const std::vector<LayerWindow> waters{{madeTopLevel(screen), screen}};
    const struct Gone {
        HWND window;
        ~Gone() { DestroyWindow(window); }
    } gone{waters[0].window};
    ASSERT_TRUE(adoptIntoLayer(layer, waters[0].window));
    ASSERT_TRUE(arrangeInLayer(layer, waters));
    ASSERT_TRUE(arrangementStands(layer, waters));

    const std::wstring moved = L"move-desktop " + std::to_wstring(screen.left) + L" " +
                               std::to_wstring(screen.top + 40) + L" " +
                               std::to_wstring(screen.right - screen.left) + L" " +
                               std::to_wstring(screen.bottom - screen.top - 40);
    for (const std::wstring& command :
         {std::wstring(L"raise-worker"), std::wstring(L"replace-worker"), moved}) {
        const HWND workerBefore = layer.worker;
        shell.ask(command.c_str());
        ASSERT_TRUE(disarrangedWithinASecond(layer, waters)) << command.c_str();
        ASSERT_TRUE(refreshLayer(layer));
        EXPECT_EQ(layer.worker != workerBefore, command == L"replace-worker");
        ASSERT_TRUE(arrangeInLayer(layer, waters)) << command.c_str();
        EXPECT_TRUE(arrangementStands(layer, waters)) << command.c_str();
        RECT standsAt;
        GetWindowRect(waters[0].window, &standsAt);
        EXPECT_TRUE(EqualRect(&standsAt, &screen)) << command.c_str();
        EXPECT_EQ(GetWindow(layer.worker, GW_HWNDLAST), layer.worker) << command.c_str();
    }
}

// Windows of this process over a monitor at the screen's corner, counted as another
// program's would be.
TEST(WindowCover, OnlyWindowsThatHideTheDesktopCount) {
    const RECT monitor{0, 0, 400, 300};
    registerClass(L"Other", DefWindowProcW);
    auto window = [](DWORD exStyle) {
        return CreateWindowExW(exStyle, L"Other", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                               nullptr, nullptr, instance(), nullptr);
    };
    auto hidden = [&] { return coveredMonitors({monitor}, L"Water").covered[0]; };
    const HWND plain = window(0);
    EXPECT_TRUE(hidden());
    // "Show desktop": the desktop's own window in front of it.
    {
        const Desktop shell({0, 0, 400, 300}, true);
        ShowWindow(shell.progman, SW_SHOWNA);
        SetWindowPos(shell.progman, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        EXPECT_FALSE(hidden());
        SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        EXPECT_TRUE(hidden());
    }
    ShowWindow(plain, SW_MINIMIZE);
    EXPECT_FALSE(hidden());
    DestroyWindow(plain);
    // Click-through, translucent and colour-keyed layered windows; an opaque layered one hides.
    const struct {
        DWORD exStyle;
        BYTE alpha;
        DWORD flags;
        bool hides;
    } overlays[] = {{WS_EX_LAYERED | WS_EX_TRANSPARENT, 255, LWA_ALPHA, false},
                    {WS_EX_LAYERED, 128, LWA_ALPHA, false},
                    {WS_EX_LAYERED, 255, LWA_COLORKEY, false},
                    {WS_EX_LAYERED, 255, LWA_ALPHA, true}};
    for (const auto& overlay : overlays) {
        const HWND made = window(overlay.exStyle);
        SetLayeredWindowAttributes(made, RGB(0, 0, 0), overlay.alpha, overlay.flags);
        EXPECT_EQ(hidden(), overlay.hides) << overlay.exStyle << " " << int(overlay.alpha);
        DestroyWindow(made);
    }
}

TEST(WindowCover, AWindowHidesAMonitorFromNinetyFivePercentOfItsArea) {
    const RECT monitor{-1920, 0, 0, 1080};
    EXPECT_TRUE(coversMonitor({-1920, 0, 0, 1080}, monitor));
    EXPECT_TRUE(coversMonitor({-2000, -10, 10, 1100}, monitor));
    EXPECT_TRUE(coversMonitor({-1920, 0, 0, 1026}, monitor));  // 95 %
    EXPECT_FALSE(coversMonitor({-1920, 0, 0, 1025}, monitor)); // 94.9 %
    EXPECT_FALSE(coversMonitor({0, 0, 1920, 1080}, monitor));  // the monitor beside
    EXPECT_FALSE(coversMonitor({-1920, 0, 0, 1080}, {0, 0, 0, 0}));
}

} // namespace
