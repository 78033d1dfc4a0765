#include "win32/shell.h"

#include <windows.h>
#include <shellapi.h>

void openWithShell(const std::string& target) {
    ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
