#pragma once
// Whole-day arithmetic beneath the date serials: O(1) conversions between day numbers and
// Gregorian calendar dates (the Euclidean-affine forms of days-from-civil and civil-from-days).
// Inline because month painting and pattern formatting convert a date for every cell and tag.
// Pure C++, no Qt.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace civil {

// Day numbers count from 1 March of year -400. Starting the computational year in March puts the
// leap day at its end, so month offsets need no leap correction; the shift by one whole 400-year
// cycle keeps years 0 and -1, which the week rules touch at the edges of the range, non-negative.
// Valid for years -399 .. 1 000 000.
constexpr int ShiftYears = 400;

constexpr std::uint32_t DaysFromCivil(int year, unsigned month, unsigned day)
{
    const bool janFeb = month < 3;
    const auto y = static_cast<std::uint32_t>(year + ShiftYears) - janFeb;
    const std::uint32_t m = janFeb ? month + 12 : month; // 3 (March) .. 14 (February)
    const std::uint32_t century = y / 100;
    return 1461 * y / 4 - century + century / 4 + (979 * m - 2919) / 32 + day - 1;
}

struct TCivil {
    int Year;
    unsigned Month;
    unsigned Day;
};

constexpr TCivil CivilFromDays(std::uint32_t days)
{
    const std::uint32_t n1 = 4 * days + 3;
    const std::uint32_t century = n1 / 146097;
    // Year of the century and day of the year at once: 2939745 / 2^32 is 1/1461 closely enough
    // that the high half of the product is the quotient and the low half holds the remainder.
    const std::uint64_t u2 = std::uint64_t{2939745} * (n1 % 146097 | 3);
    const auto yearOfCentury = static_cast<std::uint32_t>(u2 >> 32);
    const std::uint32_t dayOfYear = static_cast<std::uint32_t>(u2) / 2939745 / 4; // 0 = 1 March
    const std::uint32_t n3 = 2141 * dayOfYear + 197913;
    const bool janFeb = dayOfYear >= 306;
    const std::uint32_t month = n3 / 65536;
    return {static_cast<int>(100 * century + yearOfCentury + janFeb) - ShiftYears,
            janFeb ? month - 12 : month, n3 % 65536 / 2141 + 1};
}

// Day 0 of the serials is 30 December 1899.
constexpr auto SerialEpoch = static_cast<std::int32_t>(DaysFromCivil(1899, 12, 30));
constexpr std::int32_t MinDay = -693593; // 1 January 1
constexpr std::int32_t MaxDay = 2958465; // 31 December 9999

// The serial day of a date, unchecked.
constexpr std::int32_t DayOfCivil(int year, unsigned month, unsigned day)
{
    return static_cast<std::int32_t>(DaysFromCivil(year, month, day)) - SerialEpoch;
}
static_assert(DayOfCivil(1, 1, 1) == MinDay && DayOfCivil(9999, 12, 31) == MaxDay);

constexpr TCivil CivilOfDay(std::int32_t day)
{
    return CivilFromDays(static_cast<std::uint32_t>(day + SerialEpoch));
}

// The day of a serial: its integral part, truncated toward zero, held to the supported range.
inline std::int32_t DayOf(double date)
{
    if (std::isnan(date)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::min(std::max(date, double{MinDay}), double{MaxDay}));
}

// 1 = Monday .. 7 = Sunday, for days from about a thousand years before 1 January 1 (a Monday) on.
constexpr int IsoWeekdayOfDay(std::int32_t day)
{
    constexpr std::int32_t Base = MinDay - 7 * 52 * 1000;
    return static_cast<int>((day - Base) % 7) + 1;
}

// For a multiple of 4, divisible by 100 means divisible by 25 and divisible by 400 means
// divisible by 16, so one true division remains. Written with & and | rather than && and ||:
// no branches, so random dates cost no mispredictions.
constexpr bool IsLeapYear(int year)
{
    return ((year & 3) == 0) & ((year % 25 != 0) | ((year & 15) == 0));
}

inline constexpr std::uint8_t MonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Month 1..12.
constexpr int DaysInMonth(int year, int month)
{
    return MonthLengths[month - 1] + ((month == 2) & IsLeapYear(year));
}

} // namespace civil
