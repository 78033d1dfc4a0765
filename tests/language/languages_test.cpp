#include "language/languages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "language/text_patterns.h"

namespace {

TEST(Languages, ChosenAsWindowsChoosesThemWithTheSettingFirst) {
    const auto chosen = [](std::string_view configured, std::vector<std::string> preferred) {
        return std::string(chooseLanguage(configured, preferred).tag);
    };
    EXPECT_EQ(chosen("", {"de-DE", "en-US"}), "de");
    EXPECT_EQ(chosen("", {"de-AT"}), "de");
    EXPECT_EQ(chosen("", {"pt-PT"}), "pt-BR");
    EXPECT_EQ(chosen("", {"pt_BR.UTF-8"}), "pt-BR");
    EXPECT_EQ(chosen("", {"zh-Hans-SG"}), "zh-CN");
    EXPECT_EQ(chosen("", {"zh-TW", "ja-JP"}), "ja"); // traditional script: the next
    EXPECT_EQ(chosen("", {"sv-SE", "fi-FI"}), "en"); // none of them: English
    EXPECT_EQ(chosen("", {"ar-EG"}), "ar");
    EXPECT_EQ(chosen("fr", {"de-DE"}), "fr"); // the setting over the system
    EXPECT_EQ(chosen(" PT-br ", {"de-DE"}), "pt-BR");
    EXPECT_EQ(chosen("\"de\"", {"fr-FR"}), "de"); // quoted, or marked for direction
    EXPECT_EQ(chosen("\u200Far\u200F", {"fr-FR"}), "ar");
    EXPECT_EQ(chosen("\u201Cnl\u201D", {"fr-FR"}), "nl");
    EXPECT_EQ(chosen("klingon", {"nl-BE"}), "nl"); // an unknown setting is passed over
    EXPECT_EQ(chosen("qps-ploc", {"de-DE"}), "qps-ploc");
    EXPECT_EQ(chosen("", {}), "en");
    EXPECT_TRUE(chooseLanguage("ar", {}).rightToLeft);
}

TEST(Languages, PlaceholdersFilledInOrderAndPseudoTextLongerWithItsMarksKept) {
    EXPECT_EQ(fillPlaceholders(L"%s at %s, 100%% %d", {L"a", L"b", L"7"}), L"a at b, 100% 7");
    EXPECT_EQ(fillPlaceholders(L"%s %s", {L"only"}), L"only %s");
    const std::wstring pseudo = pseudoText(L"Every %s minutes\n&Pause");
    EXPECT_GE(pseudo.size(), size_t(22 * 1.4));
    EXPECT_NE(pseudo.find(L"%s"), std::wstring::npos);
    EXPECT_NE(pseudo.find(L"\n&P"), std::wstring::npos);
    EXPECT_EQ(pseudo.find(L'e'), std::wstring::npos);
}

// A string table's texts by their names, as its resource script writes them.
std::map<std::string, std::string> tableOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string script = whole.str();
    static const std::regex entry(R"re(\n\s+(IDS_[A-Z0-9_+]+)\s+"((?:[^"]|"")*)")re");
    std::map<std::string, std::string> texts;
    for (std::sregex_iterator it(script.begin(), script.end(), entry), end; it != end; ++it) {
        EXPECT_TRUE(texts.emplace((*it)[1], (*it)[2]).second) << file << " twice: " << (*it)[1];
    }
    return texts;
}

// What a translation must keep of the English text: its placeholders in order and its
// mnemonic mark.
std::string marksOf(const std::string& text) {
    static const std::regex mark(R"(%[sd%]|&&|&)");
    std::string marks;
    for (std::sregex_iterator it(text.begin(), text.end(), mark), end; it != end; ++it) {
        marks += it->str() == "&&" ? "" : it->str() + " ";
    }
    return marks;
}

TEST(Languages, EveryTableHasEachEnglishTextOnceWithItsPlaceholders) {
    const std::filesystem::path folder = PLUVETTE_TEXTS_DIR;
    const auto english = tableOf(folder / "en.rc");
    ASSERT_GT(english.size(), 50u);
    size_t files = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        ++files;
        const std::string tag = file.path().stem().string();
        EXPECT_TRUE(std::any_of(std::begin(languages), std::end(languages), [&](const Language& l) {
            return l.tag == tag;
        })) << tag;
        const auto texts = tableOf(file.path());
        for (const auto& [name, text] : english) {
            const auto own = texts.find(name);
            if (own == texts.end()) {
                ADD_FAILURE() << tag << " lacks " << name;
            } else {
                EXPECT_EQ(marksOf(own->second), marksOf(text)) << tag << " " << name;
                EXPECT_FALSE(own->second.empty()) << tag << " " << name;
            }
        }
        for (const auto& [name, text] : texts) {
            EXPECT_TRUE(english.count(name)) << tag << " has " << name << ", English has not";
        }
    }
    EXPECT_EQ(files, std::size(languages));
}

// The installer's texts in one language, by name.
std::map<std::string, std::string> installerTextsOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::map<std::string, std::string> texts;
    static const std::regex entry(R"re(^LangString (\w+) \$\{LANG_[A-Z]+\} "(.*)"$)re");
    std::smatch found;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, found, entry)) {
            EXPECT_TRUE(texts.emplace(found[1], found[2]).second) << file << " twice: " << found[1];
        }
    }
    return texts;
}

// What the installer's translation must keep: its variables ($INSTDIR, ${VERSION}, $\r$\n,
// in any order) and its mnemonic mark.
std::multiset<std::string> installerMarksOf(const std::string& text) {
    static const std::regex mark(R"re(\$\{\w+\}|\$\\\w|\$\w+|&)re");
    std::multiset<std::string> marks;
    for (std::sregex_iterator it(text.begin(), text.end(), mark), end; it != end; ++it) {
        marks.insert(it->str());
    }
    return marks;
}

TEST(Languages, TheInstallerHasEachEnglishTextInEveryLanguage) {
    const std::filesystem::path folder = PLUVETTE_INSTALLER_TEXTS_DIR;
    const auto english = installerTextsOf(folder / "en.nsh");
    ASSERT_GT(english.size(), 10u);
    for (const Language& language : languages) {
        const std::string tag(language.tag);
        const auto texts = installerTextsOf(folder / (tag + ".nsh"));
        EXPECT_EQ(texts.size(), english.size()) << tag;
        for (const auto& [name, text] : english) {
            const auto own = texts.find(name);
            if (own == texts.end()) {
                ADD_FAILURE() << tag << " lacks " << name;
            } else {
                EXPECT_EQ(installerMarksOf(own->second), installerMarksOf(text))
                    << tag << " " << name;
            }
        }
    }
}

} // namespace
