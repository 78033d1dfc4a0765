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

inline constexpr int aboutDialogId = 100;
inline constexpr int aboutBackgroundBitmapId = 701;

// One for the whole run; every opening of the panel attaches the same objects again.
struct AboutPanel {
    SkinForm form;
    PictureButton closeButton;
    PictureButton socialButton1;
    PictureButton socialButton2;
    PictureButton gpButton;
    PictureButton donateButton;
    PictureButton visitBanner;
    PictureLabel ticker;
};

extern AboutPanel aboutPanel;
// Milliseconds between the steps of the panel's fades; tests that open it often lower it.
extern int aboutFadeStepMs;
extern std::vector<std::string> tickerTexts;
extern uint32_t tickerIndex;

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the ticker's list with the headline and the names of the maker's other programs.
void fillTickerTexts();

// Shows the next ticker text, wrapping after the last.
void advanceTicker();
