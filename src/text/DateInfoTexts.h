#pragma once
// The texts of the date information sheet in Dutch and English. The sheet shows them through the
// language tables and the command line's --info prints them, so they are plain text here, below
// both.

#include "text/Language.h"

struct TDateInfoTexts {
    const char *Caption; // the sheet's title
    const char *Year;
    const char *LeapYear; // as the sheet's box shows it, blanks before it included
    const char *DaysInYear;
    const char *Month;
    const char *DaysInMonth;
    const char *IsoWeek;
    const char *Day;
    const char *DayInWeek;
    const char *DayNumberInYear;
    const char *DaysBetween;       // followed by the second date
    const char *DaysSincePrefix;   // followed by day 0 in the short date format
    const char *YesNo[2];          // the leap-year box in words, for the command line
    const char *DayInMonthCaption; // the occurrence sentence's caption, for the command line
};

inline constexpr TDateInfoTexts DateInfoTexts[2] = {
    {"Info huidige datum",
     "Jaar",
     "Schrikkeljaar",
     "Dagen in jaar",
     "Maand",
     "Dagen in maand",
     "ISO weeknummer",
     "Dag",
     "Dag in week",
     "Dagnummer in jaar",
     "Aantal dagen tussen huidige datum en",
     "Dagen sinds ",
     {"ja", "nee"},
     "Dag in maand"},
    {"Current date information",
     "Year",
     "    Leap year",
     "Days in year",
     "Month",
     "Days in month",
     "ISO weeknumber",
     "Day",
     "Day in week",
     "Daynumber in year",
     "Number of days between current date and",
     "Days since ",
     {"yes", "no"},
     "Day in month"},
};
