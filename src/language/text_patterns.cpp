#include "language/text_patterns.h"

std::wstring fillPlaceholders(std::wstring_view pattern,
                              std::initializer_list<std::wstring_view> values) {
    std::wstring filled;
    const std::wstring_view* next = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size()) {
            const wchar_t kind = pattern[++i];
            if ((kind == L's' || kind == L'd') && next != values.end()) {
                filled += *next++;
                continue;
            }
            if (kind != L'%') {
                filled += L'%';
            }
        }
        filled += pattern[i];
    }
    return filled;
}

std::wstring pseudoText(std::wstring_view english) {
    constexpr std::wstring_view plain = L"aceinouyACEINOUY";
    constexpr std::wstring_view accented = L"àçéîñöûýÅÇÉÎÑÖÛÝ";
    constexpr std::wstring_view filler = L"ŵîðé ŀőñĝ ";
    std::wstring text = L"[";
    size_t letters = 0;
    for (size_t i = 0; i < english.size(); ++i) {
        const wchar_t c = english[i];
        if (c == L'%' && i + 1 < english.size()) {
            text += c;
            text += english[++i];
            continue;
        }
        const size_t at = plain.find(c);
        text += at == std::wstring_view::npos ? c : accented[at];
        letters += c != L'\n';
    }
    for (size_t added = 0; added < (letters * 2 + 4) / 5; ++added) {
        text += filler[added % filler.size()];
    }
    return text + L"]";
}
