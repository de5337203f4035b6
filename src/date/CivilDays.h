#pragma once
// Whole-day arithmetic beneath the date serials: O(1) conversions between day numbers and
// Gregorian dates, built from Neri and Schneider's Euclidean affine functions (an affine map
// followed by one division by a constant, which the compiler turns into a multiplication).
// Inline because month painting and pattern formatting convert a date for every cell and tag.
// Pure C++, no Qt.

#include <array>
#include <cmath>
#include <cstdint>
#if defined(__x86_64__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace civil {

// The computational calendar. Its years start on 1 March, so the leap day is the last day of a
// year and the months March .. February, numbered 3 .. 14, start on fixed days of the year.
// Day numbers count from 1 March of year -ShiftYears. The shift, whole 400-year cycles, keeps
// every value the engine meets non-negative (years 0 and 10000 as well, which the week rules
// touch at the ends of the range), so everything is unsigned 32-bit arithmetic: divisions are
// plain floors and compile to multiplications. Valid for years -399 .. 19 000.
constexpr std::uint32_t ShiftYears = 400;

// The month of a day of the year and the reverse, tabulated at compile time from two affine
// functions: a load costs less than their multiplications and corrections.
//  - Month m (3 .. 14) starts on day (979m - 2919)/32 of the computational year: the slope
//    979/32 = 30.59 steps through the lengths 31 30 31 30 31 31 30 31 30 31 31 of March ..
//    January.
//  - For n = 2141 s + 197913, s a day of the year (0 = 1 March), n / 2^16 is the month (3 .. 14)
//    and n % 2^16 / 2141 the day of the month less one: 2141 / 2^16 is close enough to 5/153,
//    the reciprocal of the mean month of 30.6 days, for every day of a year.
// January and February end the computational year: they become months 1 and 2 of the next
// calendar year.
struct TMonthDay {
    std::uint16_t Month; // 1..12
    std::uint16_t Day;
};

constexpr auto MonthDays = [] { // by day of the computational year
    std::array<TMonthDay, 366> days{};
    for (std::uint32_t s = 0; s < days.size(); ++s) {
        const std::uint32_t n = 2141 * s + 197913;
        days[s] = {static_cast<std::uint16_t>((n / 65536 - 1) % 12 + 1),
                   static_cast<std::uint16_t>(n % 65536 / 2141 + 1)};
    }
    return days;
}();

// By calendar month, in quarter days, with January and February moved back one year (1461
// quarter days); see DaysFromCivil.
constexpr auto MonthStarts = [] {
    std::array<std::uint32_t, 13> starts{};
    for (std::uint32_t m = 3; m <= 14; ++m) {
        starts[(m - 1) % 12 + 1] = 4 * ((979 * m - 2919) / 32) - (m > 12 ? 1461 : 0);
    }
    return starts;
}();

// Date to day number. Computational year y starts on day 365y + y/4 - y/100 + y/400, which is
// 1461y/4 - c + c/4 with c = y/100. Counted in quarter days, q = 1461y + 4 * (start of the
// month) sums year and month in one value: q / 4 is the day without the century rule, and
// q / 146100 is c, because the month adds less than one year. January and February take y - 1
// through their table entries, so no comparison is needed.
constexpr std::uint32_t DaysFromCivil(int year, unsigned month, unsigned day)
{
    const std::uint32_t q = 1461 * (static_cast<std::uint32_t>(year) + ShiftYears) + MonthStarts[month];
    const std::uint32_t c = q / 146100;
    return q / 4 - c + c / 4 + day - 1;
}

struct TCivil {
    int Year;
    unsigned Month;
    unsigned Day;
};

// Day number to date: the year functions inverted, each an affine function of the day whose
// quotient is the unit (century, year) and whose remainder is the day within it.
//  - Centuries: for n = 4d + 3, c = n / 146097 counts the centuries before day d (146097 days
//    fill four of them; the +3 puts the one longer century last). By then the calendar has
//    dropped c - c/4 leap days, one per century save every fourth, so j = d + c - c/4 counts
//    the same days as if every fourth year were a leap year.
//  - Years of that simpler count: for n = 4j + 3, n / 1461 is the year and n % 1461 / 4 the day
//    of the year. 2939745 is (2^32 + 149) / 1461; while the year stays below 19728 the high
//    half of 2939745 n is n / 1461 and its low half, divided by 2939745, is n % 1461: one
//    product yields both.
constexpr TCivil CivilFromDays(std::uint32_t days)
{
    const std::uint32_t centuries = (4 * days + 3) / 146097;
    const std::uint32_t julian = days + centuries - centuries / 4;
    const std::uint64_t n = std::uint64_t{2939745} * (4 * julian + 3);
    const auto year = static_cast<std::uint32_t>(n >> 32);
    const TMonthDay md = MonthDays[static_cast<std::uint32_t>(n) / 2939745 / 4];
    return {static_cast<int>(year + (md.Month < 3) - ShiftYears), md.Month, md.Day};
}

// Day 0 of the serials is 30 December 1899.
constexpr auto SerialEpoch = static_cast<std::int32_t>(DaysFromCivil(1899, 12, 30));
constexpr std::int32_t MinDay = -693593; // 1 January 1
constexpr std::int32_t MaxDay = 2958465; // 31 December 9999

// The serial day of a date, unchecked.
constexpr std::int32_t DayOfCivil(int year, unsigned month, unsigned day)
{
    return static_cast<std::int32_t>(DaysFromCivil(year, month, day) - SerialEpoch);
}
static_assert(DayOfCivil(1, 1, 1) == MinDay && DayOfCivil(9999, 12, 31) == MaxDay);
static_assert(DayOfCivil(0, 1, 1) == MinDay - 366 && DayOfCivil(10000, 12, 31) == MaxDay + 366);

constexpr TCivil CivilOfDay(std::int32_t day)
{
    return CivilFromDays(static_cast<std::uint32_t>(day + SerialEpoch));
}

// A serial truncated toward zero, or INT64_MIN where it has no 64-bit integral part (NaN, too
// large). On x86-64 the processor's own conversion does exactly that, with no tests at all.
inline std::int64_t TruncatedOrMin(double date)
{
#if defined(__x86_64__) || defined(_M_X64)
    return _mm_cvttsd_si64(_mm_set_sd(date));
#else
    return date > -9.2e18 && date < 9.2e18 ? static_cast<std::int64_t>(date) : INT64_MIN;
#endif
}

// The day of a serial: its integral part, truncated toward zero, held to the supported range
// (NaN counts as day 0). One unsigned comparison passes every ordinary serial.
inline std::int32_t DayOf(double date)
{
    const std::int64_t day = TruncatedOrMin(date);
    if (static_cast<std::uint64_t>(day - MinDay) <= std::uint64_t{MaxDay - MinDay}) [[likely]] {
        return static_cast<std::int32_t>(day);
    }
    return std::isnan(date) ? 0 : date < 0 ? MinDay : MaxDay;
}

// 1 = Monday .. 7 = Sunday, for days from about a thousand years before 1 January 1 (a Monday) on.
constexpr int IsoWeekdayOfDay(std::int32_t day)
{
    constexpr std::int32_t Base = MinDay - 7 * 52 * 1000;
    return static_cast<int>(static_cast<std::uint32_t>(day - Base) % 7) + 1;
}

// For a multiple of 4, divisible by 100 means divisible by 25 and divisible by 400 means
// divisible by 16, so one true division remains. Written with & and | rather than && and ||:
// no branches, so random dates cost no mispredictions.
constexpr bool IsLeapYear(int year)
{
    return ((year & 3) == 0) & ((year % 25 != 0) | ((year & 15) == 0));
}

// Month lengths in a common year, by month; month 0 has no days.
constexpr std::uint8_t MonthLengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Month 1..12.
constexpr int DaysInMonth(int year, int month)
{
    return MonthLengths[month] + ((month == 2) & IsLeapYear(year));
}

// Year 1..9999, month 1..12 and a day of that month in a common year: three tests that ordinary
// dates always pass, so their branches are always predicted. Unsigned arithmetic makes each
// range test one comparison and never overflows.
constexpr bool IsCommonCivil(int year, int month, int day)
{
    return static_cast<unsigned>(year) - 1 < 9999 && static_cast<unsigned>(month) <= 12 &&
           static_cast<unsigned>(day) - 1 < MonthLengths[static_cast<unsigned>(month)];
}

// 29 February of a leap year 1..9999: the one valid date that IsCommonCivil turns away.
constexpr bool IsLeapDay(int year, int month, int day)
{
    return month == 2 && day == 29 && static_cast<unsigned>(year) - 1 < 9999 && IsLeapYear(year);
}

} // namespace civil
