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

namespace {

// The tag a hand-written setting names: blanks, quotes and the invisible marks an editor of
// right-to-left text puts around it are no part of it.
std::string_view bareTag(std::string_view written) {
    static constexpr std::string_view around[] = {
        " ",      "\t",     "\"",     "'",      "\u201C",
        "\u201D", "\u201E", "\u00AB", "\u00BB",            // quotation marks
        "\u200E", "\u200F", "\u061C",                      // direction marks
        "\u202A", "\u202B", "\u202C", "\u202D", "\u202E",  // embeddings
        "\u2066", "\u2067", "\u2068", "\u2069", "\uFEFF"}; // isolates, BOM
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view mark : around) {
            if (written.size() >= mark.size() && written.substr(0, mark.size()) == mark) {
                written.remove_prefix(mark.size());
                trimmed = true;
            }
            if (written.size() >= mark.size() &&
                written.substr(written.size() - mark.size()) == mark) {
                written.remove_suffix(mark.size());
                trimmed = true;
            }
        }
    }
    return written;
}

} // namespace

const Language& chooseLanguage(std::string_view configured,
                               const std::vector<std::string>& preferred) {
    if (const Language* chosen = languageOfTag(bareTag(configured))) {
        return *chosen;
    }
    for (const std::string& tag : preferred) {
        if (const Language* chosen = languageOfTag(tag)) {
            return *chosen;
        }
    }
    return english;
}
