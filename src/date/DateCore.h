#pragma once
// Calendar arithmetic on date serials: days since 30 December 1899, the fraction being
// the time of day. Gregorian calendar for every year; weeks follow ISO 8601.
// Pure C++, no Qt.
//
// The day of a serial is its integral part truncated toward zero, and the time of day is the
// absolute value of the fraction: -1.25 is 29 December 1899 at 06:00. Every operation keeps that
// reading on both sides of day 0. Serials outside 1 January 1 .. 31 December 9999 count as the
// nearest end of that range (NaN as day 0), so decoding never fails.

#include "date/CivilDays.h"

#include <cstdint>
#include <functional>
#include <stdexcept>

using TDateTime = double;

// Errors of the date engine, carrying the engine's fixed messages.
class EDateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EConvertError : public EDateError { // "Invalid argument to date encode"
public:
    EConvertError();
};
class ERangeError : public EDateError { // "Range check error"
public:
    ERangeError();
};
class EIntOverflow : public EDateError { // "Integer overflow"
public:
    EIntOverflow();
};

constexpr TDateTime MinDateSerial = civil::MinDay; // 1 January 1
constexpr TDateTime MaxDateSerial = civil::MaxDay; // 31 December 9999

struct TDateParts {
    std::uint16_t Year;
    std::uint16_t Month;
    std::uint16_t Day;
};

struct TTimeParts {
    std::uint16_t Hour;   // 0..23
    std::uint16_t Minute; // 0..59
    std::uint16_t Second; // 0..59
    std::uint16_t MSec;   // 0..999
};

struct TIsoWeek {
    int Week; // 1..53
    int Year; // the week-numbering year
};

// Primitives.
inline TDateParts SplitDate(TDateTime date);             // fraction ignored
TTimeParts SplitTime(TDateTime date);                    // time of day, rounded to the millisecond
inline TDateTime MakeDate(int year, int month, int day); // throws EConvertError
TDateTime MakeRareDate(int year, int month, int day);    // MakeDate's rest: 29 February, or throws
inline int WeekdayOf(TDateTime date);                    // 1 = Sunday .. 7 = Saturday
bool IsLeap(int year);

// The clock, behind one seam so tests choose "now".
TDateTime Now();                                 // local date and time of day
TDateTime Today();                               // local date at midnight
void SetClock(std::function<TDateTime()> clock); // nullptr restores the real clock

// Operations.
inline int IsoWeekday(TDateTime date); // 1 = Monday .. 7 = Sunday
int IsoWeekNumber(TDateTime date);
TIsoWeek IsoWeekAndYear(TDateTime date);
// The same for a whole day whose date and ISO weekday are already known.
TIsoWeek IsoWeekOfDay(std::int32_t day, const civil::TCivil &date, int isoWeekday);
int IsoWeeksInYear(int year);
int MonthLength(int year, int month); // throws ERangeError for a month outside 1..12
int YearLength(int year);
int DayNumberInYear(TDateTime date);
TDateTime AddDays(TDateTime date, std::int32_t count); // keeps the time of day; never throws
// Midnight of the date count months on, the day clamped to the target month's length; a negative
// count goes back by the same rule. EConvertError when the year leaves 1..9999.
TDateTime AddMonths(TDateTime date, std::int32_t count);
// Years and months first (day clamped), then days; keeps the time of day. EIntOverflow when a sum
// leaves the 32-bit range, EConvertError for a year outside 1..9999, ERangeError for a result
// outside the supported range. Nothing wraps.
TDateTime ShiftDate(TDateTime date, std::int32_t days, std::int32_t months, std::int32_t years);
TDateTime EasterSundayOf(int year);    // EConvertError for a year outside 1..9999
int WeekdayOccurrence(TDateTime date); // 1..5: which occurrence of its weekday in the month
std::int64_t WholeDaysBetween(TDateTime a, TDateTime b);

// The primitives are inline: painting and formatting convert dates in their inner loops.
inline TDateParts SplitDate(TDateTime date)
{
    const civil::TCivil c = civil::CivilOfDay(civil::DayOf(date));
    return {static_cast<std::uint16_t>(c.Year), static_cast<std::uint16_t>(c.Month),
            static_cast<std::uint16_t>(c.Day)};
}

// The common case inline; 29 February and invalid dates out of line, keeping the inline part
// small where it is used in loops.
inline TDateTime MakeDate(int year, int month, int day)
{
    if (civil::IsCommonCivil(year, month, day)) [[likely]] {
        return civil::DayOfCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    }
    return MakeRareDate(year, month, day);
}

inline int IsoWeekday(TDateTime date)
{
    return civil::IsoWeekdayOfDay(civil::DayOf(date));
}

inline int WeekdayOf(TDateTime date)
{
    return IsoWeekday(date) % 7 + 1;
}
