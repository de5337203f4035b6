#pragma once
// The date-pattern language: FormatDateStandard is the standard date-time formatting;
// ExpandDateTags adds the ISO week (w, ww), week-numbering year (i..iiii), day number (f..fff)
// and ISO weekday (e) tags in front of it. Neither ever fails; output is at most 256
// characters, counted as UTF-8 characters (code points) and cut between them; bytes of the
// pattern that are not valid UTF-8 come out as U+FFFD.

#include "date/DateCore.h"
#include "date/FormatSettings.h"

#include <string>
#include <string_view>

constexpr std::size_t MaxFormattedLength = 256;

std::string FormatDateStandard(std::string_view pattern, TDateTime date, const TFormatSettings &settings);
std::string ExpandDateTags(std::string_view pattern, TDateTime date, const TFormatSettings &settings);

// The same with the program's settings (ProgramFormatSettings()).
std::string FormatDateStandard(std::string_view pattern, TDateTime date);
std::string ExpandDateTags(std::string_view pattern, TDateTime date);
