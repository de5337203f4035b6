// Boundaries of the date engine's quick paths: serials far outside the range, extreme
// arguments to MakeDate, every leap day, the formatter's date tags against the engine around
// every year end, and numbers cut at the output limit.
#include "date/DateFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

std::string Ymd(TDateParts p)
{
    return std::to_string(p.Year) + "-" + std::to_string(p.Month) + "-" + std::to_string(p.Day);
}

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

TEST(DateBoundary, SerialsBeyondAnyIntegerHoldToTheRange)
{
    const std::pair<double, const char *> cases[] = {
        {1e300, "9999-12-31"},         {-1e300, "1-1-1"},
        {DBL_MAX, "9999-12-31"},       {-DBL_MAX, "1-1-1"},
        {9.3e18, "9999-12-31"},        {-9.3e18, "1-1-1"},
        {2958466.0, "9999-12-31"},     {-693594.0, "1-1-1"},
        {DBL_MIN, "1899-12-30"},       {-DBL_MIN, "1899-12-30"},
        {-std::nan(""), "1899-12-30"}, {2958465.5, "9999-12-31"},
        {-693593.5, "1-1-1"},          {4294967296.0, "9999-12-31"},
        {-4294967296.0, "1-1-1"},
    };
    for (const auto &[serial, expected] : cases) {
        EXPECT_EQ(Ymd(SplitDate(serial)), expected) << serial;
    }
}

TEST(DateBoundary, MakeDateRejectsExtremeArguments)
{
    const int cases[][3] = {{IntMin, 1, 1},    {IntMax, 1, 1},    {2003, IntMin, 1}, {2003, IntMax, 1},
                            {2003, 1, IntMin}, {2003, 1, IntMax}, {2003, 17, 1},     {2003, 14, 1},
                            {2003, 2, 32},     {10000, 2, 29},    {0, 2, 29},        {-4, 2, 29}};
    for (const auto &c : cases) {
        EXPECT_THROW(MakeDate(c[0], c[1], c[2]), EConvertError) << c[0] << "-" << c[1] << "-" << c[2];
    }
    EXPECT_EQ(MakeDate(1, 1, 1), MinDateSerial);
    EXPECT_EQ(MakeDate(9999, 12, 31), MaxDateSerial);
}

TEST(DateBoundary, TwentyNinthOfFebruaryExactlyInLeapYears)
{
    for (int year = 1; year <= 9999; ++year) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        if (leap) {
            ASSERT_EQ(MakeDate(year, 2, 29), MakeDate(year, 3, 1) - 1) << year;
        } else {
            ASSERT_THROW(MakeDate(year, 2, 29), EConvertError) << year;
        }
    }
}

// The formatter computes its date tags on its own quick path; around every year end, where
// the week rules turn, they must agree with the engine's functions.
TEST(DateBoundary, FormattedDateTagsAgreeWithTheEngineAroundEveryYearEnd)
{
    const TFormatSettings s = DefaultFormatSettings();
    int failures = 0;
    for (int year = 1; year <= 9999; ++year) {
        const int first = static_cast<int>(MakeDate(year, 12, 24));
        const int last = static_cast<int>(year < 9999 ? MakeDate(year + 1, 1, 8) : MaxDateSerial);
        for (int serial = first; serial <= last; ++serial) {
            const TDateParts p = SplitDate(serial);
            const TIsoWeek week = IsoWeekAndYear(serial);
            const std::string expected =
                TwoDigits(week.Week) + " " + std::to_string(week.Year) + " " + TwoDigits(week.Year % 100) +
                " " + std::to_string(DayNumberInYear(serial)) + " " + std::to_string(IsoWeekday(serial)) +
                " " + s.LongDayNames[WeekdayOf(serial) - 1] + " " + std::to_string(p.Day) + "-" +
                std::to_string(p.Month);
            if (ExpandDateTags("ww i ii f e dddd d-m", serial, s) != expected && ++failures <= 5) {
                ADD_FAILURE() << serial << ": " << ExpandDateTags("ww i ii f e dddd d-m", serial, s) << " | "
                              << expected;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

// Numbers near the 256-character limit take the exact path, never a cut digit pair too many.
TEST(DateBoundary, NumbersAtTheOutputLimit)
{
    const TFormatSettings s = DefaultFormatSettings();
    const TDateTime date = MakeDate(2003, 6, 20);
    for (std::size_t fill = 248; fill <= 256; ++fill) {
        const std::string x(fill, 'x');
        EXPECT_EQ(FormatDateStandard(x + "yyyy", date, s), (x + "2003").substr(0, 256)) << fill;
        EXPECT_EQ(FormatDateStandard(x + "dd", date, s), (x + "20").substr(0, 256)) << fill;
        EXPECT_EQ(ExpandDateTags(x + "w", date, s), (x + "25").substr(0, 256)) << fill;
        EXPECT_EQ(FormatDateStandard(x + "dddd", date, s), (x + "Friday").substr(0, 256)) << fill;
    }
    // Two-byte characters: fewer characters than bytes, so the byte count alone would stop early.
    std::string accented;
    for (int i = 0; i < 250; ++i) {
        accented += "\xC3\xA9";
    }
    EXPECT_EQ(FormatDateStandard(accented + "yyyy", date, s), accented + "2003");
    EXPECT_EQ(FormatDateStandard(accented + "dddd", date, s), accented + "Friday");
    EXPECT_EQ(FormatDateStandard(accented + "yyyy yyyy", date, s), accented + "2003 2");
}

} // namespace
