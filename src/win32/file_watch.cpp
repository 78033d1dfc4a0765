#include "win32/file_watch.h"

#include "win32/wide.h"

namespace win32 {

namespace {

std::wstring folderOf(const std::string& path) {
    std::wstring wide = widen(path);
    const size_t slash = wide.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : wide.substr(0, slash + 1);
}

} // namespace

FileWatch::FileWatch(const std::string& path, HWND window, UINT message)
    : notices_(folderOf(path).c_str(),
               FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME),
      window_(window), message_(message) {
    if (!notices_.valid()) {
        return;
    }
    stop_ = Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (stop_.valid()) {
        thread_ = Handle(CreateThread(nullptr, 0, watch, this, 0, nullptr));
    }
}

FileWatch::~FileWatch() {
    if (thread_.valid()) {
        SetEvent(stop_.get());
        WaitForSingleObject(thread_.get(), INFINITE);
    }
}

DWORD WINAPI FileWatch::watch(void* self) {
    auto& watch = *static_cast<FileWatch*>(self);
    const HANDLE waits[] = {watch.stop_.get(), watch.notices_.get()};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageW(watch.window_, watch.message_, 0, 0);
        if (!watch.notices_.next()) {
            break;
        }
    }
    return 0;
}

} // namespace win32
