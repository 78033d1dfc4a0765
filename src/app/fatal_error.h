// The one way errors reach the user.
#pragma once

#include <string>

#include "app/messages.h"
#include "language/program_texts.h"

// The error box's text: "Error Code : NNN", LF, the explanation, two LFs, the support
// address's line, LF, the site's line (no line break at the end), in the texts' language.
std::wstring composeErrorText(const ProgramTexts& texts, const ErrorMessage& message);

// Shows the message in a warning box with no owner, waits for OK, then ends the process at
// once with the message's number as the exit code. Nothing is saved or closed first.
[[noreturn]] void fatalError(const ProgramTexts& texts, const ErrorMessage& message);
