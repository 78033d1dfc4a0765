// A file opened for reading by its UTF-8 path: the one way the program reads files, on
// Windows through the wide calls and elsewhere through the C library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "win32/handles.h"

namespace win32 {

class ReadOnlyFile {
  public:
    // Opens the file, which others may go on reading, writing, renaming and deleting
    // meanwhile, as the C library's files allow.
    explicit ReadOnlyFile(const std::string& path);
    bool isOpen() const;
    // The size of a regular file on a disk; false for anything else (a folder, a device, a
    // pipe), which holds no picture or settings.
    bool size(uint64_t& bytes) const;
    // Reads exactly count bytes on from where the last read ended.
    bool read(void* into, size_t count) const;
    // Reads up to count bytes on from where the last read ended; how many it read.
    size_t readSome(void* into, size_t count) const;
    // Whether nothing is left to read: a file that grew since its size was taken has more.
    bool atEnd() const;
#ifdef _WIN32
    // The path the file system gives the file opened, links followed; empty when it cannot.
    std::string finalPath() const;
#endif

  private:
#ifdef _WIN32
    Handle file_;
#else
    CFile file_;
#endif
};

#ifdef _WIN32
// Whether the path names a folder.
bool isFolder(const std::string& path);
#endif

} // namespace win32
