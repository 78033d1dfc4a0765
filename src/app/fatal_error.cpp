#include "app/fatal_error.h"

#include <windows.h>

void fatalError(const ErrorMessage& message) {
    const std::string text = composeErrorText(message);
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
    // A non-zero exit status tells scripts and launchers that the run failed.
    ExitProcess(static_cast<UINT>(message.code));
}
