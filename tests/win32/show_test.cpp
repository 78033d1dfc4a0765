// The show as one object: its dialog over monitors given to it, its waters reporting to it,
// and its end, which happens once however many things ask for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "ripple/ripple_window.h"
#include "show/show.h"

namespace {

// What the test does once the show's dialog runs, from a timer of its modal loop.
std::function<void(HWND show)> duringShow;

BOOL CALLBACK findShow(HWND window, LPARAM found) {
    if (GetDlgItem(window, IDC_WATER) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK actOnShow(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND show = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findShow, reinterpret_cast<LPARAM>(&show));
    if (show != nullptr) {
        KillTimer(nullptr, timer);
        duringShow(show);
    }
}

class ShowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { registerRippleClass(GetModuleHandleA(nullptr)); }

    void SetUp() override {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        settingsFile = std::string(folder) + "pluvette-show-test.txt";
        std::ofstream(settingsFile) << "bg=null\r\nsound=null\r\nfitscreen=yes\r\nrain=heavy\r\n";
        returnWindow = CreateWindowExA(0, "STATIC", "launcher", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(returnWindow);
        DeleteFileA(settingsFile.c_str());
    }

    // Runs a launched show over three monitors side by side, doing what the test says once
    // it is up.
    ShowEnd runOverThreeMonitors(Show& show, std::function<void(HWND)> action) {
        duringShow = std::move(action);
        SetTimer(nullptr, 0, 300, actOnShow);
        return show.run(GetModuleHandleA(nullptr));
    }

    ShowSetup threeMonitors() const {
        return {ShowHost::launcher,
                settingsFile,
                returnWindow,
                {{0, 0, 200, 150}, {200, 0, 360, 120}, {360, 0, 600, 180}}};
    }

    std::string settingsFile;
    HWND returnWindow = nullptr;
};

TEST_F(ShowTest, EveryMonitorHasItsWaterAndACloseKeyEndsTheShowOnce) {
    Show show(threeMonitors());
    int waters = 0;
    const ShowEnd end = runOverThreeMonitors(show, [&](HWND dialog) {
        for (int i = 0; i < 3; ++i) {
            const HWND water = GetDlgItem(dialog, IDC_WATER + i);
            waters += rippleSurfaceOf(water) != nullptr;
        }
        SendMessageA(GetDlgItem(dialog, IDC_WATER + 1), WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageA(dialog, WM_CLOSE, 0, 0); // asked again before the dialog is gone
        SendMessageA(GetDlgItem(dialog, IDC_WATER + 2), WM_RBUTTONUP, 0, 0);
    });
    EXPECT_EQ(end, ShowEnd::closed);
    EXPECT_EQ(waters, 3);
    EXPECT_EQ(show.endings(), 1); // the three waters torn down with the dialog end nothing
    EXPECT_TRUE(IsWindowVisible(returnWindow));
}

TEST_F(ShowTest, AWaterDestroyedFromOutsideEndsTheShowOnce) {
    Show show(threeMonitors());
    const ShowEnd end = runOverThreeMonitors(
        show, [](HWND dialog) { DestroyWindow(GetDlgItem(dialog, IDC_WATER)); });
    EXPECT_EQ(end, ShowEnd::closed);
    EXPECT_EQ(show.endings(), 1);
}

TEST_F(ShowTest, PointerRipplesButOnlyCloseKeysAndTheRightButtonEndIt) {
    Show show(threeMonitors());
    int moving = 0;
    runOverThreeMonitors(show, [&](HWND dialog) {
        const HWND water = GetDlgItem(dialog, IDC_WATER);
        RippleSurface* surface = rippleSurfaceOf(water);
        SendMessageA(water, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
        SendMessageA(water, WM_KEYDOWN, 'A', 0);
        SendMessageA(water, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60));
        const int32_t* next = surface->heights[1 - surface->current];
        moving = next[50 * surface->width + 50] != 0 && next[60 * surface->width + 60] != 0;
        EXPECT_EQ(show.endings(), 0);
        SendMessageA(water, WM_RBUTTONUP, 0, 0);
    });
    EXPECT_EQ(moving, 1);
    EXPECT_EQ(show.endings(), 1);
}

TEST_F(ShowTest, AnUnreadableSettingsFileEndsTheStartAndLeavesTheLauncherHidden) {
    DeleteFileA(settingsFile.c_str());
    CreateDirectoryA(settingsFile.c_str(), nullptr); // a folder cannot be read as a file
    Show show(threeMonitors());
    EXPECT_EQ(show.run(GetModuleHandleA(nullptr)), ShowEnd::settingsUnreadable);
    EXPECT_EQ(show.endings(), 1);
    EXPECT_FALSE(IsWindowVisible(returnWindow));
    RemoveDirectoryA(settingsFile.c_str());
}

// No window for the show (here: resources without its template, as when Windows has no
// window objects left) is a failure of its own, never an ordinary end.
TEST_F(ShowTest, AShowWithoutAWindowSaysSo) {
    Show show(threeMonitors());
    EXPECT_EQ(show.run(GetModuleHandleA("kernel32.dll")), ShowEnd::windowUnmade);
    EXPECT_EQ(show.endings(), 0);
}

} // namespace
