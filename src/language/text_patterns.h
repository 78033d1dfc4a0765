// How a text's pattern becomes the text shown: its placeholders filled; and the made-up
// language that lengthens every text, to find the ones a longer translation would cut.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// A pattern's placeholders (%s, %d; %% is a percent sign) replaced by the values in order.
std::wstring fillPlaceholders(std::wstring_view pattern,
                              std::initializer_list<std::wstring_view> values);

// The English text lengthened by about 40 % with accented letters, its placeholders, line
// breaks and mnemonic marks kept.
std::wstring pseudoText(std::wstring_view english);
