// What the program asks of the shell: web pages opened by the system's default handler, and
// folders picked by the user.
#pragma once

#include <windows.h>

#include <string>

// Hands a web address or a document to the system's default handler; failures show nothing.
void openWithShell(const std::string& target);

// Lets the user pick a folder of the file system in the system's folder dialog, with the
// title given, or in the older folder browser where that dialog is missing. The folder's path,
// or empty when none was picked.
std::string pickFolder(HWND owner, const wchar_t* title);
