// The launcher's display texts and the maker's web addresses, fixed when the program is built.
#pragma once

#include <string>

#include "skin/about_panel.h"

extern const std::string noMusicText;
extern const std::string captureScreenText;
extern const std::string launcherCaption; // "Pluvette : " and the site's host name

extern const std::string homePageUrl;
extern const std::string socialPageUrl1;
extern const std::string socialPageUrl2;
extern const std::string gpPageUrl;
extern const std::string donatePageUrl;

// The About panel's links to these pages.
const AboutLinks& aboutLinks();
