// Whole-file reading and writing with the same outcomes on Windows and elsewhere.
#pragma once

#include <cstddef>
#include <string>

// Reads every byte of the file. False when it cannot be opened or read to the end (a
// directory, for instance) or holds more than maxBytes; bytes is then unchanged. The size is
// checked before anything is read.
bool readWholeFile(const std::string& path, std::string& bytes, size_t maxBytes);

// What a patient read of a file found.
enum class ReadOutcome {
    read,       // every byte, of a file that stood still while it was read
    missing,    // nothing by that name can be opened (see entryExists for a link to nowhere)
    notAFile,   // a folder, a device, or more than the bytes allowed
    busy,       // there, but not readable whole: held by another program, or changing while read
    unreadable, // there, but this user may not read it (or the system will not): not retried
};

// Reads the file as readWholeFile does, trying again a few times over about a second
// (pauseMs between tries) while it is busy; bytes is unchanged unless it was read. A link
// in a loop is missing, as one that leads nowhere.
ReadOutcome readWholeFileWhenSettled(const std::string& path, std::string& bytes, size_t maxBytes,
                                     int tries = 5, unsigned pauseMs = 200);

// Whether the folder holds an entry of that name, not following a link: true for a link that
// leads nowhere, which cannot be opened.
bool entryExists(const std::string& path);

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
// empty. An existing file is never changed, and a link is never followed to create one.
bool readableOrCreated(const std::string& path);
