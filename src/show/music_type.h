// Which files may be handed to the shell as music: only plain files of a type the system
// knows as audio or video, and never one that runs something, whatever the system says of
// it. The shell's default verb starts programs, scripts and shortcuts and opens web
// addresses and folders just as readily as it plays songs.
#pragma once

#include <string>
#include <string_view>

// What the system's file-type registry says of an extension (empty where it says nothing).
struct RegisteredFileType {
    std::string perceivedType; // "audio", "video", "text", ...
    std::string contentType;   // a MIME type: "audio/mpeg", ...
};

// A path the shell reads as a file on a drive or a network share: no web address or other
// scheme, no device path (\\.\, \\?\), no alternate stream, no wildcard or control character.
bool hasPlainFilePathShape(const std::string& path);

// Whether the file name names a device rather than a file: CON, PRN, AUX, NUL, COM1 to COM9
// or LPT1 to LPT9 in any letter case, with any extension ("nul.mp3"), as Windows reads them.
bool isDeviceName(std::string_view fileName);

// Whether a file's first bytes (up to 16) begin a program or a script, whatever its name: a
// Windows, Linux or macOS executable, a "#!" script, an installer package or a shell link.
bool startsLikeAProgram(std::string_view firstBytes);

// Whether a file with this extension (lower case) plays as music: never for a type that
// runs code or opens something else; else when the registry calls it audio or video, or,
// where the registry says nothing, when it is a common audio type.
bool isMusicType(const std::string& extension, const RegisteredFileType& registered);
