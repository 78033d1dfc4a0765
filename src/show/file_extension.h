#pragma once

#include <string>

// The text after the last '.' of the path (searched in the whole path), or the empty string
// when there is no dot or the only one is the path's first character.
std::string extensionOf(const std::string& path);
