#include "app/messages.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Messages, EachTextStartsWithItsOwnThreeDigitCode) {
    std::set<int> codes;
    for (const ErrorMessage& message : errorMessages::all) {
        const std::string text = message.text;
        EXPECT_EQ(text.rfind("Error Code : " + std::to_string(message.code) + "\n", 0), 0u) << text;
        EXPECT_GE(message.code, 100);
        EXPECT_LE(message.code, 999);
        EXPECT_EQ(text.back() == '\n', false);
        codes.insert(message.code);
    }
    EXPECT_EQ(codes, (std::set<int>{101, 104, 105, 113, 114, 115}));
}

TEST(Messages, BoxTextIsTheMessageThenTheSupportLines) {
    EXPECT_EQ(composeErrorText(errorMessages::settingsFileUncreatable),
              "Error Code : 114\nFailed to create file.\n\n"
              "For support contact us at support@pluvette.org\nOr Visit www.pluvette.org");
    EXPECT_EQ(composeErrorText(errorMessages::showSettingsUnreadable),
              "Error Code : 101\nFailed to load configuration file.\n\n"
              "For support contact us at support@pluvette.org\nOr Visit www.pluvette.org");
    EXPECT_EQ(std::string(errorMessages::imageUnloadable.text),
              "Error Code : 104\nFailed to load image.\nPlease insure that image is not corrupt "
              "and is saved with right extention on your computer.");
}

} // namespace
