// The About panel: a borderless window drawn from pictures, with links to the maker's pages
// and a ticker strip that cycles through the maker's other programs every 700 ms. It fades
// in when it opens, is dragged by its background and fades out when it closes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/picture_button.h"
#include "skin/picture_label.h"
#include "skin/skin_form.h"

#include "resources/resource_ids.h"

// The web addresses the panel's links open. The caller passes them as the dialog's creation
// parameter; without them the links open nothing.
struct AboutLinks {
    const char* home = nullptr; // the ticker and the visit banner; null: no link
    const char* donate = nullptr;
    const char* social1 = nullptr;
    const char* social2 = nullptr;
    const char* gp = nullptr;
};

// Where a control of the panel stands on the artwork drawn at 100 %.
struct ArtworkPlace {
    HWND control;
    POINT at;
};

// The names of the maker's other programs, shown in turn on the ticker after its headline.
inline constexpr const char* otherPrograms[] = {"Snowdrift", "Lumen Clock", "Tidewatch", "Leafall"};

// What the panel holds. Its owner keeps it from one opening to the next, which attaches the
// same objects again and goes on with the ticker where the last one stopped.
struct AboutPanel {
    AboutLinks links;
    std::string headline = "More Free Programs !"; // UTF-8, in the program's language
    bool rightToLeft = false; // the ticker's text reads from its right; the artwork stays
    int fadeStepMs = 15;      // between the steps of the panel's fades
    uint32_t tickerIndex = 0; // the ticker text shown next: 0 the headline, then the programs
    DWORD pressPosition = 0;  // where the left button went down on the bare panel
    std::vector<ArtworkPlace> places;
    HBITMAP background = nullptr; // the picture the background control was given
    SkinForm form;
    PictureButton closeButton;
    PictureButton socialButton1;
    PictureButton socialButton2;
    PictureButton gpButton;
    PictureButton donateButton;
    PictureButton visitBanner;
    PictureLabel ticker;
};

// Opens the panel (dialog IDD_ABOUT_PANEL) and returns once it is closed.
INT_PTR runAboutPanel(HINSTANCE instance, AboutPanel& panel);

// lParam points to the AboutPanel.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the next ticker text, wrapping after the last.
void advanceTicker(AboutPanel& panel);
