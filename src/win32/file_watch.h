// Tells a window when a file may have changed: a thread sleeps on the change notices of the
// file's folder and posts a message for each batch of them.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace win32 {

class FileWatch {
  public:
    // Watches the folder of path (UTF-8), posting message to window; watches nothing when the
    // folder cannot be watched.
    FileWatch(const std::string& path, HWND window, UINT message);
    // Stops the thread and waits for it.
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

  private:
    static DWORD WINAPI watch(void* self);

    ChangeNotices notices_;
    Handle stop_;
    Handle thread_;
    HWND window_;
    UINT message_;
};

} // namespace win32
