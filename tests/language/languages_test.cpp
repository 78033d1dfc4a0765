#include "language/languages.h"

#include <gtest/gtest.h>

#include <clocale>
#include <codecvt>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "language/plural_rules.h"
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
        static const std::regex form(R"((IDS_\w+)_(ZERO|ONE|TWO|FEW|MANY))");
        std::smatch parts;
        for (const auto& [name, text] : english) {
            if (std::regex_match(name, parts, form) && english.count(parts[1])) {
                continue; // a plural form, which a language has where it needs it
            }
            const auto own = texts.find(name);
            if (own == texts.end()) {
                ADD_FAILURE() << tag << " lacks " << name;
            } else {
                EXPECT_EQ(marksOf(own->second), marksOf(text)) << tag << " " << name;
                EXPECT_FALSE(own->second.empty()) << tag << " " << name;
            }
        }
        for (const auto& [name, text] : texts) {
            // A plural form of an English text: its marks, or none where its word alone says
            // the number (Arabic "every two minutes").
            if (std::regex_match(name, parts, form) && english.count(parts[1])) {
                const bool wordSaysIt = parts[2] != "FEW" && parts[2] != "MANY";
                EXPECT_TRUE(marksOf(text) == marksOf(english.at(parts[1])) ||
                            (wordSaysIt && marksOf(text).empty()))
                    << tag << " " << name;
            } else {
                EXPECT_TRUE(english.count(name)) << tag << " has " << name << ", English has not";
            }
        }
    }
    EXPECT_EQ(files, std::size(languages));
}

// A counted text takes the form its number's plural category asks for in each language,
// whole numbers and decimals alike, the decimal mark as written.
TEST(Languages, NumbersTakeTheFormTheirLanguageAsks) {
    const std::filesystem::path folder = PLUVETTE_TEXTS_DIR;
    const auto shown = [&](const std::string& tag, const std::string& number) {
        const auto texts = tableOf(folder / (tag + ".rc"));
        static const char* const suffixes[] = {"_ZERO", "_ONE", "_TWO", "_FEW", "_MANY", ""};
        const auto form = texts.find("IDS_CHANGE_OWN" +
                                     std::string(suffixes[int(pluralCategoryOf(tag, number))]));
        const std::string& text = form != texts.end() ? form->second : texts.at("IDS_CHANGE_OWN");
        return std::regex_replace(text, std::regex("%s"), number);
    };
    struct Counted {
        const char* tag;
        const char* number;
        const char* text;
    };
    for (const Counted& c : {
             Counted{"ru", "1", "Каждую 1 минуту"},
             {"ru", "2", "Каждые 2 минуты"},
             {"ru", "3", "Каждые 3 минуты"},
             {"ru", "5", "Каждые 5 минут"},
             {"ru", "11", "Каждые 11 минут"},
             {"ru", "21", "Каждую 21 минуту"},
             {"ru", "0,5", "Каждые 0,5 минуты"},
             {"ru", "112", "Каждые 112 минут"},
             {"pl", "1", "Co 1 minutę"},
             {"pl", "2", "Co 2 minuty"},
             {"pl", "3", "Co 3 minuty"},
             {"pl", "5", "Co 5 minut"},
             {"pl", "11", "Co 11 minut"},
             {"pl", "21", "Co 21 minut"},
             {"pl", "22", "Co 22 minuty"},
             {"pl", "0.5", "Co 0.5 minuty"},
             {"ar", "1", "كل دقيقة"},
             {"ar", "2", "كل دقيقتين"},
             {"ar", "3", "كل 3 دقائق"},
             {"ar", "5", "كل 5 دقائق"},
             {"ar", "11", "كل 11 دقيقة"},
             {"ar", "21", "كل 21 دقيقة"},
             {"ar", "0.5", "كل 0.5 دقيقة"},
             {"ar", "103", "كل 103 دقائق"},
             {"ar", "100", "كل 100 دقيقة"},
             {"fr", "0,5", "Toutes les 0,5 minute"},
             {"fr", "1,5", "Toutes les 1,5 minute"},
             {"fr", "2,5", "Toutes les 2,5 minutes"},
             {"es", "0,5", "Cada 0,5 minutos"},
             {"en", "1.5", "Every 1.5 minutes"},
             {"ja", "21", "21 分ごと"},
         }) {
        EXPECT_EQ(shown(c.tag, c.number), c.text) << c.tag << " " << c.number;
    }
    // Past what the last six digits tell: a million and one is "one" in Russian.
    EXPECT_EQ(pluralCategoryOf("ru", "1000001"), PluralCategory::one);
    EXPECT_EQ(pluralCategoryOf("fr", "2000000"), PluralCategory::many);
    EXPECT_EQ(pluralCategoryOf("ar", "2.0"), PluralCategory::two);
    EXPECT_EQ(pluralCategoryOf("ru", "1.0"), PluralCategory::other);
    EXPECT_EQ(pluralCategoryOf("pl", "x"), PluralCategory::other);
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

// French sets its high punctuation off with a no-break space (the launcher's caption, the
// program's name in every language, aside); Japanese and Chinese end a sentence with their
// full-width marks.
TEST(Languages, PunctuationAsEachLanguageWritesIt) {
    const auto textsOf = [](const std::string& tag) {
        auto texts = tableOf(std::filesystem::path(PLUVETTE_TEXTS_DIR) / (tag + ".rc"));
        texts.erase("IDS_LAUNCHER_CAPTION");
        for (const auto& [name, text] : installerTextsOf(
                 std::filesystem::path(PLUVETTE_INSTALLER_TEXTS_DIR) / (tag + ".nsh"))) {
            texts.emplace("installer " + name, text);
        }
        return texts;
    };
    static const std::regex plainSpaceBefore(" [:;!?]");
    for (const auto& [name, text] : textsOf("fr")) {
        EXPECT_FALSE(std::regex_search(text, plainSpaceBefore)) << name << ": " << text;
    }
    for (const char* tag : {"ja", "zh-CN"}) {
        for (const auto& [name, text] : textsOf(tag)) {
            const std::wstring wide =
                std::wstring_convert<std::codecvt_utf8<wchar_t>>().from_bytes(text);
            for (size_t i = 1; i < wide.size(); ++i) {
                EXPECT_FALSE((wide[i] == L'!' || wide[i] == L'?') && wide[i - 1] >= 0x3000)
                    << tag << " " << name << ": " << text;
            }
        }
    }
}

// The access key a text marks with "&" (not "&&"), lower-cased; empty when it marks none.
std::wstring accessKeyOf(const std::string& text) {
    std::wstring wide = std::wstring_convert<std::codecvt_utf8<wchar_t>>().from_bytes(text);
    for (size_t at = wide.find(L'&'); at != std::wstring::npos && at + 1 < wide.size();
         at = wide.find(L'&', at + 2)) {
        if (wide[at + 1] != L'&') {
            return std::wstring(1, wchar_t(std::towlower(wint_t(wide[at + 1]))));
        }
    }
    return {};
}

// Texts shown together (a menu, a page) whose access keys are all different.
void expectDistinctKeys(const std::string& where, const std::vector<std::string>& texts) {
    std::map<std::wstring, std::string> taken;
    for (const std::string& text : texts) {
        const std::wstring key = accessKeyOf(text);
        if (!key.empty() && !taken.emplace(key, text).second) {
            ADD_FAILURE() << where << ": \"" << text << "\" and \"" << taken[key]
                          << "\" share a key";
        }
    }
}

// A button's text in an NSIS language file: the line after its "# ^Name" line.
std::string nsisText(const std::filesystem::path& file, const std::string& name) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# ^" + name, 0) == 0 && std::getline(in, line)) {
            return line.substr(0, line.find_last_not_of("\r") + 1);
        }
    }
    ADD_FAILURE() << file << " has no " << name;
    return {};
}

// Pressing a key chooses one item: the tray menu in each of its three states, and the
// installer's screen-saver page with NSIS's own buttons (Back, Install, Cancel).
TEST(Languages, AccessKeysDifferWithinEachMenuAndPage) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::ifstream script(std::filesystem::path(PLUVETTE_INSTALLER_TEXTS_DIR) / ".." /
                         "pluvette.nsi");
    static const std::regex languageLine(R"re(^!insertmacro Language "(\w+)" ([\w-]+))re");
    size_t pages = 0;
    for (std::string line; std::getline(script, line);) {
        std::smatch found;
        if (!std::regex_search(line, found, languageLine)) {
            continue;
        }
        const std::string tag = found[2];
        const auto menu = tableOf(std::filesystem::path(PLUVETTE_TEXTS_DIR) / (tag + ".rc"));
        for (const char* first : {"IDS_MENU_PAUSE", "IDS_MENU_RESUME", "IDS_MENU_TRY_AGAIN"}) {
            expectDistinctKeys(tag + " menu",
                               {menu.at(first), menu.at("IDS_MENU_SETTINGS"),
                                menu.at("IDS_MENU_SIGN_IN"), menu.at("IDS_MENU_STOP")});
        }
        const std::filesystem::path nsis =
            std::filesystem::path(NSIS_LANGUAGE_FILES_DIR) / (std::string(found[1]) + ".nlf");
        const auto page =
            installerTextsOf(std::filesystem::path(PLUVETTE_INSTALLER_TEXTS_DIR) / (tag + ".nsh"));
        expectDistinctKeys(tag + " page", {page.at("UseAsScreenSaver"), page.at("StartAtSignIn"),
                                           nsisText(nsis, "BackBtn"), nsisText(nsis, "InstallBtn"),
                                           nsisText(nsis, "CancelBtn")});
        ++pages;
    }
    EXPECT_EQ(pages, std::size(languages));
}

} // namespace
