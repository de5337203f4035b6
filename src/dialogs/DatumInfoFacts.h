#pragma once
// The facts of the date information sheet, worked out in one place for the sheet and for the
// command line's --info.

#include "date/DateCore.h"
#include "date/FormatSettings.h"
#include "text/Language.h"

#include <cstdint>
#include <string>
#include <vector>

// The integral part of a serial; NaN counts as 0 and serials beyond the supported range as its ends.
std::int64_t WholeDayNumber(TDateTime date);

struct TDateInfoFacts {
    std::string ShortDate; // the date in the short date format
    int Year;
    bool LeapYear;
    int DaysInYear;
    int Month;
    std::string MonthName; // the locale's long name
    int DaysInMonth;
    int IsoWeek;
    int Day;
    int IsoWeekday;      // 1 = Monday .. 7 = Sunday
    std::string DayName; // the locale's long name
    int DayNumberInYear;
    std::string Occurrence; // "3rd Friday in month June": the language's sentence, the locale's names
    std::int64_t Serial;    // whole days since day 0
};

TDateInfoFacts DateInfoFacts(TDateTime date, TLanguage language, const TFormatSettings &settings);

// "Days since " and day 0 in the short date format: the caption of the serial number.
std::string DaysSinceCaption(TLanguage language, const TFormatSettings &settings);

struct TInfoLine {
    std::string Caption;
    std::string Value;
};

// The sheet as caption and value lines, in the sheet's order, ending with the number of days
// between the date and `until`.
std::vector<TInfoLine> DateInfoLines(TDateTime date, TDateTime until, TLanguage language,
                                     const TFormatSettings &settings);
