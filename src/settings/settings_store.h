// A small ordered key/value table bound to one settings file. Lines read "key=value";
// keys match without regard to the case of ASCII letters or the spaces and tabs around them.
// The table holds UTF-8 whatever encoding the file came in (settings_text.h), and a save
// writes the file back in that encoding. Writing goes through a new file beside the old
// one, so a failed save never loses what the file held. A save changes only the lines whose
// values were set and the ones added: every other line (notes, blank lines, lines without a
// key) and whatever follows a Ctrl-Z are written back as they were read, with CR LF, LF and
// a lone CR alike written as CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/file_access.h"
#include "settings/settings_text.h"

class SettingsStore {
  public:
    // The decoder reads files in the legacy code page; without one their bytes are kept.
    SettingsStore(std::string fileName, char separator, LegacyDecoder legacy = nullptr);

    // Settings files are a few lines; anything larger is not one and is not read.
    static constexpr size_t maxFileBytes = size_t(1) << 20;

    // Appends the file's entries to the table. False when the file cannot be read or is
    // larger than maxFileBytes; the table is then unchanged.
    bool load();
    // The same, trying again for about a second while the file is busy (locked, or written
    // by another program while it is read); says what the read found.
    ReadOutcome loadWhenSettled();
    // The same from the file's bytes.
    void loadBytes(std::string_view fileBytes);

    // The value of the first entry with this key, or an empty string when there is none.
    std::string get(const std::string& key) const;
    // The same without the spaces and tabs around it and, for a path, without one pair of
    // double quotes around that (as Explorer's "Copy as path" gives it).
    std::string getTrimmed(const std::string& key, bool isPath) const;
    // The position of the first entry with this key, or -1.
    int indexOf(const std::string& key) const;
    // Adds the entry unless some entry has the key already, as the last line that ends with
    // a line end. A value that would end its line early (a CR, an LF or a Ctrl-Z) is refused:
    // the table stays as it was.
    void addIfAbsent(const std::string& key, const std::string& value);
    // Replaces the value of the first entry with this key; adds nothing when there is none,
    // and refuses a value with a CR, an LF or a Ctrl-Z. True when the value was replaced.
    bool set(const std::string& key, const std::string& value);

    // Writes every line, in order. True only when the whole file was written and put in
    // place; otherwise the old file is left as it was. A file marked read-only is never
    // replaced.
    [[nodiscard]] bool save() const;
    // Saves as a program that shares the file with others should: reads the file as it is
    // now and changes in it only what set and addIfAbsent changed here (a value set here
    // wins; an entry added here is added only where the file still lacks it), keeping every
    // other line the file holds at that moment. The table itself when the file is missing;
    // false, writing nothing, when it is there but cannot be read.
    [[nodiscard]] bool saveKeepingOthers() const;
    // The bytes that save writes.
    std::string fileBytes() const;
    void clear();

    const std::string& fileName() const { return fileName_; }
    const std::vector<std::string>& keys() const { return keys_; }
    const std::vector<std::string>& values() const { return values_; }
    TextEncoding encoding() const { return encoding_; }

  private:
    std::string fileName_;
    char separator_;
    LegacyDecoder legacy_;
    TextEncoding encoding_ = TextEncoding::utf8;
    // One entry a line of the file, in its order; the last line may lack a line end.
    std::vector<std::string> keys_;
    std::vector<std::string> values_;
    std::vector<std::string> lines_; // each line's text as read, or as set rewrote it
    bool lastLineEnded_ = true;      // whether the last line ends with a line end
    std::string afterEnd_;           // a Ctrl-Z and all that follows it
    struct Change {
        std::string key;
        std::string value;
        bool added; // by addIfAbsent: only where the file lacks the key
    };
    std::vector<Change> changes_; // what set and addIfAbsent did, in order
};
