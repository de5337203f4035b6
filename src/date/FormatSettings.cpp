#include "date/FormatSettings.h"

TFormatSettings DefaultFormatSettings()
{
    TFormatSettings s;
    s.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    s.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return s;
}

namespace {
TFormatSettings &ProgramInstance()
{
    static TFormatSettings instance = DefaultFormatSettings();
    return instance;
}
} // namespace

const TFormatSettings &ProgramFormatSettings() { return ProgramInstance(); }

void SetProgramFormatSettings(const TFormatSettings &settings) { ProgramInstance() = settings; }
