// The one way web pages are opened: by the system's default handler.
#pragma once

#include <string>

// Hands a web address or a document to the system's default handler; failures show nothing.
void openWithShell(const std::string& target);
