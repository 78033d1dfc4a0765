#include "settings/settings_store.h"

#include <utility>

#include "settings/file_access.h"
#include "text/text.h"

namespace {

constexpr char endOfFileMark = '\x1A';

// Without the spaces and tabs at either end.
std::string_view trimmedBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Text-file reading done the same way on every platform: a Ctrl-Z byte ends the file, CR LF
// and LF end a line, and a file that ends with a line end still has a last, empty line.
std::vector<std::string> splitLines(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find(endOfFileMark));
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t lineEnd = text.find('\n', start);
        if (lineEnd == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        size_t length = lineEnd - start;
        if (length > 0 && text[lineEnd - 1] == '\r') {
            --length;
        }
        lines.push_back(text.substr(start, length));
        start = lineEnd + 1;
    }
}

} // namespace

SettingsStore::SettingsStore(std::string fileName, char separator, LegacyDecoder legacy)
    : fileName_(std::move(fileName)), separator_(separator), legacy_(legacy) {}

bool SettingsStore::load() {
    std::string bytes;
    if (!readWholeFile(fileName_, bytes, maxFileBytes)) {
        return false;
    }
    DecodedText text = decodeSettingsText(bytes, legacy_);
    encoding_ = text.encoding;
    for (const std::string& line : splitLines(text.utf8)) {
        const size_t split = line.find(separator_);
        lineWithoutSeparator_.push_back(split == std::string::npos);
        if (split == std::string::npos) {
            keys_.push_back(line);
            values_.push_back(line);
        } else {
            // The value is all that follows the first separator, so a path with '=' in it
            // survives a save and a load.
            keys_.push_back(line.substr(0, split));
            values_.push_back(line.substr(split + 1));
        }
    }
    return true;
}

std::string SettingsStore::get(const std::string& key) const {
    const int index = indexOf(key);
    return index < 0 ? std::string() : values_[static_cast<size_t>(index)];
}

std::string SettingsStore::getTrimmed(const std::string& key, bool isPath) const {
    const std::string raw = get(key);
    std::string_view value = trimmedBlanks(raw);
    if (isPath && value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = trimmedBlanks(value.substr(1, value.size() - 2));
    }
    return std::string(value);
}

int SettingsStore::indexOf(const std::string& key) const {
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (equalsIgnoringAsciiCase(trimmedBlanks(keys_[i]), key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

namespace {

// A value written on its line must not end the line or the file.
bool fitsOnOneLine(const std::string& value) {
    return value.find_first_of("\r\n\x1A") == std::string::npos;
}

} // namespace

void SettingsStore::addIfAbsent(const std::string& key, const std::string& value) {
    if (indexOf(key) < 0 && fitsOnOneLine(value)) {
        keys_.push_back(key);
        values_.push_back(value);
        lineWithoutSeparator_.push_back(false);
    }
}

bool SettingsStore::set(const std::string& key, const std::string& value) {
    const int index = indexOf(key);
    if (index < 0 || !fitsOnOneLine(value)) {
        return false;
    }
    values_[static_cast<size_t>(index)] = value;
    lineWithoutSeparator_[static_cast<size_t>(index)] = false;
    return true;
}

bool SettingsStore::save() const {
    std::string text;
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i].empty()) {
            continue;
        }
        text += lineWithoutSeparator_[i] ? keys_[i] : keys_[i] + separator_ + values_[i];
        text += "\r\n";
    }
    return replaceWholeFile(fileName_, encodeSettingsText(text, encoding_));
}

void SettingsStore::clear() {
    encoding_ = TextEncoding::utf8;
    keys_.clear();
    values_.clear();
    lineWithoutSeparator_.clear();
}
