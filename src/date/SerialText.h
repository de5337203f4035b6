#pragma once
// A date serial typed as text, read the same way wherever a person types one.

#include <optional>
#include <string_view>

// Blanks around, an optional sign, then digits with at most one decimal separator and a digit on
// at least one side of it; the separator is '.', ',' or the given one (the user's). No exponent,
// NaN or infinity: nobody counts days as 4.5e4, and a stray 'e' should not jump a century. Empty
// for anything else and for a number too large for a double; the range is the caller's to check.
std::optional<double> ParseDateSerial(std::string_view text, std::string_view decimalSeparator = ".");
