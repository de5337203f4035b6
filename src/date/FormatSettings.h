#pragma once
// The user's regional settings as the date formatter needs them. Formats are written in
// the program's own pattern language; the date separator stands for "/" and the time
// separator for ":" in them. Pure C++, no Qt; src/platform fills it from the system locale.

#include <array>
#include <string>

struct TFormatSettings {
    std::array<std::string, 7> LongDayNames;    // Sunday first
    std::array<std::string, 7> ShortDayNames;   // Sunday first
    std::array<std::string, 12> LongMonthNames; // January first
    std::array<std::string, 12> ShortMonthNames;
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string LongDateFormat = "dddd d mmmm yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string DateSeparator = "-"; // may be empty
    std::string TimeSeparator = ":"; // may be empty
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string DecimalSeparator = ".";
};

// Every text of the settings in one fixed order, the order in which the locale table stores them.
template <class Settings, class Visit> void ForEachText(Settings &settings, Visit visit)
{
    for (auto *names : {&settings.LongDayNames, &settings.ShortDayNames})
        for (auto &name : *names)
            visit(name);
    for (auto *names : {&settings.LongMonthNames, &settings.ShortMonthNames})
        for (auto &name : *names)
            visit(name);
    for (auto *text : {&settings.ShortDateFormat, &settings.LongDateFormat, &settings.ShortTimeFormat,
                       &settings.LongTimeFormat, &settings.DateSeparator, &settings.TimeSeparator,
                       &settings.TimeAMString, &settings.TimePMString, &settings.DecimalSeparator})
        visit(*text);
}
constexpr int FormatSettingsTextCount = 7 + 7 + 12 + 12 + 9;

// English names and day-month-year formats: a neutral, fully filled instance.
TFormatSettings DefaultFormatSettings();

// The instance the program filled at start from the user's locale; starts as the default.
const TFormatSettings &ProgramFormatSettings();
void SetProgramFormatSettings(const TFormatSettings &settings);
