#include "components/MonthCalendarLayout.h"

#include <gtest/gtest.h>
#include <limits>

void PrintTo(const TYearMonth &month, std::ostream *out)
{
    *out << month.Year << "-" << month.Month;
}

namespace {

constexpr int Monday = 1;
constexpr int Sunday = 7;

TMonthCalendarFontNumbers SampleNumbers()
{
    TMonthCalendarFontNumbers n;
    n.DigitsWidth = 14;
    n.DayNameWidth = 16;
    n.TextHeight = 14;
    n.TitleWidth = 100;
    n.TitleHeight = 15;
    n.TodayWidth = 120;
    return n;
}

// Room for `columns` x `rows` months and less than one more each way (gaps are narrower
// than a tenth of a month).
QSize SizeFor(const TMonthCalendarLayout &layout, int columns, int rows)
{
    const QSize one = layout.MinimumSize();
    const QSize month = layout.MonthSize();
    return {one.width() + (columns - 1) * month.width() * 11 / 10,
            one.height() + (rows - 1) * month.height() * 11 / 10};
}

TMonthCalendarLayout MakeLayout(TYearMonth first, int firstDay, int columns = 1, int rows = 1)
{
    TMonthCalendarLayout layout;
    layout.SetFontNumbers(SampleNumbers());
    layout.SetFirstDayOfWeek(firstDay);
    layout.SetSize(SizeFor(layout, columns, rows));
    layout.SetFirstMonth(first);
    return layout;
}

TDateTime D(int y, int m, int d)
{
    return MakeDate(y, m, d);
}

QPoint Centre(const QRect &rect)
{
    return rect.center();
}

} // namespace

TEST(MonthCalendarLayout, MarchWithMondayFirstStartsWithTrailingFebruaryDays)
{
    const TMonthCalendarLayout layout = MakeLayout({2026, 3}, Monday);
    ASSERT_EQ(layout.MonthCount(), 1);
    EXPECT_EQ(layout.ColumnWeekday(0), Monday);

    const TCalendarCell first = layout.Cell(0, 0, 0);
    EXPECT_EQ(first.Date, D(2026, 2, 23));
    EXPECT_EQ(first.Kind, TCalendarCellKind::Trailing);
    EXPECT_EQ(first.Day, 23);
    const TCalendarCell firstOfMonth = layout.Cell(0, 0, 6);
    EXPECT_EQ(firstOfMonth.Date, D(2026, 3, 1));
    EXPECT_EQ(firstOfMonth.Kind, TCalendarCellKind::Day);
    EXPECT_EQ(firstOfMonth.Day, 1);
    EXPECT_EQ(layout.Cell(0, 5, 1).Date, D(2026, 3, 31));
    const TCalendarCell last = layout.Cell(0, 5, 6);
    EXPECT_EQ(last.Date, D(2026, 4, 5));
    EXPECT_EQ(last.Kind, TCalendarCellKind::Trailing);
    EXPECT_EQ(last.Day, 5);

    const int weeks[] = {9, 10, 11, 12, 13, 14};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(layout.WeekNumber(0, row), weeks[row]) << "row " << row;
}

TEST(MonthCalendarLayout, MarchWithSundayFirstStartsOnTheFirst)
{
    const TMonthCalendarLayout layout = MakeLayout({2026, 3}, Sunday);
    EXPECT_EQ(layout.ColumnWeekday(0), Sunday);
    EXPECT_EQ(layout.ColumnWeekday(1), Monday);
    EXPECT_EQ(layout.Cell(0, 0, 0).Date, D(2026, 3, 1));
    EXPECT_EQ(layout.Cell(0, 0, 0).Kind, TCalendarCellKind::Day);
    EXPECT_EQ(layout.Cell(0, 4, 2).Date, D(2026, 3, 31));
    EXPECT_EQ(layout.Cell(0, 5, 6).Date, D(2026, 4, 11));

    // A Sunday-to-Saturday row is numbered by the ISO week holding its Monday to Saturday.
    const int weeks[] = {10, 11, 12, 13, 14, 15};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(layout.WeekNumber(0, row), weeks[row]) << "row " << row;
}

TEST(MonthCalendarLayout, WeekNumbersRunThroughWeek53IntoWeek1)
{
    const TMonthCalendarLayout layout = MakeLayout({2026, 12}, Monday);
    EXPECT_EQ(layout.Cell(0, 0, 0).Date, D(2026, 11, 30));
    const int weeks[] = {49, 50, 51, 52, 53, 1};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(layout.WeekNumber(0, row), weeks[row]) << "row " << row;
}

TEST(MonthCalendarLayout, NeighbouringDaysShowOnlyOutsideTheShownMonths)
{
    // February, March and April 2026 side by side.
    const TMonthCalendarLayout layout = MakeLayout({2026, 2}, Monday, 3);
    ASSERT_EQ(layout.MonthCount(), 3);
    EXPECT_EQ(layout.BlockMonth(1), (TYearMonth{2026, 3}));

    EXPECT_EQ(layout.Cell(0, 0, 0).Date, D(2026, 1, 26));
    EXPECT_EQ(layout.Cell(0, 0, 0).Kind, TCalendarCellKind::Trailing);
    EXPECT_EQ(layout.Cell(0, 4, 6).Date, D(2026, 3, 1));
    EXPECT_EQ(layout.Cell(0, 4, 6).Kind, TCalendarCellKind::Blank); // March is shown beside it
    EXPECT_EQ(layout.Cell(1, 0, 0).Kind, TCalendarCellKind::Blank);
    EXPECT_EQ(layout.Cell(2, 5, 6).Date, D(2026, 5, 10));
    EXPECT_EQ(layout.Cell(2, 5, 6).Kind, TCalendarCellKind::Trailing);
    // February 2026 ends in the fifth row; the sixth would hold only March days, so it shows
    // nothing and carries no week number, while March's sixth row does.
    EXPECT_EQ(layout.WeekNumber(0, 5), 0);
    EXPECT_EQ(layout.WeekNumber(1, 5), 14);
}

TEST(MonthCalendarLayout, MonthsPerSize)
{
    TMonthCalendarLayout layout;
    layout.SetFontNumbers(SampleNumbers());
    const QSize one = layout.MinimumSize();
    struct Case {
        QSize size;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {one, 1, 1},
        {{one.width() - 1, one.height() - 1}, 1, 1}, // clipped, never none
        {{0, 0}, 1, 1},
        {{-5, -5}, 1, 1},
        {SizeFor(layout, 3, 1), 3, 1},
        {SizeFor(layout, 2, 2), 2, 2},
        {SizeFor(layout, 1, 3), 1, 3},
        {SizeFor(layout, 6, 4), 6, 4},
        {SizeFor(layout, 9, 6), 9, 6},
    };
    for (const Case &c : cases) {
        layout.SetSize(c.size);
        EXPECT_EQ(layout.Columns(), c.columns) << c.size.width() << "x" << c.size.height();
        EXPECT_EQ(layout.Rows(), c.rows) << c.size.width() << "x" << c.size.height();
    }
}

TEST(MonthCalendarLayout, ACoveredSizeShowsMoreMonthsAsItGrows)
{
    TMonthCalendarLayout layout;
    layout.SetFontNumbers(SampleNumbers());
    int previous = 0;
    for (int width = 100; width <= 1920; width += 20) {
        layout.SetSize({width, 1080});
        EXPECT_GE(layout.MonthCount(), previous);
        previous = layout.MonthCount();
        EXPECT_LE(layout.BlockRect(layout.Columns() - 1).right(),
                  std::max(width, layout.MinimumSize().width()));
    }
    EXPECT_GT(previous, 20);
}

TEST(MonthCalendarLayout, MonthsAreCentredAndEvenlySpaced)
{
    TMonthCalendarLayout layout = MakeLayout({2026, 1}, Monday, 3, 2);
    const QSize size = SizeFor(layout, 3, 2) + QSize(30, 20);
    layout.SetSize(size);
    ASSERT_EQ(layout.MonthCount(), 6);
    const QRect first = layout.BlockRect(0);
    const QRect second = layout.BlockRect(1);
    const QRect third = layout.BlockRect(2);
    const QRect below = layout.BlockRect(3);
    const int rightRoom = size.width() - (third.right() + 1);
    EXPECT_NEAR(first.left(), rightRoom, 1);
    const int bottomRoom = size.height() - (layout.TodayRect().bottom() + 1);
    EXPECT_NEAR(first.top(), bottomRoom, 1);
    EXPECT_EQ(second.left() - first.right(), third.left() - second.right());
    EXPECT_EQ(below.left(), first.left());
    EXPECT_EQ(below.top() - first.bottom(), second.left() - first.right());
    EXPECT_GT(layout.TodayRect().top(), below.bottom());
    EXPECT_EQ(layout.TodayRect().left() - first.left(), layout.CellPadding() + 2);
}

TEST(MonthCalendarLayout, WeekNumbersWidenTheMonth)
{
    TMonthCalendarLayout layout = MakeLayout({2026, 3}, Monday);
    const int without = layout.MonthSize().width();
    EXPECT_TRUE(layout.WeekNumberRect(0, 0).isEmpty());
    layout.SetWeekNumbers(true);
    EXPECT_GT(layout.MonthSize().width(), without);
    EXPECT_LT(layout.WeekNumberRect(0, 2).right(), layout.CellRect(0, 2, 0).left());
    EXPECT_EQ(layout.WeekNumberRect(0, 2).top(), layout.CellRect(0, 2, 0).top());
}

TEST(MonthCalendarLayout, HitTest)
{
    TMonthCalendarLayout layout = MakeLayout({2026, 2}, Monday, 3);
    layout.SetWeekNumbers(true);
    layout.SetSize(SizeFor(layout, 3, 1));
    ASSERT_EQ(layout.MonthCount(), 3);
    struct Case {
        QPoint point;
        TCalendarHitKind kind;
        TDateTime date;
        int block;
        int week;
    };
    const QRect middleTitle = layout.TitleRect(1);
    const Case cases[] = {
        {Centre(layout.CellRect(1, 2, 3)), TCalendarHitKind::Day, D(2026, 3, 12), 1, 0},
        {Centre(layout.CellRect(0, 0, 0)), TCalendarHitKind::Day, D(2026, 1, 26), 0, 0},
        {Centre(layout.CellRect(2, 5, 6)), TCalendarHitKind::Day, D(2026, 5, 10), 2, 0},
        {Centre(layout.CellRect(1, 0, 0)), TCalendarHitKind::Nothing, 0, 1, 0}, // blank
        {layout.CellRect(1, 2, 3).topLeft(), TCalendarHitKind::Day, D(2026, 3, 12), 1, 0},
        {layout.CellRect(1, 2, 3).bottomRight(), TCalendarHitKind::Day, D(2026, 3, 12), 1, 0},
        {Centre(layout.PrevButtonRect()), TCalendarHitKind::PrevButton, 0, 0, 0},
        {Centre(layout.NextButtonRect()), TCalendarHitKind::NextButton, 0, 2, 0},
        {Centre(middleTitle), TCalendarHitKind::Title, 0, 1, 0},
        {Centre(layout.HeaderRect(2)), TCalendarHitKind::DayHeader, 0, 2, 0},
        {Centre(layout.WeekNumberRect(1, 1)), TCalendarHitKind::WeekNumber, 0, 1, 10},
        {Centre(layout.TodayRect()), TCalendarHitKind::TodayLine, 0, -1, 0},
        {{0, 0}, TCalendarHitKind::Nothing, 0, -1, 0},
        {{layout.BlockRect(0).right() + 2, Centre(layout.BlockRect(0)).y()},
         TCalendarHitKind::Nothing,
         0,
         -1,
         0},
        {{-10, 5000}, TCalendarHitKind::Nothing, 0, -1, 0},
    };
    for (const Case &c : cases) {
        const TCalendarHit hit = layout.HitTest(c.point);
        SCOPED_TRACE(testing::Message() << c.point.x() << "," << c.point.y());
        EXPECT_EQ(hit.Kind, c.kind);
        EXPECT_EQ(hit.Block, c.block);
        if (c.kind == TCalendarHitKind::Day) {
            EXPECT_EQ(hit.Date, c.date);
        }
        EXPECT_EQ(hit.Week, c.week);
    }
}

TEST(MonthCalendarLayout, FindDateFindsShownCellsOnly)
{
    const TMonthCalendarLayout layout = MakeLayout({2026, 2}, Monday, 3);
    struct Case {
        TDateTime date;
        bool found;
        int block, row, column;
    };
    const Case cases[] = {
        {D(2026, 3, 12), true, 1, 2, 3},
        {D(2026, 3, 12) + 0.75, true, 1, 2, 3}, // the time of day does not matter
        {D(2026, 1, 26), true, 0, 0, 0},        // trailing before
        {D(2026, 5, 10), true, 2, 5, 6},        // trailing after
        {D(2026, 1, 25), false, 0, 0, 0},
        {D(2026, 5, 11), false, 0, 0, 0},
        {MaxDateSerial + 10, false, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const auto pos = layout.FindDate(c.date);
        ASSERT_EQ(pos.has_value(), c.found) << c.date;
        if (pos) {
            EXPECT_EQ(pos->Block, c.block);
            EXPECT_EQ(pos->Row, c.row);
            EXPECT_EQ(pos->Column, c.column);
        }
    }
}

TEST(MonthCalendarLayout, ScrollingShowsADateWithTheLeastMovement)
{
    struct Case {
        TDateTime date;
        TYearMonth first;
        bool moved;
    };
    const Case cases[] = {
        {D(2026, 3, 1), {2026, 3}, false},       // visible: first month
        {D(2026, 5, 31), {2026, 3}, false},      // visible: last month
        {D(2026, 6, 1), {2026, 4}, true},        // just after: becomes the last
        {D(2027, 2, 14), {2026, 12}, true},      // far after: becomes the last
        {D(2026, 2, 28), {2026, 2}, true},       // just before: becomes the first
        {D(2020, 7, 4), {2020, 7}, true},        // far before: becomes the first
        {MaxDateSerial + 400, {9999, 10}, true}, // clamped to the range
        {MinDateSerial - 5, {1, 1}, true},
    };
    for (const Case &c : cases) {
        TMonthCalendarLayout layout = MakeLayout({2026, 3}, Monday, 3);
        ASSERT_EQ(layout.MonthCount(), 3);
        EXPECT_EQ(layout.ScrollToDate(c.date), c.moved) << c.date;
        EXPECT_EQ(layout.FirstMonth(), c.first) << c.date;
    }
}

TEST(MonthCalendarLayout, TheRangeEndsClampScrollingAndBlankTheCellsBeyond)
{
    TMonthCalendarLayout layout = MakeLayout({9999, 12}, Sunday, 3);
    EXPECT_EQ(layout.FirstMonth(), (TYearMonth{9999, 10}));
    EXPECT_FALSE(layout.ScrollBy(1));
    EXPECT_EQ(layout.Cell(2, 4, 5).Date, MaxDateSerial); // Friday 31 December 9999
    EXPECT_EQ(layout.Cell(2, 4, 5).Kind, TCalendarCellKind::Day);
    EXPECT_EQ(layout.Cell(2, 4, 6).Kind, TCalendarCellKind::Blank);
    EXPECT_EQ(layout.WeekNumber(2, 4), 52);
    EXPECT_EQ(layout.WeekNumber(2, 5), 0);

    EXPECT_TRUE(layout.ScrollBy(-200000));
    EXPECT_EQ(layout.FirstMonth(), (TYearMonth{1, 1}));
    EXPECT_EQ(layout.Cell(0, 0, 0).Kind, TCalendarCellKind::Blank); // Sunday 31 December of year 0
    EXPECT_EQ(layout.Cell(0, 0, 1).Date, MinDateSerial);            // Monday 1 January 1
    EXPECT_EQ(layout.WeekNumber(0, 0), 1);
    EXPECT_TRUE(layout.FindDate(MinDateSerial).has_value());
    EXPECT_FALSE(layout.FindDate(MinDateSerial - 1).has_value());

    layout.SetFirstMonth({-7, 40});
    EXPECT_EQ(layout.FirstMonth(), (TYearMonth{1, 1}));
    layout.SetFirstMonth({2'000'000'000, 1});
    EXPECT_EQ(layout.FirstMonth(), (TYearMonth{9999, 10}));
}

TEST(MonthCalendarLayout, NoSizeShowsAMonthBeyondTheRange)
{
    constexpr int most = std::numeric_limits<int>::max();
    const QSize sizes[] = {{100000, 100000}, {most, most}, {most, 1}, {1, most}, {-most, -most}};
    for (const QSize &size : sizes) {
        TMonthCalendarLayout layout = MakeLayout({9000, 1}, Monday, 1);
        ASSERT_NO_THROW(layout.SetSize(size)) << size.width() << "x" << size.height();
        EXPECT_LE(layout.MonthCount(), 9999 * 12) << size.width() << "x" << size.height();
        EXPECT_LE(layout.BlockMonth(layout.MonthCount() - 1).Year, 9999);
        ASSERT_NO_THROW(layout.ScrollToDate(MaxDateSerial));
        EXPECT_EQ(layout.BlockMonth(layout.MonthCount() - 1), (TYearMonth{9999, 12}));
    }
}

TEST(MonthCalendarLayout, GrowingFontsGrowTheMonth)
{
    TMonthCalendarLayout layout;
    layout.SetFontNumbers(SampleNumbers());
    const QSize small = layout.MonthSize();
    TMonthCalendarFontNumbers big = SampleNumbers();
    big.DigitsWidth *= 2;
    big.DayNameWidth *= 2;
    big.TextHeight *= 2;
    big.TitleHeight *= 2;
    big.TitleWidth *= 2;
    layout.SetFontNumbers(big);
    EXPECT_GT(layout.MonthSize().width(), small.width() * 3 / 2);
    EXPECT_GT(layout.MonthSize().height(), small.height() * 3 / 2);
}
