// The one way errors reach the user.
#pragma once

#include <string>

#include "app/messages.h"

// Shows the message in a warning box with no owner, waits for OK, then ends the process at
// once with the message's number as the exit code. Nothing is saved or closed first.
[[noreturn]] void fatalError(const ErrorMessage& message);
