#include "win32/shell.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>

#include "win32/handles.h"
#include "win32/wide.h"

void openWithShell(const std::string& target) {
    ShellExecuteW(nullptr, L"open", win32::widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

// The item dialog in folder mode; nothing when it is missing, empty when it was cancelled.
std::optional<std::string> pickWithItemDialog(HWND owner, const wchar_t* title) {
    win32::ComPtr<IFileOpenDialog> dialog;
    DWORD options = 0;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, reinterpret_cast<void**>(dialog.put()))) ||
        FAILED(dialog->GetOptions(&options)) ||
        FAILED(dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM |
                                  FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR))) {
        return std::nullopt;
    }
    dialog->SetTitle(title);
    win32::ComPtr<IShellItem> item;
    wchar_t* path = nullptr;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(item.put())) ||
        FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return std::string();
    }
    std::string picked = win32::narrow(path);
    CoTaskMemFree(path);
    return picked;
}

std::string pickWithFolderBrowser(HWND owner, const wchar_t* title) {
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&browse);
    if (folder == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListW(folder, path) != FALSE;
    CoTaskMemFree(folder);
    return found ? win32::narrow(path) : std::string();
}

} // namespace

std::string pickFolder(HWND owner, const wchar_t* title) {
    const win32::ComScope com;
    if (const std::optional<std::string> picked = pickWithItemDialog(owner, title)) {
        return *picked;
    }
    return pickWithFolderBrowser(owner, title);
}
