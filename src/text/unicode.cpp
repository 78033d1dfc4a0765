#include "text/unicode.h"

namespace {

constexpr char32_t replacement = 0xFFFD;

// The code point of the well-formed sequence at the start of the bytes and its length, or
// 0 bytes when none starts there.
struct Decoded {
    char32_t codePoint;
    size_t length;
};

Decoded decodeOne(std::string_view bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    size_t length = 0;
    char32_t codePoint = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07u, lowest = 0x10000;
    } else {
        return {0, 0};
    }
    if (bytes.size() < length) {
        return {0, 0};
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80) {
            return {0, 0};
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    if (codePoint < lowest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {0, 0};
    }
    return {codePoint, length};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t length = decodeOne(bytes).length;
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

std::string utf8FromUtf16(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = replacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        Decoded decoded = decodeOne(text);
        if (decoded.length == 0) {
            decoded = {replacement, 1};
        }
        text.remove_prefix(decoded.length);
        if (decoded.codePoint >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((decoded.codePoint - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((decoded.codePoint - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(decoded.codePoint);
        }
    }
    return out;
}

size_t utf16Length(std::string_view text) {
    return utf16FromUtf8(text).size();
}
