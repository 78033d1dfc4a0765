// The screen saver's preview inside a window, as Windows' screen-saver settings ask for it.
// The window here belongs to this test program: Wine does not show the drawing of a child
// window of another process, which the end-to-end script therefore checks only for its
// place and its lifetime.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/screen_saver.h"
#include "message_pump.h"
#include "ripple/ripple_window.h"
#include "win32/handles.h"

namespace {

// What the screen shows where the window is.
std::vector<COLORREF> pixelsOf(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    std::vector<COLORREF> pixels;
    const win32::WindowDc screen(nullptr);
    for (LONG y = box.top; y < box.bottom; y += 3) {
        for (LONG x = box.left; x < box.right; x += 3) {
            pixels.push_back(GetPixel(screen.get(), x, y));
        }
    }
    return pixels;
}

TEST(Preview, RainFallsOverTheWholeClientAreaUntilTheWindowGoesAway) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    registerRippleClass(instance);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                  100, 240, 180, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(parent, nullptr);
    pumpMessagesFor(300);
    const std::vector<COLORREF> before = pixelsOf(parent);
    std::atomic<int> exitCode{-1};
    std::thread preview([&] { exitCode = runPreview(instance, parent); });
    pumpMessagesFor(1500);
    const std::vector<COLORREF> first = pixelsOf(parent);
    pumpMessagesFor(1000);
    const std::vector<COLORREF> second = pixelsOf(parent);
    EXPECT_NE(first, before); // the preview covers the window
    EXPECT_NE(second, first); // and rain falls on it

    HWND frame = GetWindow(parent, GW_CHILD);
    HWND water = frame != nullptr ? GetWindow(frame, GW_CHILD) : nullptr;
    ASSERT_NE(water, nullptr);
    char kind[32] = {};
    GetClassNameA(water, kind, sizeof(kind));
    EXPECT_STREQ(kind, rippleClassName);
    RECT inside;
    GetClientRect(water, &inside);
    EXPECT_EQ(inside.right, 240);
    EXPECT_EQ(inside.bottom, 180);
    EXPECT_NE(GetFocus(), water);

    DestroyWindow(parent);
    for (int i = 0; i < 200 && exitCode == -1; ++i) {
        pumpMessagesFor(10);
    }
    EXPECT_EQ(exitCode, 0);
    preview.join();
}

TEST(Preview, AWindowThatIsNotThereEndsItAtOnce) {
    EXPECT_EQ(runPreview(GetModuleHandleA(nullptr), reinterpret_cast<HWND>(uintptr_t(0x7FFFFF0))),
              1);
}

} // namespace
