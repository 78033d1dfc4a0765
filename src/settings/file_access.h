// Whole-file reading and writing with the same outcomes on Windows and elsewhere.
#pragma once

#include <cstddef>
#include <string>

// Reads every byte of the file. False when it cannot be opened or read to the end (a
// directory, for instance) or holds more than maxBytes; bytes is then unchanged. The size is
// checked before anything is read.
bool readWholeFile(const std::string& path, std::string& bytes, size_t maxBytes);

// Writes the bytes to a new file beside path, named after path and this process so that two
// programs saving at once never share it, and only when all of them were written, flushed
// and closed puts that file in place of path. False when any step fails, with the old file
// untouched and the new one removed. New files left behind by processes that ended during a
// save are removed first.
bool replaceWholeFile(const std::string& path, const std::string& bytes);

// The name of the new file that replaceWholeFile writes beside path from this process.
std::string replacementFileName(const std::string& path);

// Creates the file, or empties it when it exists. Reports nothing: callers find out by
// reading the file afterwards.
void createEmptyFile(const std::string& path);

// True when the file exists and can be opened for reading, or did not exist and was created
// empty. An existing file is never changed.
bool readableOrCreated(const std::string& path);
