// The look at the screen that says whether the water is seen, over windows of this process
// that draw a known frame: Wine draws top-level windows, so a frame shown is found seen, one
// that differs is not, and points another window covers are never counted.
#include "wallpaper/water_seen.h"

#include <gtest/gtest.h>

#include <vector>

#include "message_pump.h"

namespace {

constexpr RECT area{40, 60, 40 + 160, 60 + 120};

// A window that draws the frame in its userdata, a band of colours.
LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const auto* pixels =
            reinterpret_cast<const uint32_t*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, -120, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(dc, 0, 0, 160, 120, 0, 0, 0, 120, pixels, &info, DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND windowAt(RECT place, const std::vector<uint32_t>* frame) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = frameProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Frame";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Frame", L"", WS_POPUP, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(frame->data()));
    ShowWindow(window, SW_SHOWNA);
    pumpMessagesFor(400);
    return window;
}

TEST(WaterSeen, AFrameOnTheScreenIsSeenAnotherIsNotAndCoveredPointsDoNotCount) {
    std::vector<uint32_t> frame(160 * 120);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = uint32_t((i % 160) * 0x010203u + (i / 160) * 0x020100u) & 0xFFFFFFu;
    }
    const HWND water = windowAt(area, &frame);
    EXPECT_EQ(watersSeen(pointsToLook({{water, area, frame.data()}}), nullptr), WaterSeen::yes);
    std::vector<uint32_t> other(frame.size());
    for (size_t i = 0; i < frame.size(); ++i) {
        other[i] = frame[i] ^ 0x808080u;
    }
    EXPECT_EQ(watersSeen(pointsToLook({{water, area, other.data()}}), nullptr), WaterSeen::no);
    // A window over the left half: its points are passed over, the rest still match.
    const HWND half = windowAt({40, 60, 120, 180}, &other);
    EXPECT_EQ(watersSeen(pointsToLook({{water, area, frame.data()}}), nullptr), WaterSeen::yes);
    // Over all of it: nothing to look at.
    const HWND whole = windowAt(area, &other);
    EXPECT_EQ(watersSeen(pointsToLook({{water, area, frame.data()}}), nullptr), WaterSeen::unknown);
    for (HWND window : {whole, half, water}) {
        DestroyWindow(window);
    }
    EXPECT_TRUE(pixelShown(0x102030, 0x1c2a24));  // within 12 a channel
    EXPECT_FALSE(pixelShown(0x102030, 0x1d2030)); // 13 off in red
}

} // namespace
