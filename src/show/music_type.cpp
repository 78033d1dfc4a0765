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

std::string fileNameExtension(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), lowerAscii);
    return extension;
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
