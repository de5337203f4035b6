#pragma once
// Whole-day arithmetic beneath the date serials: O(1) conversions between day numbers and
// Gregorian dates, built from Neri and Schneider's Euclidean affine functions (an affine map
// followed by one division by a constant, which the compiler turns into a multiplication) and
// small tables where a load costs less than the arithmetic it replaces.
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
// plain floors and compile to multiplications. Valid for years -399 .. 25 000.
constexpr std::uint32_t ShiftYears = 400;

// Calendar months in the computational calendar, January and February counted in the year
// before: where each starts, in quarter days (see DaysFromCivil), and how long it is in a common
// year. Month 0 has no days. Month m (3 .. 14) starts on day (979m - 2919)/32 of the
// computational year: the slope 979/32 = 30.59 steps through the lengths 31 30 31 30 31 31 30 31
// 30 31 31 of March .. January; January and February move back one year, 1461 quarter days.
// One table, so MakeDate's range check and its arithmetic share one lookup.
struct TMonth {
    std::uint32_t Start;
    std::uint32_t Length;
};

inline constexpr auto Months = [] {
    constexpr std::uint32_t lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::array<TMonth, 13> months{};
    for (std::uint32_t m = 3; m <= 14; ++m) {
        const std::uint32_t month = (m - 1) % 12 + 1;
        months[month] = {4 * ((979 * m - 2919) / 32) - (m > 12 ? 1461 : 0), lengths[month]};
    }
    return months;
}();

// Leap days that c whole centuries drop from the every-fourth-year rule: c - c/4. A load costs
// less than the shifts and sums it replaces.
inline constexpr auto DroppedDays = [] {
    std::array<std::uint8_t, 256> dropped{};
    for (std::uint32_t c = 0; c < dropped.size(); ++c) {
        dropped[c] = static_cast<std::uint8_t>(c - c / 4);
    }
    return dropped;
}();

// Date to day number. Computational year y starts on day 365y + y/4 - y/100 + y/400, which is
// 1461y/4 - c + c/4 with c = y/100. Counted in quarter days, q = 1461y + 4 * (start of the
// month) sums year and month in one value: q / 4 is the day without the century rule, and
// q / 146100 is c, because the month adds less than one year. January and February take y - 1
// through their table entries, so no comparison is needed. For q below 2^26 (years below 25 000)
// the product with 7525747 = 2^40 / 146100, rounded up, yields q / 146100 with a constant that
// fits the multiply instruction itself.
constexpr std::uint32_t DaysFromCivil(int year, unsigned month, unsigned day)
{
    const std::uint32_t q = 1461 * (static_cast<std::uint32_t>(year) + ShiftYears) + Months[month].Start;
    return q / 4 - DroppedDays[(std::uint64_t{q} * 7525747) >> 40] + day - 1;
}

struct TCivil {
    int Year;
    unsigned Month;
    unsigned Day;
};

// Every day of a four-year cycle of the every-fourth-year calendar, starting on 1 January of its
// leap year, found by the fraction of the cycle that has passed: 2048 slots for 1461 days. A day
// owns the slot its fraction falls in and the next one unless the following day starts there:
// CivilFromDays's fraction runs a little high, far less than a slot, and may cross into it.
struct TCycleDay {
    std::uint8_t Month;
    std::uint8_t Day;
    std::uint16_t Year; // 0 .. 3 within the cycle
};

constexpr std::uint64_t CycleScale = 1505149388; // 2^41 / 1461, rounded up

inline constexpr auto CycleDays = [] {
    constexpr std::uint8_t lengths[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::array<TCycleDay, 2048> days{};
    std::uint32_t dayOfCycle = 0;
    for (std::uint16_t year = 0; year < 4; ++year) {
        for (std::uint8_t month = 1; month <= 12; ++month) {
            const int length = lengths[month - 1] - (month == 2 && year > 0);
            for (std::uint8_t day = 1; day <= length; ++day, ++dayOfCycle) {
                const auto slot = static_cast<std::uint32_t>((std::uint64_t{dayOfCycle} << 11) / 1461);
                days[slot] = days[slot + 1] = {month, day, year};
            }
        }
    }
    return days;
}();

// Day number to date.
//  - Centuries: for n = 4d + 3, c = n / 146097 counts the centuries before day d (146097 days
//    fill four of them; the +3 puts the one longer century last). By then the calendar has
//    dropped c - c/4 leap days, so j = d + c - c/4 counts the same days as if every fourth year
//    were a leap year; j + 60 counts them from 1 January of year -ShiftYears.
//  - Four-year cycles of that simpler count: CycleScale * (j + 60) / 2^41 is the cycle and its
//    fraction the place in the cycle, high by less than 2^-29 of a cycle while years stay below
//    25 000. The top 11 bits of the fraction pick the day from CycleDays: one product, no
//    division and no correction for January and February.
constexpr TCivil CivilFromDays(std::uint32_t days)
{
    const std::uint32_t centuries = (4 * days + 3) / 146097;
    const std::uint32_t julian = days + centuries - centuries / 4 + 60;
    const std::uint64_t n = CycleScale * julian;
    const TCycleDay &c = CycleDays[(n >> 30) % 2048];
    return {static_cast<int>(4 * static_cast<std::uint32_t>(n >> 41) + c.Year - ShiftYears), c.Month, c.Day};
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

// Month 1..12.
constexpr int DaysInMonth(int year, int month)
{
    return static_cast<int>(Months[month].Length) + ((month == 2) & IsLeapYear(year));
}

// Year 1..9999, month 1..12 and a day of that month in a common year: three tests that ordinary
// dates always pass, so their branches are always predicted. Unsigned arithmetic makes each
// range test one comparison and never overflows.
constexpr bool IsCommonCivil(int year, int month, int day)
{
    return static_cast<unsigned>(year) - 1 < 9999 && static_cast<unsigned>(month) <= 12 &&
           static_cast<unsigned>(day) - 1 < Months[static_cast<unsigned>(month)].Length;
}

// 29 February of a leap year 1..9999: the one valid date that IsCommonCivil turns away.
constexpr bool IsLeapDay(int year, int month, int day)
{
    return month == 2 && day == 29 && static_cast<unsigned>(year) - 1 < 9999 && IsLeapYear(year);
}

} // namespace civil
