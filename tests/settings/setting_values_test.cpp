// What the values of config.txt mean, whatever was written by hand.
#include "settings/setting_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace {

TEST(SettingValues, NullIsNothingInAnyCaseButTheLauncherShowsOnlyItsOwnSpelling) {
    for (const char* value : {"null", "NULL", "Null"}) {
        EXPECT_TRUE(meansNothing(value)) << value;
    }
    EXPECT_FALSE(meansNothing("null.png"));
    EXPECT_TRUE(launcherShowsAsNothing("null"));
    EXPECT_FALSE(launcherShowsAsNothing("NULL"));
}

TEST(SettingValues, ShortSoundsMeanNoMusic) {
    for (const char* value : {"null", "NULL", "a.mp3", ""}) {
        EXPECT_FALSE(namesMusic(value)) << value;
    }
    EXPECT_TRUE(namesMusic("ab.mp3"));
}

TEST(SettingValues, StretchingLooksAtTheFirstThreeLettersIgnoringCase) {
    const std::pair<const char*, bool> cases[] = {
        {"yes", true}, {"YES", true}, {"Yes please", true}, {"yEs!", true},  {"ye", false},
        {"", false},   {"no", false}, {" yes", false},      {"y es", false},
    };
    for (auto [setting, fits] : cases) {
        EXPECT_EQ(placementOf(setting) == Placement::stretch, fits) << '"' << setting << '"';
    }
}

// The launcher's list shows what the show does with any value; each entry writes a value
// that the show reads back as that entry.
TEST(SettingValues, PlacementIsWhatTheShowDoesWithAnyValue) {
    const std::pair<const char*, Placement> cases[] = {
        {"yes", Placement::stretch}, {"Yes please", Placement::stretch},
        {"no", Placement::centre},   {"maybe", Placement::centre},
        {"", Placement::centre},     {"FILL", Placement::fill},
        {"fit", Placement::fit},     {"fits", Placement::centre},
    };
    for (auto [setting, choice] : cases) {
        EXPECT_EQ(placementOf(setting), choice) << setting;
    }
    for (int entry = 0; entry < 4; ++entry) {
        EXPECT_EQ(int(placementOf(placementSpellings[entry])), entry);
    }
}

TEST(SettingValues, RainIsNamedInAnyCase) {
    const std::pair<const char*, Rain> cases[] = {
        {"none", Rain::none},    {"LIGHT", Rain::light}, {"normal", Rain::normal},
        {"Heavy", Rain::heavy},  {"", Rain::normal},     {"lots", Rain::normal},
        {" none", Rain::normal},
    };
    for (auto [setting, amount] : cases) {
        EXPECT_EQ(rainOf(setting), amount) << '"' << setting << '"';
    }
    for (int amount = 0; amount < 4; ++amount) {
        EXPECT_EQ(int(rainOf(rainSpellings[amount])), amount);
    }
}

TEST(SettingValues, ChangeIsMinutesWithDecimalsNeverOrTheDefault) {
    const std::pair<std::string, std::optional<uint32_t>> cases[] = {
        {"5", 300000},
        {"0.05", 3000},
        {" 1,5 ", 90000},
        {"never", std::nullopt},
        {"NEVER", std::nullopt},
        {"0", std::nullopt},
        {"0.0", std::nullopt},
        {"", 300000},
        {"soon", 300000},
        {"-3", 300000},
        {"1.2.3", 300000},
        {"0.001", 2000},
        {"99999999999", 7 * 24 * 3600 * 1000u},
        // Past the digits a double holds: one point only, and the value still read.
        {"0." + std::string(330, '0') + "1", 2000},
        {"0." + std::string(400, '0') + "0.05", 300000},
        {std::string(400, '9'), 7 * 24 * 3600 * 1000u},
        {"5." + std::string(400, '0'), 300000},
    };
    for (const auto& [setting, ms] : cases) {
        EXPECT_EQ(changeIntervalMs(setting), ms) << setting;
    }
    // Shown in the launcher's list as the wait it means, in a few digits whatever its length.
    const std::pair<std::string, std::string> shown[] = {
        {"0.5" + std::string(20000, '0'), "0.5"}, {" 1,5 ", "1,5"},  {"0.001", "0.03"},
        {std::string(400, '9'), "10080"},         {"2.346", "2.35"}, {"never", ""},
    };
    for (const auto& [setting, minutes] : shown) {
        EXPECT_EQ(shownChangeMinutes(setting), minutes) << setting.substr(0, 20);
    }
}

} // namespace
