#include "date/DateCore.h"

#include "date/Rounding.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <utility>

EConvertError::EConvertError() : EDateError("Invalid argument to date encode") {}
ERangeError::ERangeError() : EDateError("Range check error") {}
EIntOverflow::EIntOverflow() : EDateError("Integer overflow") {}

namespace {

using namespace civil;

// 1 January of any year from -399 on, without the range check of MakeDate.
std::int32_t JanuaryFirst(int year)
{
    return DayOfCivil(year, 1, 1);
}

// The serial of a day with the time of day of another serial.
TDateTime WithTimeOf(double day, TDateTime source)
{
    const double time = std::fabs(source - std::trunc(source));
    return day < 0 ? day - time : day + time;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b < 0);
}

std::function<TDateTime()> &Clock()
{
    static std::function<TDateTime()> clock;
    return clock;
}

TDateTime SystemNow()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const double secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + std::min(local.tm_sec, 59);
    return MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (secondOfDay * 1000 + static_cast<double>(ms)) / 86400000.0;
}

} // namespace

TTimeParts SplitTime(TDateTime date)
{
    constexpr std::int64_t MSecsPerDay = 86400000;
    const double fraction = std::isfinite(date) ? std::fabs(date - std::trunc(date)) : 0.0;
    // Rounding never carries into the next day: the day is the truncated serial.
    const std::int64_t ms = std::min<std::int64_t>(rounding::HalfAway(fraction * MSecsPerDay), MSecsPerDay - 1);
    return {static_cast<std::uint16_t>(ms / 3600000), static_cast<std::uint16_t>(ms / 60000 % 60),
            static_cast<std::uint16_t>(ms / 1000 % 60), static_cast<std::uint16_t>(ms % 1000)};
}

TDateTime MakeRareDate(int year, int month, int day)
{
    if (!IsLeapDay(year, month, day)) {
        throw EConvertError();
    }
    return DayOfCivil(year, 2, 29);
}

bool IsLeap(int year)
{
    return IsLeapYear(year);
}

TDateTime Now()
{
    return Clock() ? Clock()() : SystemNow();
}

TDateTime Today()
{
    return DayOf(Now());
}

void SetClock(std::function<TDateTime()> clock)
{
    Clock() = std::move(clock);
}

// The Thursday rule: a week belongs to the year of its Thursday. Whole days are used throughout,
// so a time of day never moves the Thursday across a year boundary on either side of day 0.
int IsoWeekNumber(TDateTime date)
{
    const std::int32_t day = DayOf(date);
    const std::int32_t thursday = day - IsoWeekdayOfDay(day) + 4;
    return (thursday - JanuaryFirst(CivilOfDay(thursday).Year)) / 7 + 1;
}

TIsoWeek IsoWeekAndYear(TDateTime date)
{
    const std::int32_t day = DayOf(date);
    return IsoWeekOfDay(day, CivilOfDay(day), IsoWeekdayOfDay(day));
}

// A week belongs to the year of its Thursday, and week 1 holds the year's first Thursday. For a
// day with ordinal o (1 = 1 January) and ISO weekday w, that Thursday is day t = o - w + 4, so
// the week is ceil(t / 7) = (o - w + 10) / 7. Week 0 is the previous year's last week; a week 53
// in a year of 52 weeks is the next year's first.
TIsoWeek IsoWeekOfDay(std::int32_t day, const civil::TCivil &date, int isoWeekday)
{
    const int ordinal = day - JanuaryFirst(date.Year) + 1;
    const int week = (ordinal - isoWeekday + 10) / 7;
    if (week < 1) {
        return {IsoWeeksInYear(date.Year - 1), date.Year - 1};
    }
    if (week == 53 && IsoWeeksInYear(date.Year) == 52) {
        return {1, date.Year + 1};
    }
    return {week, date.Year};
}

int IsoWeeksInYear(int year)
{
    // Weekdays and leap years repeat every 400 years, so any year maps into the arithmetic's range.
    const int cycleYear = year % 400 + 400;
    const int janFirst = IsoWeekdayOfDay(JanuaryFirst(cycleYear));
    return janFirst == 4 || (janFirst == 3 && IsLeap(cycleYear)) ? 53 : 52;
}

int MonthLength(int year, int month)
{
    if (month < 1 || month > 12) {
        throw ERangeError();
    }
    return DaysInMonth(year, month);
}

int YearLength(int year)
{
    return IsLeap(year) ? 366 : 365;
}

int DayNumberInYear(TDateTime date)
{
    const std::int32_t day = DayOf(date);
    return day - JanuaryFirst(CivilOfDay(day).Year) + 1;
}

TDateTime AddDays(TDateTime date, std::int32_t count)
{
    return WithTimeOf(std::trunc(date) + count, date);
}

// A negative count uses floor division, so -1 month from 31 March is 28 or 29 February.
TDateTime AddMonths(TDateTime date, std::int32_t count)
{
    const TDateParts p = SplitDate(date);
    const std::int64_t k = p.Month - 1 + std::int64_t{count};
    const auto year = static_cast<int>(p.Year + FloorDiv(k, 12));
    const auto month = static_cast<int>(k - FloorDiv(k, 12) * 12 + 1);
    return MakeDate(year, month, std::min<int>(p.Day, MonthLength(year, month)));
}

TDateTime ShiftDate(TDateTime date, std::int32_t days, std::int32_t months, std::int32_t years)
{
    constexpr std::int64_t IntMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t IntMax = std::numeric_limits<std::int32_t>::max();
    const TDateParts p = SplitDate(date);
    std::int64_t year = std::int64_t{p.Year} + years + months / 12;
    int month = p.Month + months % 12; // -10 .. 23
    if (month < 1) {
        month += 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
    if (year < IntMin || year > IntMax) {
        throw EIntOverflow();
    }
    const int y = static_cast<int>(year);
    const auto day = std::int64_t(MakeDate(y, month, std::min<int>(p.Day, MonthLength(y, month)))) + days;
    if (day < IntMin || day > IntMax) {
        throw EIntOverflow();
    }
    if (day < MinDay || day > MaxDay) {
        throw ERangeError();
    }
    return WithTimeOf(static_cast<double>(day), date);
}

// The Gregorian computus with golden number and epact; integer division truncates toward zero.
TDateTime EasterSundayOf(int year)
{
    if (year < 1 || year > 9999) {
        throw EConvertError();
    }
    const int gold = year % 19 + 1;
    const int cent = year / 100 + 1;
    const int corX = 3 * cent / 4 - 12;
    const int corZ = (8 * cent + 5) / 25 - 5;
    const int sunday = 5 * year / 4 - corX - 10;
    int epact = (11 * gold + 20 + corZ - corX) % 30;
    if (epact < 0) {
        epact += 30;
    }
    if ((epact == 25 && gold > 11) || epact == 24) {
        ++epact;
    }
    int moon = 44 - epact;
    if (moon < 21) {
        moon += 30;
    }
    moon += 7 - (sunday + moon) % 7;
    return moon > 31 ? MakeDate(year, 4, moon - 31) : MakeDate(year, 3, moon);
}

int WeekdayOccurrence(TDateTime date)
{
    return (SplitDate(date).Day - 1) / 7 + 1;
}

std::int64_t WholeDaysBetween(TDateTime a, TDateTime b)
{
    const double distance = std::fabs(a - b);
    if (std::isnan(distance)) {
        return 0;
    }
    // 2^63 is exactly representable; anything from there on saturates.
    return distance < 9223372036854775808.0 ? static_cast<std::int64_t>(distance)
                                            : std::numeric_limits<std::int64_t>::max();
}
