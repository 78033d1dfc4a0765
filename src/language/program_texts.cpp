#include "language/program_texts.h"

#include "win32/wide.h"

namespace {

// A string table holds its texts in blocks of 16, each a length and that many UTF-16 units.
std::wstring tableText(HMODULE module, UINT id, LANGID language) {
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                  MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr) {
        return {};
    }
    const auto* unit = static_cast<const wchar_t*>(LockResource(LoadResource(module, found)));
    if (unit == nullptr) {
        return {};
    }
    const wchar_t* end = unit + SizeofResource(module, found) / sizeof(wchar_t);
    for (UINT skipped = 0; skipped < id % 16; ++skipped) {
        if (unit >= end) {
            return {};
        }
        unit += 1 + *unit;
    }
    if (unit >= end || *unit > end - unit - 1) {
        return {};
    }
    return std::wstring(unit + 1, *unit);
}

} // namespace

ProgramTexts::ProgramTexts(HMODULE module, const Language& language)
    : module_(module), language_(&language) {}

std::wstring ProgramTexts::text(UINT id) const {
    if (language_ == &pseudoLanguage) {
        return pseudoText(tableText(module_, id, english.windowsId));
    }
    std::wstring own = tableText(module_, id, language_->windowsId);
    return own.empty() ? tableText(module_, id, english.windowsId) : own;
}

std::wstring ProgramTexts::format(UINT id, std::initializer_list<std::wstring_view> values) const {
    return fillPlaceholders(text(id), values);
}

std::wstring ProgramTexts::formatCounted(UINT id, std::string_view number) const {
    const std::wstring written = win32::widen(number);
    const PluralCategory category = pluralCategoryOf(language_->tag, number);
    std::wstring form;
    if (category != PluralCategory::other && language_ != &pseudoLanguage) {
        form = tableText(module_, pluralFormId(id, category), language_->windowsId);
    }
    return fillPlaceholders(form.empty() ? text(id) : form, {written});
}

std::vector<std::string> preferredUiLanguages() {
    ULONG count = 0;
    ULONG length = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &length) || length == 0) {
        return {};
    }
    std::wstring names(length, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &length)) {
        return {};
    }
    std::vector<std::string> tags;
    for (size_t start = 0; start < names.size() && names[start] != L'\0';) {
        const size_t end = names.find(L'\0', start);
        tags.push_back(win32::narrow(std::wstring_view(names).substr(start, end - start)));
        start = end + 1;
    }
    return tags;
}

int showNotice(const ProgramTexts& texts, HWND owner, const std::wstring& text,
               const std::wstring& caption, UINT flags) {
    if (!texts.rightToLeft()) {
        return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
    }
    // Windows mirrors the top-level windows made while the process's default layout is right
    // to left, the box among them. The box is made inside the call, so the layout stays so
    // until it closes; of the program's other windows only a wallpaper's, made again when its
    // monitors change, could be made meanwhile.
    DWORD layout = 0;
    GetProcessDefaultLayout(&layout);
    SetProcessDefaultLayout(LAYOUT_RTL);
    const int answer =
        MessageBoxW(owner, text.c_str(), caption.c_str(), flags | texts.messageBoxReading());
    SetProcessDefaultLayout(layout);
    return answer;
}
