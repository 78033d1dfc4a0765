// Which form of a counted word a number takes in a language ("1 minute", "2 minutes"; Russian
// "21 минуту", "22 минуты", "25 минут"), by the plural categories of the Unicode CLDR, as
// Windows' own texts follow them, for the program's languages.
#pragma once

#include <string_view>

enum class PluralCategory { zero, one, two, few, many, other };

// The category of a number written in decimal digits with an optional fraction after "." or
// "," ("21", "0,5", "1.50": its written fraction digits count, trailing zeros too), in the
// language of the BCP 47 tag; other for a language without categories and for anything
// that is not such a number. The digits may be as many as the writer wrote.
PluralCategory pluralCategoryOf(std::string_view languageTag, std::string_view number);

// The text id of a counted text's form for the category: the forms follow the text, whose
// own id is the form "other" (resources/text_ids.h).
constexpr unsigned pluralFormId(unsigned id, PluralCategory category) {
    return category == PluralCategory::other ? id : id + 1 + unsigned(category);
}
