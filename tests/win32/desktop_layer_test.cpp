// Where the water goes on the desktop, decided from the windows this test makes in the shell's
// three layouts, and where each monitor's water lies in its parent when monitors stand left
// of or above the primary one.
#include "desktop/desktop_layer.h"
#include "desktop/window_cover.h"

#include <gtest/gtest.h>

#include <string>

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
        DestroyWindow(progman);
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
        EXPECT_TRUE(layerStands(layer));
    }
    {
        const Desktop workerOnRequest({0, 0, 800, 600}, false);
        answersWithWorker = true;
        const DesktopLayer layer = findDesktopLayer();
        EXPECT_EQ(layer.layout, DesktopLayout::workerBehindIcons);
        EXPECT_EQ(layer.parent, madeWorker);
        DestroyWindow(madeWorker); // the shell restarted: the layer is gone
        madeWorker = nullptr;
        EXPECT_FALSE(layerStands(layer));
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
