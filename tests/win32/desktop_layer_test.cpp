// Where the water goes on the desktop, decided from the windows this test makes in the shell's
// three layouts, and where each monitor's water lies in its parent when monitors stand left
// of or above the primary one.
#include "desktop/desktop_layer.h"
#include "desktop/window_cover.h"

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
