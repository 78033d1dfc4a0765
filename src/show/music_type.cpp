#include "show/music_type.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "text/text.h"

namespace {

// Types that run a program, a script or an installer, or open a link, a setting or a folder.
constexpr std::array<std::string_view, 52> neverMusic = {
    "exe",
    "com",
    "bat",
    "cmd",
    "btm",
    "pif",
    "scr",
    "cpl",
    "msc",
    "msi",
    "msp",
    "mst",
    "msu",
    "lnk",
    "url",
    "website",
    "webloc",
    "scf",
    "shb",
    "shs",
    "library-ms",
    "searchconnector-ms",
    "settingcontent-ms",
    "js",
    "jse",
    "vbs",
    "vbe",
    "wsf",
    "wsh",
    "wsc",
    "sct",
    "ps1",
    "ps1xml",
    "ps2",
    "psc1",
    "psm1",
    "hta",
    "htm",
    "html",
    "mht",
    "mhtml",
    "jar",
    "reg",
    "inf",
    "ins",
    "isp",
    "application",
    "appref-ms",
    "gadget",
    "appx",
    "msix",
    "chm",
};

// Common audio types, for a system whose registry does not describe them.
constexpr std::array<std::string_view, 27> commonAudio = {
    "mp3", "wav", "wave", "ogg", "oga", "opus", "flac", "m4a", "aac",
    "wma", "mid", "midi", "rmi", "aif", "aiff", "aifc", "au",  "snd",
    "mka", "ape", "wv",   "ac3", "amr", "xm",   "it",   "mod", "s3m",
};

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

template <size_t count>
bool listed(const std::array<std::string_view, count>& list, const std::string& extension) {
    return std::find(list.begin(), list.end(), extension) != list.end();
}

} // namespace

bool hasPlainFilePathShape(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == '"' || c == '<' || c == '>' || c == '|' || c == '?' || c == '*') {
            return false;
        }
        // A colon only after a drive letter and before the root, as in "C:\Music". Anywhere
        // else it makes a web address ("http:"), a shell name ("shell:") or an alternate
        // stream.
        const bool driveColon = i == 1 && lowerAscii(path[0]) >= 'a' &&
                                lowerAscii(path[0]) <= 'z' && path.size() > 2 &&
                                isSeparator(path[2]);
        if (c == ':' && !driveColon) {
            return false;
        }
    }
    // \\.\ names a device, not a file the shell plays (\\?\ has its '?' refused above).
    return !(path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] == '.' &&
             isSeparator(path[3]));
}

bool isDeviceName(std::string_view fileName) {
    // Windows ignores what follows the first dot, and blanks before it.
    std::string base(fileName.substr(0, fileName.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    std::transform(base.begin(), base.end(), base.begin(), lowerAscii);
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
        base == "conout$") {
        return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

bool startsLikeAProgram(std::string_view firstBytes) {
    using namespace std::string_view_literals;
    constexpr std::array<std::string_view, 10> signatures = {
        // Windows and DOS programs, Linux programs, scripts for an interpreter
        "MZ"sv,
        "\x7F"
        "ELF"sv,
        "#!"sv,
        // macOS programs in either byte order, and universal ones
        "\xFE\xED\xFA\xCE"sv,
        "\xFE\xED\xFA\xCF"sv,
        "\xCE\xFA\xED\xFE"sv,
        "\xCF\xFA\xED\xFE"sv,
        "\xCA\xFE\xBA\xBE"sv,
        // installer packages (MSI) and shell links
        "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv,
        "L\0\0\0\x01\x14\x02\0"sv,
    };
    return std::any_of(signatures.begin(), signatures.end(), [&](std::string_view signature) {
        return firstBytes.substr(0, signature.size()) == signature;
    });
}

bool isMusicType(const std::string& extension, const RegisteredFileType& registered) {
    if (extension.empty() || listed(neverMusic, extension)) {
        return false;
    }
    if (!registered.perceivedType.empty() || !registered.contentType.empty()) {
        const std::string& perceived = registered.perceivedType;
        const std::string& content = registered.contentType;
        return (perceived.size() == 5 && (startsWithIgnoringAsciiCase(perceived, "audio") ||
                                          startsWithIgnoringAsciiCase(perceived, "video"))) ||
               startsWithIgnoringAsciiCase(content, "audio/") ||
               startsWithIgnoringAsciiCase(content, "video/");
    }
    return listed(commonAudio, extension);
}
