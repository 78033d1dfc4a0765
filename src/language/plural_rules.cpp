#include "language/plural_rules.h"

#include <cstdint>

namespace {

// What CLDR's rules look at in a number: i, its integer digits (here: whether it is 0, 1 or 2,
// and its last six digits, which every rule's remainders need); v, how many fraction digits
// are written; and whether they are all zero.
struct Operands {
    bool valid = false;
    bool integerZero = true; // i = 0
    bool integerOne = false; // i = 1
    bool integerTwo = false; // i = 2
    uint32_t lastDigits = 0; // i % 1000000
    size_t fractionDigits = 0;
    bool fractionZero = true; // f = 0: n is a whole number

    bool bigger = false; // i has more digits than lastDigits holds

    uint32_t mod10() const { return lastDigits % 10; }
    uint32_t mod100() const { return lastDigits % 100; }
};

Operands operandsOf(std::string_view number) {
    Operands o;
    const size_t mark = number.find_first_of(".,");
    const std::string_view whole = number.substr(0, mark);
    const std::string_view fraction =
        mark == std::string_view::npos ? std::string_view() : number.substr(mark + 1);
    if (whole.empty() || (mark != std::string_view::npos && fraction.empty())) {
        return o;
    }
    size_t significant = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9') {
            return o;
        }
        if (c != '0' || significant > 0) {
            ++significant;
        }
        o.lastDigits = (o.lastDigits * 10 + uint32_t(c - '0')) % 1000000;
    }
    for (const char c : fraction) {
        if (c < '0' || c > '9') {
            return o;
        }
        o.fractionZero = o.fractionZero && c == '0';
    }
    o.valid = true;
    o.bigger = significant > 6;
    o.integerZero = significant == 0;
    o.integerOne = significant == 1 && o.lastDigits == 1;
    o.integerTwo = significant == 1 && o.lastDigits == 2;
    o.fractionDigits = fraction.size();
    return o;
}

// The part of a tag before its region or script: "pt-BR" -> "pt".
std::string_view languageOf(std::string_view tag) {
    return tag.substr(0, tag.find_first_of("-_"));
}

bool between(uint32_t value, uint32_t low, uint32_t high) {
    return value >= low && value <= high;
}

// French, Spanish, Italian and Portuguese say "de" after a million ("1 million de minutes").
bool millions(const Operands& o) {
    return o.fractionDigits == 0 && !o.integerZero && o.lastDigits == 0 && o.bigger;
}

} // namespace

PluralCategory pluralCategoryOf(std::string_view languageTag, std::string_view number) {
    const Operands o = operandsOf(number);
    const std::string_view language = languageOf(languageTag);
    if (!o.valid) {
        return PluralCategory::other;
    }
    const bool v0 = o.fractionDigits == 0;
    if (language == "en" || language == "de" || language == "nl") {
        return o.integerOne && v0 ? PluralCategory::one : PluralCategory::other;
    }
    if (language == "it") {
        return o.integerOne && v0 ? PluralCategory::one
               : millions(o)      ? PluralCategory::many
                                  : PluralCategory::other;
    }
    if (language == "es") {
        return o.integerOne && o.fractionZero ? PluralCategory::one // n = 1
               : millions(o)                  ? PluralCategory::many
                                              : PluralCategory::other;
    }
    if (language == "fr" || language == "pt") {
        return o.integerZero || o.integerOne ? PluralCategory::one // i = 0, 1
               : millions(o)                 ? PluralCategory::many
                                             : PluralCategory::other;
    }
    if (language == "ru" || language == "pl") {
        if (!v0) {
            return PluralCategory::other;
        }
        if (language == "ru" ? o.mod10() == 1 && o.mod100() != 11 : o.integerOne) {
            return PluralCategory::one;
        }
        if (between(o.mod10(), 2, 4) && !between(o.mod100(), 12, 14)) {
            return PluralCategory::few;
        }
        return PluralCategory::many;
    }
    if (language == "ar") {
        if (!o.fractionZero) {
            return PluralCategory::other; // n is no whole number
        }
        if (o.integerZero) {
            return PluralCategory::zero;
        }
        if (o.integerOne) {
            return PluralCategory::one;
        }
        if (o.integerTwo) {
            return PluralCategory::two;
        }
        return between(o.mod100(), 3, 10)    ? PluralCategory::few
               : between(o.mod100(), 11, 99) ? PluralCategory::many
                                             : PluralCategory::other;
    }
    return PluralCategory::other; // Japanese, Chinese: one form
}
