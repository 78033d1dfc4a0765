// The languages the program speaks, and which one it speaks to its user: the first of the
// user's languages, in their order of preference, that it has texts for, else English.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Language {
    std::string_view tag; // as Windows names it: a BCP 47 language tag
    uint16_t windowsId;   // the LANGID its string table is marked with
    bool rightToLeft;
};

inline constexpr Language english{"en", 0x0409, false};
// Every English text lengthened by about 40 % with accented letters, to find the texts a
// longer translation would cut; Windows' own name for such a language.
inline constexpr Language pseudoLanguage{"qps-ploc", 0x0501, false};

inline constexpr Language languages[] = {
    english,
    {"de", 0x0407, false},
    {"fr", 0x040C, false},
    {"es", 0x0C0A, false},
    {"it", 0x0410, false},
    {"pt-BR", 0x0416, false},
    {"nl", 0x0413, false},
    {"pl", 0x0415, false},
    {"ru", 0x0419, false},
    {"ja", 0x0411, false},
    {"zh-CN", 0x0804, false},
    {"ar", 0x0401, true},
};

// The language a tag names ("de-AT", "pt_PT", "zh-Hans-SG", "ar-EG"...): the one with that
// exact tag, else the one of its language (a regional variant reads its language's texts;
// Chinese only in its simplified script); null when the program has none for it. The pseudo
// language is named by its own tag only.
const Language* languageOfTag(std::string_view tag);

// The language set in the settings file when it names one, else the first of the user's
// preferred UI languages that does, else English.
const Language& chooseLanguage(std::string_view configured,
                               const std::vector<std::string>& preferred);
