#include "language/languages.h"

#include "text/text.h"

namespace {

// The tag's subtags, lower case, split at '-' or '_' (as Linux locales write them).
std::vector<std::string> subtagsOf(std::string_view tag) {
    std::vector<std::string> subtags(1);
    for (const char c : tag) {
        if (c == '-' || c == '_') {
            subtags.emplace_back();
        } else if (c == '.' || c == '@') {
            break; // a locale's encoding or modifier: "de_DE.UTF-8"
        } else {
            subtags.back() += lowerAscii(c);
        }
    }
    return subtags;
}

const Language* languageNamed(std::string_view tag) {
    for (const Language& language : languages) {
        if (equalsIgnoringAsciiCase(language.tag, tag)) {
            return &language;
        }
    }
    return nullptr;
}

} // namespace

const Language* languageOfTag(std::string_view tag) {
    const std::vector<std::string> subtags = subtagsOf(tag);
    if (subtags.size() == 2 && subtags[0] == "qps" && subtags[1] == "ploc") {
        return &pseudoLanguage;
    }
    if (subtags[0] == "zh") {
        // Simplified script, or a region that writes it; a tag without either reads it too.
        for (size_t i = 1; i < subtags.size(); ++i) {
            if (subtags[i] == "hant" || subtags[i] == "tw" || subtags[i] == "hk" ||
                subtags[i] == "mo") {
                return nullptr;
            }
        }
        return languageNamed("zh-CN");
    }
    if (subtags.size() >= 2) {
        if (const Language* exact = languageNamed(subtags[0] + "-" + subtags.back())) {
            return exact;
        }
    }
    if (const Language* own = languageNamed(subtags[0])) {
        return own;
    }
    // A language the program has only one region's texts for: Portuguese.
    for (const Language& language : languages) {
        if (language.tag.size() > subtags[0].size() &&
            startsWithIgnoringAsciiCase(language.tag, subtags[0]) &&
            language.tag[subtags[0].size()] == '-') {
            return &language;
        }
    }
    return nullptr;
}

const Language& chooseLanguage(std::string_view configured,
                               const std::vector<std::string>& preferred) {
    if (const Language* chosen = languageOfTag(trimmedBlanks(configured))) {
        return *chosen;
    }
    for (const std::string& tag : preferred) {
        if (const Language* chosen = languageOfTag(tag)) {
            return *chosen;
        }
    }
    return english;
}
