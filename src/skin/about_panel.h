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

// One for the whole run; every opening of the panel attaches the same objects again.
struct AboutPanel {
    AboutLinks links;
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

// Program-wide state of the About panel, kept for the whole run.
extern AboutPanel aboutPanel;
// Milliseconds between the steps of the panel's fades; tests that open it often lower it.
extern int aboutFadeStepMs;
extern std::vector<std::string> tickerTexts;
extern uint32_t tickerIndex;

// lParam points to the AboutLinks, or is 0.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the ticker's list with the headline and the names of the maker's other programs.
void fillTickerTexts();

// Shows the next ticker text, wrapping after the last.
void advanceTicker();
