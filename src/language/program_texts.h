// The texts the program shows, from its string tables in the language it speaks: the user's
// (see languages.h), English where that language lacks a text.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "language/languages.h"
#include "language/plural_rules.h"
#include "language/text_patterns.h"

class ProgramTexts {
  public:
    ProgramTexts(HMODULE module, const Language& language);

    const Language& language() const { return *language_; }
    bool rightToLeft() const { return language_->rightToLeft; }

    // The text numbered id (resources/text_ids.h); empty when no table holds it.
    std::wstring text(UINT id) const;
    // The text with its placeholders (%s, %d) replaced by the values, in order.
    std::wstring format(UINT id, std::initializer_list<std::wstring_view> values) const;
    // The form of a counted text (its %s the number, as written) that the number takes in
    // this language; the text's own form when the language's table has none for it.
    std::wstring formatCounted(UINT id, std::string_view number) const;

    // What a message box adds to its flags to read in this language's direction.
    UINT messageBoxReading() const { return rightToLeft() ? MB_RTLREADING | MB_RIGHT : 0; }

  private:
    HMODULE module_;
    const Language* language_;
};

// The user's preferred UI languages as Windows lists them, best first ("de-DE", "en-US").
std::vector<std::string> preferredUiLanguages();

// Shows a message box that reads in the language's direction; in a right-to-left language
// it is mirrored, as the launcher is.
int showNotice(const ProgramTexts& texts, HWND owner, const std::wstring& text,
               const std::wstring& caption, UINT flags);
