// Whole-file reading and writing with the same outcomes on Windows and elsewhere.
#pragma once

#include <string>

// Reads every byte of the file. False when it cannot be opened or read to the end (a
// directory, for instance); bytes is then unchanged.
bool readWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a new file beside path, and only when all of them were written,
// flushed and closed puts that file in place of path. False when any step fails, with the
// old file untouched and the new one removed.
bool replaceWholeFile(const std::string& path, const std::string& bytes);

// Creates the file, or empties it when it exists. True when that worked.
bool truncateOrCreateFile(const std::string& path);
