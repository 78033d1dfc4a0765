#include "app/program_texts.h"

#include "app/messages.h"

const std::string noMusicText = "No Music";
const std::string captureScreenText = "Capture Screen";

const std::string launcherCaption = std::string("Pluvette : ") + siteHostName;
const std::string homePageUrl = std::string("https://") + siteHostName + "/";
const std::string socialPageUrl1 = "https://mastodon.social/@pluvette";
const std::string socialPageUrl2 = "https://www.youtube.com/@pluvette";
const std::string gpPageUrl = homePageUrl + "gp/";
const std::string donatePageUrl = homePageUrl + "donate/";

const AboutLinks& aboutLinks() {
    static const AboutLinks links{homePageUrl, donatePageUrl, socialPageUrl1, socialPageUrl2,
                                  gpPageUrl};
    return links;
}
