// Paths of an exact length for the tests of the platform's path limit.
#pragma once

#include <windows.h>

#include <string>

// A path of exactly the given length in a new folder under the temporary folder, ending in
// fileName. The folder is left for the caller to remove.
inline std::string pathOfLength(size_t length, const std::string& fileName) {
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    std::string folder = std::string(temporary) + "pluvette-";
    folder.append(length - folder.size() - 1 - fileName.size(), 'd');
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + fileName;
}
