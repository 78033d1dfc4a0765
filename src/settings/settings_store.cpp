#include "settings/settings_store.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "settings/file_access.h"
#include "text/text.h"

namespace {

constexpr char endOfFileMark = '\x1A';

// Text-file reading done the same way on every platform: CR LF, LF and a lone CR (as older
// Mac editors write) end a line, and a file that ends with a line end still has a last,
// empty line. The text given ends before any Ctrl-Z.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t lineEnd = text.find_first_of("\r\n", start);
        if (lineEnd == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, lineEnd - start));
        const bool crLf =
            text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n';
        start = lineEnd + (crLf ? 2 : 1);
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
    loadBytes(bytes);
    return true;
}

ReadOutcome SettingsStore::loadWhenSettled() {
    std::string bytes;
    const ReadOutcome outcome = readWholeFileWhenSettled(fileName_, bytes, maxFileBytes);
    if (outcome == ReadOutcome::read) {
        loadBytes(bytes);
    }
    return outcome;
}

void SettingsStore::loadBytes(std::string_view fileBytes) {
    const DecodedText text = decodeSettingsText(fileBytes, legacy_);
    encoding_ = text.encoding;
    const size_t end = std::min(text.utf8.find(endOfFileMark), text.utf8.size());
    afterEnd_ = text.utf8.substr(end);
    for (std::string& line : splitLines(std::string_view(text.utf8).substr(0, end))) {
        const size_t split = line.find(separator_);
        if (split == std::string::npos) {
            keys_.push_back(line);
            values_.push_back(line);
        } else {
            // The value is all that follows the first separator, so a path with '=' in it
            // survives a save and a load.
            keys_.push_back(line.substr(0, split));
            values_.push_back(line.substr(split + 1));
        }
        lines_.push_back(std::move(line));
    }
    lastLineEnded_ = false; // the text after the last line end is a line of its own
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
    if (indexOf(key) >= 0 || !fitsOnOneLine(value)) {
        return;
    }
    // Before the empty text after the file's last line end, so the file still ends with one;
    // after a last line without a line end, which then gets one.
    const bool beforeEmptyLast = !lastLineEnded_ && !lines_.empty() && lines_.back().empty();
    const auto at = static_cast<std::ptrdiff_t>(lines_.size() - (beforeEmptyLast ? 1 : 0));
    keys_.insert(keys_.begin() + at, key);
    values_.insert(values_.begin() + at, value);
    lines_.insert(lines_.begin() + at, key + separator_ + value);
    lastLineEnded_ = lastLineEnded_ || !beforeEmptyLast;
    changes_.push_back({key, value, true});
}

bool SettingsStore::set(const std::string& key, const std::string& value) {
    const int index = indexOf(key);
    if (index < 0 || !fitsOnOneLine(value)) {
        return false;
    }
    const auto at = static_cast<size_t>(index);
    values_[at] = value;
    lines_[at] = keys_[at] + separator_ + value; // the key as the file writes it
    changes_.push_back({key, value, false});
    return true;
}

std::string SettingsStore::fileBytes() const {
    std::string text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || lastLineEnded_) {
            text += "\r\n";
        }
    }
    return encodeSettingsText(text + afterEnd_, encoding_);
}

bool SettingsStore::save() const {
    return replaceWholeFile(fileName_, fileBytes());
}

bool SettingsStore::saveKeepingOthers() const {
    SettingsStore now(fileName_, separator_, legacy_);
    const ReadOutcome outcome = now.loadWhenSettled();
    if (outcome == ReadOutcome::missing) {
        return save();
    }
    if (outcome != ReadOutcome::read) {
        return false;
    }
    for (const Change& change : changes_) {
        if (change.added || !now.set(change.key, change.value)) {
            now.addIfAbsent(change.key, change.value);
        }
    }
    return now.save();
}

void SettingsStore::clear() {
    encoding_ = TextEncoding::utf8;
    keys_.clear();
    values_.clear();
    lines_.clear();
    lastLineEnded_ = true;
    afterEnd_.clear();
    changes_.clear();
}
