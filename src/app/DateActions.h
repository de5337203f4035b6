#pragma once
// The five textual forms of a date that the copy menu offers, each caption being exactly the
// text it copies.

#include "date/DateCore.h"
#include "date/FormatSettings.h"

#include <array>
#include <string>

constexpr int CopyDateCount = 5;

// Short date; the same without date separators; long date; the serial as a whole number;
// the user's own pattern through ExpandDateTags.
std::array<std::string, CopyDateCount> CopyDateCaptions(TDateTime date, const std::string &userPattern,
                                                        const TFormatSettings &settings);
