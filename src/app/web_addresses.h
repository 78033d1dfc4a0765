// The maker's web addresses, fixed when the program is built.
#pragma once

#include <string_view>

#include "app/messages.h"
#include "skin/about_panel.h"

inline constexpr const char* homePageUrl = "https://www.pluvette.org/";
inline constexpr const char* socialPageUrl1 = "https://mastodon.social/@pluvette";
inline constexpr const char* socialPageUrl2 = "https://www.youtube.com/@pluvette";
inline constexpr const char* gpPageUrl = "https://www.pluvette.org/gp/";
inline constexpr const char* donatePageUrl = "https://www.pluvette.org/donate/";

// The site's pages are on the site the support text names.
static_assert(std::string_view(homePageUrl).substr(8, std::string_view(siteHostName).size()) ==
              siteHostName);
static_assert(std::string_view(gpPageUrl).starts_with(homePageUrl));
static_assert(std::string_view(donatePageUrl).starts_with(homePageUrl));

// The About panel's links to these pages.
inline constexpr AboutLinks aboutLinks{homePageUrl, donatePageUrl, socialPageUrl1, socialPageUrl2,
                                       gpPageUrl};
