#include "imaging/picture_file.h"

#include <ocidl.h>
#include <olectl.h>

#include "win32/handles.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface> class Released {
  public:
    ~Released() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
    Interface* pointer = nullptr;
};

} // namespace

HBITMAP LoadPictureFromMemory(HGLOBAL block, DWORD length) {
    if (length == 0) {
        return nullptr;
    }
    Released<IStream> stream;
    const HRESULT made = CreateStreamOnHGlobal(block, FALSE, &stream.pointer);
    if (made == E_INVALIDARG || made == E_OUTOFMEMORY || stream.pointer == nullptr) {
        return nullptr;
    }
    Released<IPicture> picture;
    const HRESULT loaded = OleLoadPicture(stream.pointer, 0, FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture.pointer));
    if (loaded == E_UNEXPECTED || loaded == E_OUTOFMEMORY || loaded == E_POINTER ||
        loaded == E_NOINTERFACE || picture.pointer == nullptr) {
        return nullptr;
    }
    short type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture.pointer->get_Type(&type)) || type != PICTYPE_BITMAP) {
        return nullptr;
    }
    OLE_HANDLE handle = 0;
    const HRESULT got = picture.pointer->get_Handle(&handle);
    if (got == E_FAIL || got == E_OUTOFMEMORY || got == E_POINTER) {
        return nullptr;
    }
    // A copy, so that the bitmap outlives the picture object.
    return static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                          IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG));
}

HBITMAP LoadPictureFile(const char* path) {
    HGLOBAL block = nullptr;
    DWORD read = 0;
    LARGE_INTEGER size{};
    {
        const win32::Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return nullptr;
        }
        // Files of 4 GiB or more are no pictures this program can show.
        if (GetFileSizeEx(file.get(), &size) && size.QuadPart < 0xFFFFFFFF) {
            block = GlobalAlloc(GMEM_ZEROINIT, SIZE_T(size.QuadPart));
            if (block != nullptr &&
                !ReadFile(file.get(), block, DWORD(size.QuadPart), &read, nullptr)) {
                read = 0;
            }
        }
    }
    if (block == nullptr || read != size.QuadPart) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        return nullptr;
    }
    HBITMAP bitmap = LoadPictureFromMemory(block, read);
    GlobalFree(block);
    return bitmap;
}
