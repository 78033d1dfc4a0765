#include <gtest/gtest.h>

#include <map>
#include <set>

#include "show/picture_deck.h"
#include "show/picture_folder.h"

namespace {

TEST(PictureDeck, NoPictureComesAgainBeforeEveryOneHasBeenDealt) {
    PictureDeck deck(7, 1);
    for (int round = 0; round < 5; ++round) {
        std::set<size_t> seen;
        for (int i = 0; i < 7; ++i) {
            seen.insert(*deck.next({}));
        }
        EXPECT_EQ(seen.size(), 7u) << "round " << round;
    }
}

TEST(PictureDeck, HandsDifferOnEveryMonitorAndFromWhatEachShowed) {
    auto showAll = [](size_t, size_t) { return true; };
    for (uint32_t seed = 0; seed < 50; ++seed) {
        PictureDeck deck(3, seed);
        std::vector<size_t> shown = dealHand(deck, 2, {}, showAll);
        for (int change = 0; change < 10; ++change) {
            const std::vector<size_t> hand = dealHand(deck, 2, shown, showAll);
            ASSERT_EQ(hand.size(), 2u);
            EXPECT_NE(hand[0], hand[1]);
            EXPECT_NE(hand[0], shown[0]);
            EXPECT_NE(hand[1], shown[1]);
            shown = hand;
        }
    }
    // Fewer pictures than monitors: every picture is used, some twice.
    PictureDeck pair(2, 3);
    const std::vector<size_t> hand = dealHand(pair, 3, {}, showAll);
    EXPECT_EQ(std::set<size_t>(hand.begin(), hand.end()).size(), 2u);
    EXPECT_EQ(hand.size(), 3u);
}

TEST(PictureDeck, PicturesThatCannotBeShownAreSkippedForGood) {
    PictureDeck deck(5, 9);
    std::map<size_t, int> tries;
    auto onlyEven = [&](size_t picture, size_t) {
        ++tries[picture];
        return picture % 2 == 0;
    };
    std::vector<size_t> shown;
    for (int change = 0; change < 6; ++change) {
        shown = dealHand(deck, 2, shown, onlyEven);
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[0] % 2 + shown[1] % 2, 0u);
    }
    EXPECT_EQ(tries[1] + tries[3], 2); // each tried once
    EXPECT_EQ(deck.left(), 3u);
    PictureDeck junk(4, 2);
    EXPECT_TRUE(dealHand(junk, 2, {}, [](size_t, size_t) { return false; }).empty());
    EXPECT_EQ(junk.left(), 0u);
}

TEST(PictureFolder, WalksLevelByLevelInNameOrderWithinTheDepthAndCount) {
    const std::map<std::string, std::vector<FolderEntry>> tree = {
        {"C:\\p", {{"b.jpg"}, {"sub", true}, {"a.png"}, {"deep", true}}},
        {"C:\\p\\sub", {{"c.gif"}}},
        {"C:\\p\\deep", {{"1", true}}},
        {"C:\\p\\deep\\1", {{"2", true}, {"d.bmp"}}},
        {"C:\\p\\deep\\1\\2", {{"e.png"}}},
    };
    const FolderLister list = [&](const std::string& folder) {
        const auto found = tree.find(folder);
        return found == tree.end() ? std::vector<FolderEntry>() : found->second;
    };
    EXPECT_EQ(filesOfPictureFolder("C:\\p", list),
              (std::vector<std::string>{"C:\\p\\a.png", "C:\\p\\b.jpg", "C:\\p\\sub\\c.gif",
                                        "C:\\p\\deep\\1\\d.bmp", "C:\\p\\deep\\1\\2\\e.png"}));
    EXPECT_EQ(filesOfPictureFolder("C:\\p", list, 1).size(), 3u);
    EXPECT_EQ(filesOfPictureFolder("C:\\p", list, 0),
              (std::vector<std::string>{"C:\\p\\a.png", "C:\\p\\b.jpg"}));
    EXPECT_EQ(filesOfPictureFolder("C:\\p", list, 4, 3).back(), "C:\\p\\sub\\c.gif");
    EXPECT_TRUE(filesOfPictureFolder("C:\\none", list).empty());
}

} // namespace
