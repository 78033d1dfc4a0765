// Window fades, point fonts and the About panel's lifetime under Wine. The panel's looks and
// behaviour as a user sees them are in the end-to-end script.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "probe_process.h"
#include "skin/about_panel.h"
#include "skin/window_fades.h"

namespace {

HWND makePopup() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The opacities a fade applies, read from another thread every millisecond while it runs.
std::vector<int> watchOpacity(HWND window, void (*fade)(HWND)) {
    std::vector<int> seen;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            BYTE alpha = 0;
            DWORD flags = 0;
            if (GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) &&
                (seen.empty() || seen.back() != alpha)) {
                seen.push_back(alpha);
            }
            Sleep(1);
        }
    });
    fade(window);
    done = true;
    watcher.join();
    return seen;
}

TEST(WindowFades, InBySteppingFiveBelowTheBoundThenOutByTen) {
    HWND window = makePopup();
    const std::vector<int> in = watchOpacity(window, [](HWND w) { fadeIn(w, 15, 220); });
    std::vector<int> expected;
    for (int alpha = 0; alpha < 220; alpha += 5) {
        expected.push_back(alpha);
    }
    EXPECT_EQ(in, expected);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);

    std::vector<int> out = watchOpacity(window, [](HWND w) { fadeOut(w, 15, 220); });
    if (!out.empty() && out.front() == 215) {
        out.erase(out.begin()); // where the fade-in left it, seen before the first step
    }
    expected.clear();
    for (int alpha = 220; alpha > 0; alpha -= 10) {
        expected.push_back(alpha);
    }
    EXPECT_EQ(out, expected);
    EXPECT_TRUE(IsWindowVisible(window)); // hiding is the caller's business
    DestroyWindow(window);
}

TEST(WindowFades, BoundsOfZeroOrLessOnlyMakeTheWindowLayered) {
    for (int bound : {0, -5}) {
        HWND window = makePopup();
        fadeIn(window, 15, bound);
        fadeOut(window, 15, bound);
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_FALSE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) &&
                     (flags & LWA_ALPHA));
        DestroyWindow(window);
    }
}

// Wine reads the screen's resolution from LogPixels when a process starts.
TEST(PointFont, TwelvePointsAreSixteenTwentyAndTwentyFourPixelsAt96_120And144) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, &desktop),
              ERROR_SUCCESS);
    DWORD saved = 0, size = sizeof(saved);
    const bool hadValue = RegQueryValueExA(desktop, "LogPixels", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
    ScratchDirectory folder;
    for (auto [dpi, height] : {std::pair{96, 16}, {120, 20}, {144, 24}}) {
        const DWORD value = DWORD(dpi);
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        const std::string output = folder.file("font.txt");
        {
            ProbeProcess probe("font_probe.exe", "", folder.path(), output);
            ASSERT_TRUE(probe.started());
            ASSERT_EQ(probe.waitForExit(20000), 0u);
        }
        EXPECT_EQ(readBytes(output), std::to_string(dpi) + " " + std::to_string(height) + "\r\n");
    }
    if (hadValue) {
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                       sizeof(saved));
    } else {
        RegDeleteValueA(desktop, "LogPixels");
    }
    RegCloseKey(desktop);
}

AboutPanel aboutPanel; // the launcher's, kept from one opening to the next

void CALLBACK closePanel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(aboutPanel.form.window, WM_CLOSE, 0, 0);
}

// Opens the panel and closes it as soon as its modal loop runs.
void openAndClose() {
    SetTimer(nullptr, 0, 1, closePanel);
    ASSERT_EQ(runAboutPanel(GetModuleHandleA(nullptr), aboutPanel), 0);
}

TEST(AboutPanel, EveryOpeningReusesThePicturesAndTheFontAndKeepsNothingOfTheLast) {
    aboutPanel.fadeStepMs = 0;
    openAndClose();
    // What the first opening attached: the buttons' pictures and the ticker's.
    const std::vector<PictureButton> firstButtons = {
        aboutPanel.closeButton, aboutPanel.socialButton1, aboutPanel.socialButton2,
        aboutPanel.gpButton,    aboutPanel.donateButton,  aboutPanel.visitBanner};
    const PictureLabel& ticker = aboutPanel.ticker;
    const HBITMAP firstTickerPicture = ticker.picture;
    const HFONT firstTickerFont = ticker.font;
    const PictureButton& firstClose = firstButtons[0];
    ASSERT_NE(firstClose.normal, nullptr);
    ASSERT_NE(firstTickerPicture, nullptr);
    ASSERT_NE(firstTickerFont, nullptr);
    const DWORD objectsAfterFirst = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int opening = 2; opening <= 200; ++opening) {
        const HDC previousContext = aboutPanel.ticker.pictureContext.get();
        openAndClose();
        // The last opening's context is gone, unless its handle was given to this one.
        EXPECT_TRUE(GetObjectType(previousContext) == 0 ||
                    previousContext == aboutPanel.ticker.pictureContext.get());
        if (opening == 2 || opening == 100 || opening == 200) {
            SCOPED_TRACE(opening);
            const PictureButton* buttons[] = {&aboutPanel.closeButton,   &aboutPanel.socialButton1,
                                              &aboutPanel.socialButton2, &aboutPanel.gpButton,
                                              &aboutPanel.donateButton,  &aboutPanel.visitBanner};
            for (size_t i = 0; i < firstButtons.size(); ++i) {
                EXPECT_EQ(buttons[i]->normal, firstButtons[i].normal);
                EXPECT_EQ(buttons[i]->hover, firstButtons[i].hover);
            }
            EXPECT_EQ(ticker.picture, firstTickerPicture);
            EXPECT_EQ(ticker.font, firstTickerFont);
            EXPECT_EQ(aboutPanel.form.pictureButtons.size(), 6u);
        }
    }
    // Each opening shows the text after the last one shown.
    EXPECT_EQ(aboutPanel.tickerIndex, 200u % 5);
    // Wine reports no count (0); Windows does.
    const DWORD objectsAfterAll = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(objectsAfterAll, objectsAfterFirst + 2);
}

} // namespace
