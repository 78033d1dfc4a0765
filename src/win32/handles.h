// Owners of the resources this program must give back: each releases what it holds when it
// goes out of scope, on every path, and the movable ones are what functions that make a
// resource return. Objects that live until the process ends are plain handles and say so
// where they are made. Nothing outside this file deletes, closes, frees or releases by hand.
// The C library's owners come first and build everywhere; the Win32 ones follow.
#pragma once

#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#include <objbase.h>
#else
#include <dirent.h>
#endif

namespace win32 {

// A file of the C library, closed with fclose unless close() did it first.
class CFile {
  public:
    explicit CFile(std::FILE* file = nullptr) : file_(file) {}
    ~CFile() { close(); }
    CFile(CFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
    CFile& operator=(CFile&& other) noexcept {
        std::swap(file_, other.file_);
        return *this;
    }
    std::FILE* get() const { return file_; }
    explicit operator bool() const { return file_ != nullptr; }
    // Closes the file now; false when it was not open or the last of its writes failed.
    bool close() { return file_ != nullptr && std::fclose(std::exchange(file_, nullptr)) == 0; }

  private:
    std::FILE* file_;
};

#ifndef _WIN32
// A listing of a folder's entries from opendir, ended with closedir.
class FolderListing {
  public:
    explicit FolderListing(const char* folder) : listing_(opendir(folder)) {}
    ~FolderListing() {
        if (listing_ != nullptr) {
            closedir(listing_);
        }
    }
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;
    // The next entry, or null after the last.
    const dirent* next() const { return listing_ != nullptr ? readdir(listing_) : nullptr; }

  private:
    DIR* listing_;
};
#else

// A device context of a window (the screen's for null), from GetDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A device context this program created (memory or display), deleted with DeleteDC.
class OwnedDc {
  public:
    explicit OwnedDc(HDC dc = nullptr) : dc_(dc) {}
    ~OwnedDc() { reset(); }
    OwnedDc(OwnedDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedDc& operator=(OwnedDc&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.dc_, nullptr));
        }
        return *this;
    }
    HDC get() const { return dc_; }
    void reset(HDC dc = nullptr) {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
        dc_ = dc;
    }

  private:
    HDC dc_;
};

inline OwnedDc memoryDcFor(HDC compatibleWith) {
    return OwnedDc(CreateCompatibleDC(compatibleWith));
}

// A GDI object (bitmap, font, brush) this program created, deleted with DeleteObject unless
// released to a new owner.
template <typename Handle> class GdiObject {
  public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : handle_(other.release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// An object selected into a device context, and the one it replaced put back.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The state of a device context (objects, colours, modes), saved and restored.
class SavedDcState {
  public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_ != 0) {
            RestoreDC(dc_, saved_);
        }
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// The busy pointer for as long as the scope lasts, and the pointer before it put back.
class BusyPointer {
  public:
    BusyPointer() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~BusyPointer() { SetCursor(previous_); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    HCURSOR previous_;
};

// An icon made for the program (not one shared from a module), destroyed with DestroyIcon.
class Icon {
  public:
    explicit Icon(HICON icon = nullptr) : icon_(icon) {}
    ~Icon() {
        if (icon_ != nullptr) {
            DestroyIcon(icon_);
        }
    }
    Icon(Icon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    Icon& operator=(Icon&& other) noexcept {
        std::swap(icon_, other.icon_);
        return *this;
    }
    HICON get() const { return icon_; }

  private:
    HICON icon_;
};

// BeginPaint and EndPaint around the painting of one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A kernel handle (process, file, snapshot), closed with CloseHandle.
class Handle {
  public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : handle_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    void reset(HANDLE handle = nullptr) {
        if (valid()) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_;
};

// A search of a folder's entries from FindFirstFile, ended with FindClose.
class FileSearch {
  public:
    FileSearch(const wchar_t* pattern, WIN32_FIND_DATAW& found)
        : search_(FindFirstFileW(pattern, &found)) {}
    ~FileSearch() {
        if (found()) {
            FindClose(search_);
        }
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
    bool found() const { return search_ != INVALID_HANDLE_VALUE; }
    bool next(WIN32_FIND_DATAW& found) const { return FindNextFileW(search_, &found) != FALSE; }

  private:
    HANDLE search_;
};

// Change notices of a folder from FindFirstChangeNotification, closed with
// FindCloseChangeNotification.
class ChangeNotices {
  public:
    ChangeNotices(const wchar_t* folder, DWORD filter)
        : notices_(FindFirstChangeNotificationW(folder, FALSE, filter)) {}
    ~ChangeNotices() {
        if (valid()) {
            FindCloseChangeNotification(notices_);
        }
    }
    ChangeNotices(const ChangeNotices&) = delete;
    ChangeNotices& operator=(const ChangeNotices&) = delete;
    HANDLE get() const { return notices_; }
    bool valid() const { return notices_ != INVALID_HANDLE_VALUE; }
    bool next() const { return FindNextChangeNotification(notices_) != FALSE; }

  private:
    HANDLE notices_;
};

// A block of global memory this program allocated, freed with GlobalFree.
class GlobalMemory {
  public:
    explicit GlobalMemory(HGLOBAL block = nullptr) : block_(block) {}
    ~GlobalMemory() {
        if (block_ != nullptr) {
            GlobalFree(block_);
        }
    }
    GlobalMemory(GlobalMemory&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    GlobalMemory& operator=(GlobalMemory&& other) noexcept {
        std::swap(block_, other.block_);
        return *this;
    }
    HGLOBAL get() const { return block_; }

  private:
    HGLOBAL block_;
};

// Memory the system allocated for the caller (CommandLineToArgvW's list), freed with
// LocalFree.
template <typename Pointer> class LocalMemory {
  public:
    explicit LocalMemory(Pointer memory = nullptr) : memory_(memory) {}
    ~LocalMemory() {
        if (memory_ != nullptr) {
            LocalFree(memory_);
        }
    }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    Pointer get() const { return memory_; }

  private:
    Pointer memory_;
};

// A COM interface pointer, released when it goes out of scope. put() hands its address to a
// function that makes the object.
template <typename Interface> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface** put() {
        reset();
        return &pointer_;
    }
    void reset() {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
        }
    }

  private:
    Interface* pointer_ = nullptr;
};

// COM made ready on this thread for as long as the scope lasts; a thread where it already
// was keeps it. Declared before the interface pointers it serves, so that they go first.
class ComScope {
  public:
    ComScope()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

#endif

} // namespace win32
