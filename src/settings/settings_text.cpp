#include "settings/settings_text.h"

#include "text/unicode.h"

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LittleMark = "\xFF\xFE";
constexpr std::string_view utf16BigMark = "\xFE\xFF";

bool startsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return utf8FromUtf16(units);
}

std::string toUtf16(std::string_view text, bool bigEndian) {
    std::string bytes(bigEndian ? utf16BigMark : utf16LittleMark);
    for (const char16_t unit : utf16FromUtf8(text)) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

DecodedText decodeSettingsText(std::string_view bytes, LegacyDecoder legacy) {
    if (startsWith(bytes, utf8Mark)) {
        return {std::string(bytes.substr(utf8Mark.size())), TextEncoding::utf8WithMark};
    }
    if (startsWith(bytes, utf16LittleMark)) {
        return {fromUtf16(bytes.substr(2), false), TextEncoding::utf16Little};
    }
    if (startsWith(bytes, utf16BigMark)) {
        return {fromUtf16(bytes.substr(2), true), TextEncoding::utf16Big};
    }
    if (isValidUtf8(bytes)) {
        return {std::string(bytes), TextEncoding::utf8};
    }
    return {legacy != nullptr ? legacy(bytes) : std::string(bytes), TextEncoding::legacyCodePage};
}

std::string encodeSettingsText(std::string_view utf8, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf8WithMark:
        return std::string(utf8Mark) + std::string(utf8);
    case TextEncoding::utf16Little:
        return toUtf16(utf8, false);
    case TextEncoding::utf16Big:
        return toUtf16(utf8, true);
    case TextEncoding::utf8:
    case TextEncoding::legacyCodePage:
        break;
    }
    return std::string(utf8);
}
