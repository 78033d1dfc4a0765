// Settings files as editors save them: every encoding read, saved back in the same one and
// read again to the same entries; spaces, tabs and quotes around the known values.
#include "settings/settings_store.h"
#include "settings/settings_text.h"
#include "text/unicode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// Windows-1252 for the bytes the tests use: Latin-1, with 0x80 as the euro sign.
std::string windows1252(std::string_view bytes) {
    std::u16string units;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        units += byte == 0x80 ? u'\u20AC' : static_cast<char16_t>(byte);
    }
    return utf8FromUtf16(units);
}

std::string utf16(std::string_view utf8, bool bigEndian) {
    return encodeSettingsText(utf8, bigEndian ? TextEncoding::utf16Big : TextEncoding::utf16Little);
}

class SettingsTextTest : public testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("settings-text-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "config.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    fs::path dir;
    std::string path;
};

TEST_F(SettingsTextTest, EveryEncodingReadsSavesInItselfAndReadsBackTheSame) {
    const std::string japanese = "C:\\\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\\a.png"; // 日本語
    const std::string text =
        "bg=" + japanese + "\r\nsound=null\r\n# caf\xC3\xA9\r\nfitscreen=yes\r\n";
    const std::string emoji = "D:\\\xF0\x9F\x8C\xA7 rain\\b.jpg"; // U+1F327
    struct Case {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        std::string bg;
        std::string savedStart; // the first bytes of the saved file
    };
    const Case cases[] = {
        {"UTF-8", text, TextEncoding::utf8, japanese, "bg="},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + text, TextEncoding::utf8WithMark, japanese,
         "\xEF\xBB\xBF"
         "bg="},
        {"UTF-16 LE", utf16(text, false), TextEncoding::utf16Little, japanese,
         std::string("\xFF\xFE"
                     "b\0",
                     4)},
        {"UTF-16 BE", utf16(text, true), TextEncoding::utf16Big, japanese,
         std::string("\xFE\xFF\0b", 4)},
        {"Windows-1252", "bg=C:\\caf\xE9\\\x80.png\r\nsound=null\r\n# caf\xE9\r\n",
         TextEncoding::legacyCodePage, "C:\\caf\xC3\xA9\\\xE2\x82\xAC.png", "bg="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(c.bytes);
        SettingsStore store(path, '=', windows1252);
        ASSERT_TRUE(store.load());
        EXPECT_EQ(store.encoding(), c.encoding);
        EXPECT_EQ(store.get("bg"), c.bg);
        EXPECT_EQ(store.get("sound"), "null");
        const std::vector<std::string> keysBefore = store.keys();
        ASSERT_TRUE(store.set("bg", emoji));
        ASSERT_TRUE(store.save());
        EXPECT_EQ(read().substr(0, c.savedStart.size()), c.savedStart);
        SettingsStore again(path, '=', windows1252);
        ASSERT_TRUE(again.load());
        EXPECT_EQ(again.get("bg"), emoji);
        EXPECT_EQ(again.keys(), keysBefore); // the note line too, in its meaning
        EXPECT_EQ(again.values()[1], store.values()[1]);
    }
}

TEST_F(SettingsTextTest, BlanksAroundKnownValuesAndQuotesAroundPathsAreIgnored) {
    write("bg = \"C:\\my pics\\a.png\" \r\n\tSOUND\t=\tnull  \r\nfitscreen =yes\r\n"
          "note = kept as it is\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    EXPECT_EQ(store.getTrimmed("bg", true), "C:\\my pics\\a.png");
    EXPECT_EQ(store.getTrimmed("sound", true), "null");
    EXPECT_EQ(store.getTrimmed("fitscreen", false), "yes");
    EXPECT_EQ(store.getTrimmed("bg", false), "\"C:\\my pics\\a.png\"");
    // A lone quote is part of the value; a replaced value reads back the same.
    ASSERT_TRUE(store.set("bg", "\"C:\\a.png"));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(read(), "bg =\"C:\\a.png\r\n\tSOUND\t=\tnull  \r\nfitscreen =yes\r\n"
                      "note = kept as it is\r\n");
    SettingsStore again(path, '=');
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.getTrimmed("bg", true), "\"C:\\a.png");
}

TEST(Unicode, ConvertsWellFormedTextAndReplacesWhatIsNot) {
    struct Case {
        const char* bytes;
        bool valid;
        std::u16string units;
    };
    const Case cases[] = {
        {"abc", true, u"abc"},
        {"caf\xC3\xA9", true, u"caf\u00E9"},
        {"\xE6\x97\xA5", true, u"\u65E5"},
        {"\xF0\x9F\x8C\xA7", true, u"\U0001F327"},
        {"\xC0\x80", false, u"\uFFFD\uFFFD"},                     // overlong NUL
        {"\xED\xA0\x80", false, u"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"a\xE6\x97", false, u"a\uFFFD\uFFFD"},                   // cut short
        {"\xE9t\xE9", false, u"\uFFFDt\uFFFD"},                   // Latin-1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
        EXPECT_EQ(utf16FromUtf8(c.bytes), c.units);
        EXPECT_EQ(utf16Length(c.bytes), c.units.size());
        if (c.valid) {
            EXPECT_EQ(utf8FromUtf16(c.units), c.bytes);
        }
    }
    EXPECT_EQ(utf8FromUtf16(u"a\xD800"
                            "b"),
              "a\xEF\xBF\xBD"
              "b"); // a lone surrogate
    EXPECT_EQ(utf8FromUtf16(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

} // namespace
