// What the failures the lower layers return mean to the user: each its numbered message, shown
// by fatalError, which ends the program with that number.
#pragma once

#include "app/messages.h"
#include "language/program_texts.h"
#include "settings/program_settings.h"
#include "show/show.h"

// The message for a failure, or null for a success.
const ErrorMessage* messageFor(DefaultsOutcome outcome);
const ErrorMessage* messageFor(ShowEnd end);

// Shows the failure's message and ends the program; returns for a success.
template <typename Outcome> void endOnFailure(const ProgramTexts& texts, Outcome outcome);
