#include "date/DateCore.h"
#include "date/Rounding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

namespace chr = std::chrono;

// 30 December 1899, day 0 of the serials, lies 25569 days before 1 January 1970.
constexpr int UnixEpochSerial = 25569;

chr::sys_days SysDaysOf(int serial)
{
    return chr::sys_days{chr::days{serial - UnixEpochSerial}};
}

TDateTime D(int y, int m, int d)
{
    return MakeDate(y, m, d);
}

std::string Ymd(TDateParts p)
{
    return std::to_string(p.Year) + "-" + std::to_string(p.Month) + "-" + std::to_string(p.Day);
}

constexpr std::int32_t IntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t IntMin = std::numeric_limits<std::int32_t>::min();

// ---------------------------------------------------------------------------------------------
// Whole range: every day of years 1..9999 against std::chrono and an independent ISO week.

TEST(DateCoreWholeRange, EveryDayAgreesWithChrono)
{
    int failures = 0;
    for (int serial = static_cast<int>(MinDateSerial); serial <= static_cast<int>(MaxDateSerial); ++serial) {
        const chr::sys_days sd = SysDaysOf(serial);
        const chr::year_month_day ymd{sd};
        const TDateParts p = SplitDate(serial < 0 ? serial - 0.75 : serial + 0.75); // 18:00
        const chr::weekday wd{sd};
        // ISO week date from chrono: the week belongs to the year of its Thursday.
        const chr::sys_days thursday = sd - chr::days{wd.iso_encoding() - 1} + chr::days{3};
        const chr::year isoYear = chr::year_month_day{thursday}.year();
        const int isoWeek = static_cast<int>((thursday - chr::sys_days{isoYear / 1 / 1}).count() / 7 + 1);
        const TIsoWeek week = IsoWeekAndYear(serial);
        const bool ok =
            p.Year == static_cast<int>(ymd.year()) && p.Month == static_cast<unsigned>(ymd.month()) &&
            p.Day == static_cast<unsigned>(ymd.day()) && MakeDate(p.Year, p.Month, p.Day) == serial &&
            WeekdayOf(serial) == static_cast<int>(wd.c_encoding()) + 1 &&
            IsoWeekday(serial) == static_cast<int>(wd.iso_encoding()) && IsoWeekNumber(serial) == isoWeek &&
            week.Week == isoWeek && week.Year == static_cast<int>(isoYear) &&
            DayNumberInYear(serial) == (sd - chr::sys_days{ymd.year() / 1 / 1}).count() + 1;
        if (!ok && ++failures <= 5) {
            ADD_FAILURE() << "serial " << serial << " (" << Ymd(p) << ")";
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(DateCoreWholeRange, EasterAlwaysSundayBetween22MarchAnd25AprilAndMatchesAnonymousAlgorithm)
{
    for (int y = 1; y <= 9999; ++y) {
        // The anonymous Gregorian algorithm, an independent formulation of the same computus.
        const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25,
                  g = (b - f + 1) / 3;
        const int h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4;
        const int l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
        const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
        const TDateTime easter = EasterSundayOf(y);
        ASSERT_EQ(easter, MakeDate(y, month, day)) << y;
        ASSERT_EQ(WeekdayOf(easter), 1) << y;
        ASSERT_GE(easter, MakeDate(y, 3, 22)) << y;
        ASSERT_LE(easter, MakeDate(y, 4, 25)) << y;
    }
}

// ---------------------------------------------------------------------------------------------
// Primitives

struct SplitCase {
    TDateTime serial;
    const char *expected;
};

TEST(DateCoreSplit, KnownSerials)
{
    const SplitCase cases[] = {
        {0, "1899-12-30"},
        {2, "1900-1-1"},
        {37773, "2003-6-1"},
        {-693593, "1-1-1"},
        {2958465, "9999-12-31"},
        {1.5, "1899-12-31"},
        {-1.25, "1899-12-29"},
        {-0.5, "1899-12-30"},
        {2958465.99, "9999-12-31"},
        {-693593.99, "1-1-1"},
        {-1e9, "1-1-1"},
        {1e12, "9999-12-31"},
        {std::nan(""), "1899-12-30"},
        {-INFINITY, "1-1-1"},
        {INFINITY, "9999-12-31"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Ymd(SplitDate(c.serial)), c.expected) << c.serial;
    }
}

TEST(DateCoreSplit, TimeOfDayIsTheAbsoluteFraction)
{
    struct Case {
        TDateTime serial;
        int h, m, s, ms;
    };
    const Case cases[] = {
        {0.5, 12, 0, 0, 0},
        {37792.75, 18, 0, 0, 0},
        {-1.25, 6, 0, 0, 0},
        {1.0 / 86400000, 0, 0, 0, 1},
        {0.999999999, 23, 59, 59, 999},
        {(13 * 3600 + 14 * 60 + 15.5) / 86400, 13, 14, 15, 500},
        {INFINITY, 0, 0, 0, 0},
        {std::nan(""), 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const TTimeParts t = SplitTime(c.serial);
        EXPECT_EQ(t.Hour, c.h) << c.serial;
        EXPECT_EQ(t.Minute, c.m) << c.serial;
        EXPECT_EQ(t.Second, c.s) << c.serial;
        EXPECT_EQ(t.MSec, c.ms) << c.serial;
    }
}

TEST(DateCoreMakeDate, RejectsInvalidDatesWithTheEncodeMessage)
{
    const int cases[][3] = {{0, 1, 1},     {10000, 1, 1}, {-5, 1, 1},    {2003, 0, 1},
                            {2003, 13, 1}, {2003, 1, 0},  {2003, 2, 29}, {1900, 2, 29},
                            {2004, 2, 30}, {2003, 4, 31}, {2003, 1, 32}, {2003, -1, 5}};
    for (const auto &c : cases) {
        try {
            MakeDate(c[0], c[1], c[2]);
            ADD_FAILURE() << c[0] << "-" << c[1] << "-" << c[2] << " accepted";
        } catch (const EConvertError &e) {
            EXPECT_STREQ(e.what(), "Invalid argument to date encode");
        }
    }
    EXPECT_EQ(MakeDate(2004, 2, 29), 38046);
    EXPECT_EQ(MakeDate(2000, 2, 29), 36585);
}

TEST(DateCorePrimitives, LeapYears)
{
    const std::pair<int, bool> cases[] = {{1900, false}, {2000, true}, {2004, true}, {2003, false},
                                          {1600, true},  {4, true},    {100, false}, {400, true},
                                          {0, true},     {-4, true}};
    for (const auto &[year, leap] : cases) {
        EXPECT_EQ(IsLeap(year), leap) << year;
        EXPECT_EQ(YearLength(year), leap ? 366 : 365) << year;
    }
}

// The inline rounding agrees with the C library's at ties, just beside them and far out.
TEST(DateCorePrimitives, RoundingAgreesWithTheCLibrary)
{
    for (const double x : {0.0, 0.25, 0.49999999999999994, 0.5, 1.5, 2.5, 2.5000000000000004, 3.4999999999999996,
                           43199999.5, 86399999.49999999, 4503599627370495.5, 4503599627370496.0}) {
        EXPECT_EQ(rounding::HalfAway(x), std::llround(x)) << x;
        EXPECT_EQ(rounding::HalfEven(x), static_cast<std::int64_t>(std::nearbyint(x))) << x;
    }
}

TEST(DateCoreClock, SeamChoosesNowAndTodayDropsTheTime)
{
    SetClock([] { return 37792.75; });
    EXPECT_EQ(Now(), 37792.75);
    EXPECT_EQ(Today(), 37792.0);
    SetClock([] { return -1.25; });
    EXPECT_EQ(Today(), -1.0);
    SetClock(nullptr);
}

TEST(DateCoreClock, RealClockReadsLocalTime)
{
    setenv("TZ", "UTC", 1);
    tzset();
    SetClock([] { return MinDateSerial; });
    SetClock(nullptr);
    const auto before = chr::system_clock::now();
    const TDateTime now = Now();
    const auto after = chr::system_clock::now();
    auto serialOf = [](chr::system_clock::time_point t) {
        return chr::duration<double, chr::days::period>(t.time_since_epoch()).count() + UnixEpochSerial;
    };
    const double slack = 1.0 / 86400; // the clock reads whole milliseconds
    EXPECT_GE(now, serialOf(before) - slack);
    EXPECT_LE(now, serialOf(after) + slack);
}

// ---------------------------------------------------------------------------------------------
// Weeks

struct WeekCase {
    int y, m, d;
    int week, weekYear;
};

TEST(DateCoreWeeks, IsoWeekEdgeCases)
{
    const WeekCase cases[] = {
        {2005, 1, 1, 53, 2004}, {2003, 12, 29, 1, 2004},  {2024, 12, 31, 1, 2025},  {2009, 12, 31, 53, 2009},
        {2010, 1, 3, 53, 2009}, {2026, 12, 6, 49, 2026},  {2024, 12, 30, 1, 2025},  {2003, 6, 20, 25, 2003},
        {1, 1, 1, 1, 1},        {9999, 12, 29, 52, 9999}, {9999, 12, 31, 52, 9999}, {2008, 12, 29, 1, 2009},
        {2016, 1, 3, 53, 2015}, {2016, 1, 4, 1, 2016},
    };
    for (const auto &c : cases) {
        const TDateTime date = D(c.y, c.m, c.d) + 0.5;
        EXPECT_EQ(IsoWeekNumber(date), c.week) << c.y << "-" << c.m << "-" << c.d;
        const TIsoWeek w = IsoWeekAndYear(date);
        EXPECT_EQ(w.Week, c.week) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(w.Year, c.weekYear) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(DateCoreWeeks, TimeOfDayNeverMovesTheWeekAcrossDayZero)
{
    // Sunday 31 December 1899 at noon: its Thursday is 28 December, week 52 of 1899.
    EXPECT_EQ(IsoWeekNumber(1.5), 52);
    EXPECT_EQ(IsoWeekAndYear(1.5).Week, 52);
    // Monday 25 December 1899 at 18:00 (a negative serial) starts that week.
    EXPECT_EQ(IsoWeekAndYear(-5.75).Week, 52);
    EXPECT_EQ(IsoWeekNumber(-5.75), 52);
}

TEST(DateCoreWeeks, WeeksInYear)
{
    const std::pair<int, int> cases[] = {{2004, 53}, {2009, 53}, {2005, 52}, {2015, 53}, {2020, 53},
                                         {2021, 52}, {1, 52},    {9999, 52}, {1998, 53}, {2026, 53}};
    for (const auto &[year, weeks] : cases) {
        EXPECT_EQ(IsoWeeksInYear(year), weeks) << year;
    }
    // Any integer year is answered, repeating every 400 years.
    for (const int year : {0, -1, -401, 10000, 123456, IntMax, IntMin}) {
        EXPECT_EQ(IsoWeeksInYear(year), IsoWeeksInYear(year % 400 + 800)) << year;
    }
}

TEST(DateCoreWeeks, Weekdays)
{
    EXPECT_EQ(WeekdayOf(D(2003, 6, 20)), 6); // Friday
    EXPECT_EQ(IsoWeekday(D(2003, 6, 20)), 5);
    EXPECT_EQ(WeekdayOf(0), 7);    // Saturday 30 December 1899
    EXPECT_EQ(IsoWeekday(1.5), 7); // Sunday
    EXPECT_EQ(WeekdayOf(-1.25), 6);
}

// ---------------------------------------------------------------------------------------------
// Lengths and counts

TEST(DateCoreLengths, MonthLengths)
{
    const int expected[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MonthLength(2003, m), expected[m - 1]) << m;
        EXPECT_EQ(MonthLength(2004, m), expected[m - 1] + (m == 2)) << m;
    }
    EXPECT_EQ(MonthLength(1900, 2), 28);
    for (const int month : {0, 13, -1, IntMax}) {
        try {
            MonthLength(2003, month);
            ADD_FAILURE() << month << " accepted";
        } catch (const ERangeError &e) {
            EXPECT_STREQ(e.what(), "Range check error");
        }
    }
}

TEST(DateCoreLengths, DayNumberInYear)
{
    EXPECT_EQ(DayNumberInYear(D(2004, 12, 31)), 366);
    EXPECT_EQ(DayNumberInYear(D(2003, 12, 31) + 0.9), 365);
    EXPECT_EQ(DayNumberInYear(D(2003, 1, 1)), 1);
    EXPECT_EQ(DayNumberInYear(D(2003, 2, 1)), 32);
    EXPECT_EQ(DayNumberInYear(-1.25), 363); // 29 December 1899
}

TEST(DateCoreLengths, WeekdayOccurrence)
{
    const std::pair<int, int> cases[] = {{1, 1},  {7, 1},  {8, 2},  {14, 2}, {15, 3},
                                         {21, 3}, {22, 4}, {28, 4}, {29, 5}, {31, 5}};
    for (const auto &[day, occurrence] : cases) {
        EXPECT_EQ(WeekdayOccurrence(D(2003, 1, day)), occurrence) << day;
    }
}

TEST(DateCoreLengths, WholeDaysBetween)
{
    EXPECT_EQ(WholeDaysBetween(37792.3, 37792.3), 0);
    EXPECT_EQ(WholeDaysBetween(37792, 37800.9), 8);
    EXPECT_EQ(WholeDaysBetween(37800.9, 37792), 8);
    EXPECT_EQ(WholeDaysBetween(MinDateSerial, MaxDateSerial), 3652058);
    EXPECT_EQ(WholeDaysBetween(std::nan(""), 1), 0);
    EXPECT_EQ(WholeDaysBetween(-1e300, 1e300), std::numeric_limits<std::int64_t>::max());
}

// ---------------------------------------------------------------------------------------------
// Shifts

TEST(DateCoreShift, AddDaysKeepsTheTimeOfDay)
{
    EXPECT_EQ(AddDays(37792.75, 1), 37793.75);
    EXPECT_EQ(AddDays(37792.75, -37800), -8.75);
    EXPECT_EQ(AddDays(-1.25, 2), 1.25);  // 29 Dec 06:00 -> 31 Dec 06:00
    EXPECT_EQ(AddDays(0.25, -2), -2.25); // 30 Dec 06:00 -> 28 Dec 06:00
    EXPECT_EQ(AddDays(5, IntMin), 5.0 + IntMin);
}

struct MonthCase {
    TDateTime from;
    std::int32_t months;
    TDateTime expected;
};

TEST(DateCoreShift, AddMonthsClampsTheDayAndDropsTheTime)
{
    const MonthCase cases[] = {
        {D(2003, 5, 31), 1, D(2003, 6, 30)},       {D(2004, 2, 29), 12, D(2005, 2, 28)},
        {D(2004, 1, 31) + 0.5, 1, D(2004, 2, 29)}, {D(2003, 6, 20), 0, D(2003, 6, 20)},
        {D(2003, 12, 15), 1, D(2004, 1, 15)},      {D(2003, 1, 15), 95952, D(9999, 1, 15)},
        {D(2003, 3, 31), -1, D(2003, 2, 28)},      {D(2003, 1, 15), -13, D(2001, 12, 15)},
        {D(2003, 1, 15), -12, D(2002, 1, 15)},     {D(2004, 3, 31), -1, D(2004, 2, 29)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(AddMonths(c.from, c.months), c.expected) << c.from << " + " << c.months;
    }
    for (const auto &[from, months] : {std::pair{D(9999, 12, 31), 1},
                                       {D(1, 1, 1), -1},
                                       {D(2003, 1, 1), IntMax},
                                       {D(2003, 1, 1), IntMin}}) {
        EXPECT_THROW(AddMonths(from, months), EConvertError) << from << " + " << months;
    }
}

struct ShiftCase {
    TDateTime from;
    std::int32_t days, months, years;
    TDateTime expected;
};

TEST(DateCoreShift, ShiftDateAppliesYearsAndMonthsThenDays)
{
    const ShiftCase cases[] = {
        {D(2003, 3, 31), 0, -1, 0, D(2003, 2, 28)},
        {D(2004, 1, 31), 1, 1, 0, D(2004, 3, 1)},
        {D(2003, 1, 15), 0, -13, 0, D(2001, 12, 15)},
        {D(2003, 1, 15), 0, 12, -1, D(2003, 1, 15)},
        {D(2003, 5, 31), 0, 1, 0, D(2003, 6, 30)},
        {D(2004, 2, 29), 0, 12, 0, D(2005, 2, 28)},
        {D(2004, 2, 29), 0, 0, 1, D(2005, 2, 28)},
        {D(2003, 11, 30), 0, 23, 0, D(2005, 10, 30)},
        {D(2003, 6, 20) + 0.75, 8000, 500, 150, D(2195, 2, 20) + 8000.75},
        {D(2003, 6, 20), -8000, -500, -150, D(1811, 10, 20) - 8000},
        {-1.25, 3, 0, 0, 2.25},
        {D(2003, 6, 20) + 0.25, 0, 0, 0, D(2003, 6, 20) + 0.25},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ShiftDate(c.from, c.days, c.months, c.years), c.expected)
            << c.from << " " << c.days << "d " << c.months << "m " << c.years << "y";
    }
}

TEST(DateCoreShift, ShiftDateRaisesInsteadOfWrapping)
{
    const TDateTime day = D(2003, 6, 20);
    EXPECT_THROW(ShiftDate(day, 0, 0, IntMax), EIntOverflow);
    EXPECT_THROW(ShiftDate(day, 0, IntMin, IntMin), EIntOverflow);
    EXPECT_THROW(ShiftDate(day, IntMax, 0, 0), EIntOverflow);
    EXPECT_THROW(ShiftDate(day, 0, 0, 8000), EConvertError);
    EXPECT_THROW(ShiftDate(day, 0, IntMax, 0), EConvertError);
    EXPECT_THROW(ShiftDate(D(9999, 12, 31), 1, 0, 0), ERangeError);
    EXPECT_THROW(ShiftDate(D(1, 1, 1), -1, 0, 0), ERangeError);
    EXPECT_THROW(ShiftDate(day, IntMin, 0, 0), ERangeError);
    try {
        ShiftDate(D(1, 1, 1), IntMin, 0, 0);
        ADD_FAILURE() << "accepted";
    } catch (const EIntOverflow &e) {
        EXPECT_STREQ(e.what(), "Integer overflow");
    }
}

TEST(DateCoreEaster, KnownYearsAndInvalidYears)
{
    const WeekCase cases[] = {{1900, 4, 15, 0, 0}, {2003, 4, 20, 0, 0}, {2024, 3, 31, 0, 0},
                              {2500, 4, 18, 0, 0}, {2285, 3, 22, 0, 0}, {2038, 4, 25, 0, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(EasterSundayOf(c.y), D(c.y, c.m, c.d)) << c.y;
    }
    for (const int year : {0, -1, 10000, IntMax, IntMin}) {
        EXPECT_THROW(EasterSundayOf(year), EConvertError) << year;
    }
}

} // namespace
