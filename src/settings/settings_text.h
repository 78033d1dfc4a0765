// The encodings a settings file comes in as editors save it, and the text the store works on:
// UTF-8, with or without a byte-order mark; UTF-16 in either byte order with its mark; and,
// for bytes that are not UTF-8, the system's legacy code page that files were once written in.
#pragma once

#include <string>
#include <string_view>

enum class TextEncoding {
    utf8,           // no mark; plain ASCII among them
    utf8WithMark,   // EF BB BF first
    utf16Little,    // FF FE first
    utf16Big,       // FE FF first
    legacyCodePage, // bytes that are not UTF-8: written back as UTF-8
};

// Turns bytes of the system's legacy code page into UTF-8.
using LegacyDecoder = std::string (*)(std::string_view bytes);

struct DecodedText {
    std::string utf8;
    TextEncoding encoding;
};

// The file's text as UTF-8 and the encoding it came in. Without a decoder, legacy bytes are
// kept as they are. An odd last byte of UTF-16 text is not a character and is dropped.
DecodedText decodeSettingsText(std::string_view bytes, LegacyDecoder legacy);

// The bytes of UTF-8 text in the encoding, so that decoding them gives the text back; legacy
// text is written as UTF-8 without a mark.
std::string encodeSettingsText(std::string_view utf8, TextEncoding encoding);
