// Starting at sign-in: a value named "Pluvette" under the user's Run key, holding the command
// that starts the program.
#pragma once

#include <string>

// Whether the Run key holds the program's value.
bool startsAtSignIn();

// Writes the command (UTF-8) as the program's value, or removes the value; false when the
// registry refused.
bool setStartAtSignIn(bool start, const std::string& command);
