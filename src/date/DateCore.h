#pragma once
// Calendar arithmetic on date serials: days since 30 December 1899, the fraction being
// the time of day. Gregorian calendar for every year; weeks follow ISO 8601.
// Pure C++, no Qt.

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

constexpr TDateTime MinDateSerial = -693593.0; // 1 January 1
constexpr TDateTime MaxDateSerial = 2958465.0; // 31 December 9999

struct TDateParts {
    std::uint16_t Year;
    std::uint16_t Month;
    std::uint16_t Day;
};

struct TIsoWeek {
    int Week; // 1..53
    int Year; // the week-numbering year
};

// Primitives.
TDateParts SplitDate(TDateTime date);           // fraction ignored
TDateTime MakeDate(int year, int month, int day); // throws EConvertError
int WeekdayOf(TDateTime date);                  // 1 = Sunday .. 7 = Saturday
bool IsLeap(int year);

// The clock, behind one seam so tests choose "now".
TDateTime Now();   // local date and time of day
TDateTime Today(); // local date at midnight
void SetClock(std::function<TDateTime()> clock); // nullptr restores the real clock

// Operations.
int IsoWeekday(TDateTime date); // 1 = Monday .. 7 = Sunday
int IsoWeekNumber(TDateTime date);
TIsoWeek IsoWeekAndYear(TDateTime date);
int IsoWeeksInYear(int year);
int MonthLength(int year, int month); // throws ERangeError for a month outside 1..12
int YearLength(int year);
int DayNumberInYear(TDateTime date);
TDateTime AddDays(TDateTime date, std::int32_t count);
TDateTime AddMonths(TDateTime date, std::int32_t count);
TDateTime ShiftDate(TDateTime date, std::int32_t days, std::int32_t months, std::int32_t years);
TDateTime EasterSundayOf(int year);
int WeekdayOccurrence(TDateTime date); // 1..5: which occurrence of its weekday in the month
std::int64_t WholeDaysBetween(TDateTime a, TDateTime b);
