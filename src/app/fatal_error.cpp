#include "app/fatal_error.h"

#include "resources/text_ids.h"
#include "win32/left_threads.h"
#include "win32/wide.h"

std::wstring composeErrorText(const ProgramTexts& texts, const ErrorMessage& message) {
    return texts.format(IDS_ERROR_CODE, {std::to_wstring(message.code)}) + L"\n" +
           texts.text(IDS_ERROR_BASE + message.code) + L"\n\n" +
           texts.format(IDS_SUPPORT,
                        {win32::widen(supportEmailAddress), win32::widen(siteHostName)});
}

void fatalError(const ProgramTexts& texts, const ErrorMessage& message) {
    showNotice(texts, nullptr, composeErrorText(texts, message), texts.text(IDS_ERROR_CAPTION),
               MB_OK | MB_ICONWARNING);
    // A non-zero exit status tells scripts and launchers that the run failed.
    win32::awaitLeftThreads();
    ExitProcess(static_cast<UINT>(message.code));
}
