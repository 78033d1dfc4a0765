#include <windows.h>

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ripple/ripple_window.h"
#include "win32/dib.h"
#include "win32/handles.h"

namespace {

constexpr int32_t pictureWidth = 64;
constexpr int32_t pictureHeight = 48;
// A host that notes what its waters report and takes the input it is told to.
struct CountingHost final : RippleHost {
    std::vector<UINT> inputs;
    UINT taken = 0; // the message it takes, or none
    int gone = 0;
    bool waterInput(HWND, UINT message, WPARAM, LPARAM) override {
        inputs.push_back(message);
        return message == taken;
    }
    void waterGone(HWND) override { ++gone; }
};

uint32_t pictureColour(int32_t x, int32_t y) {
    return uint32_t(x * 4) << 16 | uint32_t(y * 5) << 8 | uint32_t(255 - x - y);
}

// A top-down 32-bit DIB section; bits receives its pixels.
win32::Bitmap makeDibSection(int32_t width, int32_t height, void*& bits) {
    return win32::makeDibSection(nullptr, win32::dibDescription(width, -height, 32), bits);
}

// A picture holding pictureColour at every pixel.
win32::Bitmap makePicture(int32_t width, int32_t height) {
    void* bits = nullptr;
    win32::Bitmap bitmap = makeDibSection(width, height, bits);
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels[y * width + x] = pictureColour(x, y);
        }
    }
    return bitmap;
}

void pumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

std::vector<int32_t> fieldOf(const RippleSurface& s, int index) {
    return {s.heights[index], s.heights[index] + s.pixelCount};
}

class RippleWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        instance = GetModuleHandleA(nullptr);
        ASSERT_TRUE(registerRippleClass(instance));
        WNDCLASSEXA showClass{};
        showClass.cbSize = sizeof(showClass);
        showClass.lpfnWndProc = DefWindowProcA;
        showClass.hInstance = instance;
        showClass.lpszClassName = "RippleTestShow";
        ASSERT_NE(RegisterClassExA(&showClass), 0);
    }

    void SetUp() override {
        show = CreateWindowExA(0, "RippleTestShow", "show", WS_POPUP | WS_VISIBLE, 0, 0,
                               pictureWidth, pictureHeight, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(show, nullptr);
        const win32::Bitmap picture = makePicture(pictureWidth, pictureHeight);
        RippleOptions options;
        options.host = &host;
        surface = createRippleSurface(0, 0, pictureWidth, pictureHeight, 0x10000 + 555, show,
                                      instance, picture.get(), options);
        ASSERT_NE(surface, nullptr);
        window = static_cast<HWND>(surface->window);
    }

    void TearDown() override {
        if (IsWindow(show)) {
            DestroyWindow(show);
        }
    }

    // A surface of the same size that follows the same drops and steps by hand.
    static OwnedRippleSurface twin() { return allocateRippleSurface(pictureWidth, pictureHeight); }

    static inline HINSTANCE instance = nullptr;
    CountingHost host;
    HWND show = nullptr;
    HWND window = nullptr;
    RippleSurface* surface = nullptr;
};

TEST_F(RippleWindowTest, ClassIsRegisteredOnceWithRoomForTheSurface) {
    WNDCLASSEXA found{};
    found.cbSize = sizeof(found);
    ASSERT_TRUE(GetClassInfoExA(instance, rippleClassName, &found));
    EXPECT_EQ(found.style & CS_PARENTDC, 0u); // clipped by its own edges, not its parent's
    EXPECT_EQ(found.lpfnWndProc, &rippleWindowProc);
    EXPECT_EQ(found.cbWndExtra, int(sizeof(LONG_PTR)));
    EXPECT_NE(found.hCursor, nullptr);
    EXPECT_NE(found.hbrBackground, nullptr);
    EXPECT_FALSE(registerRippleClass(instance));
}

TEST_F(RippleWindowTest, CreationCopiesThePictureAndRunsTheFirstStep) {
    EXPECT_EQ(GetDlgItem(show, 555), window);
    EXPECT_EQ(rippleSurfaceOf(window), surface);
    EXPECT_EQ(rippleSurfaceOf(show), nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, pictureWidth);
    EXPECT_EQ(client.bottom, pictureHeight);
    EXPECT_EQ(surface->current, 1);
    EXPECT_EQ(surface->source[7 * pictureWidth + 9], pictureColour(9, 7));
    EXPECT_EQ(surface->output[7 * pictureWidth + 9], pictureColour(9, 7));
    EXPECT_EQ(surface->output[0], 0u);
    EXPECT_NE(surface->stepTimer, 0u);
}

TEST_F(RippleWindowTest, WithoutAPictureTheSourceStaysBlack) {
    RippleSurface* bare = createRippleSurface(0, 0, 8, 6, 556, show, instance, nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(bare->source, bare->source + 48), std::vector<uint32_t>(48, 0));
    DestroyWindow(static_cast<HWND>(bare->window));
}

TEST_F(RippleWindowTest, ANullCreationParameterRefusesTheWindow) {
    EXPECT_EQ(CreateWindowExA(0, rippleClassName, nullptr, WS_CHILD, 0, 0, 4, 4, show, nullptr,
                              instance, nullptr),
              nullptr);
    EXPECT_EQ(createRippleSurface(0, 0, 0, 10, 557, show, instance, nullptr), nullptr);
}

// Every key and mouse message goes to the host; what it does not take ripples, what it takes
// does not.
TEST_F(RippleWindowTest, InputGoesToTheHostAndTheRestRipples) {
    auto expected = twin();
    host.taken = WM_MOUSEMOVE;
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    addDrop(expected.get(), 20, 15, 50, 70);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40)); // taken: no drop
    host.taken = 0;
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(35, 30));
    addDrop(expected.get(), 35, 30, 18, 15);
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(host.inputs, (std::vector<UINT>{WM_KEYDOWN, WM_LBUTTONDOWN, WM_MOUSEMOVE,
                                              WM_MOUSEMOVE, WM_RBUTTONUP}));
    // The twin has not stepped, so its "next" field is 1 while the window's is 0.
    EXPECT_EQ(fieldOf(*surface, 0), fieldOf(*expected, 1));
    EXPECT_EQ(host.gone, 0);
}

// A water without ripples of the pointer and without a host: a preview.
TEST_F(RippleWindowTest, AQuietWaterTakesNoInput) {
    RippleOptions quiet;
    quiet.pointerRipples = false;
    quiet.takesActivation = false;
    RippleSurface* still = createRippleSurface(0, 0, 8, 6, 558, show, instance, nullptr, quiet);
    ASSERT_NE(still, nullptr);
    const auto water = static_cast<HWND>(still->window);
    SendMessageA(water, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(water, WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
    const int32_t next = 1 - still->current;
    EXPECT_TRUE(std::all_of(still->heights[next], still->heights[next] + still->pixelCount,
                            [](int32_t h) { return h == 0; }));
    EXPECT_TRUE(host.inputs.empty());
    DestroyWindow(water);
}

TEST_F(RippleWindowTest, RainTimerDropsAtRandomPlacesThenSteps) {
    auto expected = twin();
    stepRipple(expected.get()); // the window's first step
    std::srand(7);
    const int32_t y = std::rand() % pictureHeight;
    const int32_t x = std::rand() % pictureWidth;
    addDrop(expected.get(), x, y, 12, 42);
    stepRipple(expected.get());

    std::srand(7);
    SendMessageA(window, WM_TIMER, rippleRainTimerId, 0);
    EXPECT_EQ(surface->current, expected->current);
    EXPECT_EQ(fieldOf(*surface, 0), fieldOf(*expected, 0));
    EXPECT_EQ(fieldOf(*surface, 1), fieldOf(*expected, 1));

    SendMessageA(window, WM_TIMER, rippleStepTimerId, 0);
    EXPECT_EQ(surface->current, 1 - expected->current);
}

TEST_F(RippleWindowTest, TimersKeepTheWaterMoving) {
    const int32_t before = surface->current;
    int flips = 0;
    int32_t last = before;
    for (int i = 0; i < 60 && flips < 3; ++i) {
        pumpMessagesFor(20);
        if (surface->current != last) {
            ++flips;
            last = surface->current;
        }
    }
    EXPECT_GE(flips, 3);
}

TEST_F(RippleWindowTest, PaintingCopiesTheOutputToTheDevice) {
    surface->output[5 * pictureWidth + 6] = 0x00123456;
    // Into a device context given with the message.
    void* bits = nullptr;
    const win32::Bitmap target = makeDibSection(pictureWidth, pictureHeight, bits);
    const win32::OwnedDc memory = win32::memoryDcFor(nullptr);
    {
        const win32::Selection selected(memory.get(), target.get());
        SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(memory.get()), 0);
        GdiFlush();
    }
    const auto* painted = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(std::vector<uint32_t>(painted, painted + surface->pixelCount),
              std::vector<uint32_t>(surface->output, surface->output + surface->pixelCount));

    // Into the window itself: the picture is what the screen shows.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    const win32::WindowDc dc(window);
    EXPECT_EQ(GetPixel(dc.get(), 6, 5), RGB(0x12, 0x34, 0x56));
    const uint32_t expected = pictureColour(20, 30);
    EXPECT_EQ(GetPixel(dc.get(), 20, 30),
              RGB(expected >> 16, (expected >> 8) & 0xFF, expected & 0xFF));
}

// On a surface tall enough to be stepped by tiles, each step draws only the tiles it went
// over; after many steps of rain and drops the window shows just what a full paint would.
TEST_F(RippleWindowTest, DrawingTheSteppedTilesShowsWhatAFullPaintShows) {
    constexpr int32_t width = 640;
    constexpr int32_t height = 520;
    HWND tileHost = CreateWindowExA(0, "RippleTestShow", "tiles", WS_POPUP | WS_VISIBLE, 100, 100,
                                    width, height, nullptr, nullptr, instance, nullptr);
    RippleSurface* tiled = createRippleSurface(0, 0, width, height, 1, tileHost, instance,
                                               makePicture(width, height).get());
    ASSERT_NE(tiled, nullptr);
    const auto water = static_cast<HWND>(tiled->window);
    UpdateWindow(tileHost);
    for (int i = 0; i < 30; ++i) {
        addDrop(tiled, 40 + i * 19, 30 + i * 15, 10, i % 2 == 0 ? 60 : -60);
        pumpMessagesFor(25);
    }
    KillTimer(water, rippleStepTimerId);
    KillTimer(water, rippleRainTimerId);
    pumpMessagesFor(50);
    void* bits = nullptr;
    const win32::Bitmap shown = makeDibSection(width, height, bits);
    const win32::OwnedDc memory = win32::memoryDcFor(nullptr);
    {
        const win32::Selection selected(memory.get(), shown.get());
        BitBlt(memory.get(), 0, 0, width, height, win32::WindowDc(water).get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    int differing = 0;
    for (int32_t i = 0; i < width * height; ++i) {
        differing += (pixels[i] & 0xFFFFFFu) != tiled->output[i];
    }
    EXPECT_EQ(differing, 0);
    const auto& stepped = tiled->tiles->stepped;
    EXPECT_LT(std::count(stepped.begin(), stepped.end(), 1), int(stepped.size())); // some calm
    DestroyWindow(tileHost);
}

TEST_F(RippleWindowTest, DestroyingTheWindowTellsTheHostAndDetachesTheSurface) {
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(host.gone, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindow(show));
}

// The memory the process has committed (Wine reports no private usage, but this).
SIZE_T committedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

TEST_F(RippleWindowTest, DestroyingTheWindowFreesTheSurface) {
    // Each surface holds four buffers of 16 MiB; ten that were never freed would hold 640 MiB.
    const SIZE_T before = committedBytes();
    for (int i = 0; i < 10; ++i) {
        RippleSurface* large = createRippleSurface(0, 0, 2048, 2048, 600, show, instance, nullptr);
        ASSERT_NE(large, nullptr);
        std::fill(large->heights[0], large->heights[0] + large->pixelCount, 1); // touch the pages
        DestroyWindow(static_cast<HWND>(large->window));
    }
    EXPECT_LT(committedBytes(), before + (SIZE_T(128) << 20));
}

TEST_F(RippleWindowTest, DestroyingTheShowTakesTheSurfaceWindowWithIt) {
    EXPECT_TRUE(DestroyWindow(show));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(host.gone, 1);
}

} // namespace
