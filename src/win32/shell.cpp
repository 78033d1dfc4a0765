#include "win32/shell.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/wide.h"

void openWithShell(const std::string& target) {
    ShellExecuteW(nullptr, L"open", win32::widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
