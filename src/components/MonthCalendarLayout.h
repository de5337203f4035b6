#pragma once
// Geometry of the month calendar: how many months fit, which month stands in which block,
// which date in which cell, which week number in which row, and what lies under a point.
// It paints nothing and knows no widget, so it is tested without pixels, and the control
// paints from numbers kept here instead of working them out on every paint.

#include "date/DateCore.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

// Text sizes the control measures from its fonts; every other size follows from them.
struct TMonthCalendarFontNumbers {
    int DigitsWidth = 0;  // "00" in the day font
    int DayNameWidth = 0; // the widest weekday name of the header
    int TextHeight = 0;   // line height of the day font
    int TitleWidth = 0;   // the widest month title in the title font
    int TitleHeight = 0;  // line height of the title font
    int TodayWidth = 0;   // the today line, whatever it draws
};

struct TYearMonth {
    int Year = 1;
    int Month = 1;
    friend bool operator==(const TYearMonth &, const TYearMonth &) = default;
};

enum class TCalendarCellKind {
    Blank,    // nothing shown: a neighbour's day between two months, or outside the date range
    Day,      // a day of the block's own month
    Trailing, // a neighbour's day before the first or after the last month
};

struct TCalendarCell {
    TDateTime Date = 0;
    TCalendarCellKind Kind = TCalendarCellKind::Blank;
    int Day = 0; // day of the month, 1..31
};

struct TCalendarCellPos {
    int Block = 0;
    int Row = 0;
    int Column = 0;
};

enum class TCalendarHitKind { Nothing, Day, PrevButton, NextButton, Title, DayHeader, WeekNumber, TodayLine };

struct TCalendarHit {
    TCalendarHitKind Kind = TCalendarHitKind::Nothing;
    TDateTime Date = 0; // the day under a Day hit
    int Block = -1;     // the month block, when the point lies in one
    int Week = 0;       // the ISO week under a WeekNumber hit
};

class TMonthCalendarLayout {
public:
    static constexpr int WeekRows = 6;
    static constexpr int DaysPerWeek = 7;

    TMonthCalendarLayout();

    // Inputs; each one lays the blocks out again.
    void SetFontNumbers(const TMonthCalendarFontNumbers &numbers);
    void SetSize(QSize size);
    void SetWeekNumbers(bool on);
    void SetShowToday(bool on);
    void SetFirstDayOfWeek(int isoWeekday); // 1 = Monday .. 7 = Sunday; others are ignored
    void SetFirstMonth(TYearMonth month);   // clamped so that every shown month lies in the range

    // Scrolling. Each returns whether the first month changed.
    bool ScrollBy(int months);
    // Shows the month of the date: stays when visible, else scrolls just far enough that it
    // becomes the last visible month (when after) or the first (when before).
    bool ScrollToDate(TDateTime date);
    bool ShowsMonthOf(TDateTime date) const; // the date's own month is one of the blocks

    QSize Size() const { return FSize; }
    int Rows() const { return FRows; }
    int Columns() const { return FColumns; }
    int MonthCount() const { return FRows * FColumns; }
    TYearMonth FirstMonth() const { return BlockMonth(0); }
    TYearMonth BlockMonth(int block) const;
    int FirstDayOfWeek() const { return FFirstDay; }
    int ColumnWeekday(int column) const; // ISO weekday shown in the column

    // Sizes of one month block and of the whole control showing one month.
    QSize MonthSize() const { return {FBlockWidth, FBlockHeight}; }
    QSize MinimumSize() const;
    int CellPadding() const { return FPad; }

    // Geometry in control coordinates.
    QRect BlockRect(int block) const;
    QRect TitleRect(int block) const;
    QRect HeaderRect(int block) const; // the weekday names above the day columns
    QRect CellRect(int block, int row, int column) const;
    QRect WeekNumberRect(int block, int row) const; // empty without week numbers
    QRect PrevButtonRect() const;
    QRect NextButtonRect() const;
    QRect TodayRect() const; // empty when the today line is hidden

    TCalendarCell Cell(int block, int row, int column) const;
    int WeekNumber(int block, int row) const;                       // 0 for a row that shows no day
    std::optional<TCalendarCellPos> FindDate(TDateTime date) const; // a shown (non-blank) cell
    TCalendarHit HitTest(QPoint point) const;

private:
    struct TBlock {
        TDateTime MonthStart = 0;
        TDateTime FirstCell = 0;
        int Length = 0;
        int PrevLength = 0; // of the month before
        std::array<int, WeekRows> Weeks{};
    };

    void Relayout();
    void FillBlocks();
    bool SetFirstIndex(int index);
    int ClampFirstIndex(int index) const;
    QPoint BlockOrigin(int block) const;
    int DaysLeft(int block) const;
    int RowsTop(int block) const;
    int BlockAt(QPoint point) const;
    TCalendarHit HitInBlock(int block, QPoint point) const;
    int RowWeek(const TBlock &block, int row, bool shown) const;

    TMonthCalendarFontNumbers FNumbers;
    QSize FSize;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    int FFirstDay = 7;
    int FFirstIndex = 0; // months since January of year 0

    // Derived sizes.
    int FPad = 2;
    int FDayWidth = 0;
    int FRowHeight = 0;
    int FTitleHeight = 0;
    int FHeaderHeight = 0;
    int FInner = 0;
    int FWeekWidth = 0;
    int FBlockWidth = 0;
    int FBlockHeight = 0;
    int FGap = 0;
    int FMargin = 0;
    int FTodayHeight = 0;
    int FRows = 1;
    int FColumns = 1;
    QPoint FGridOrigin;
    std::vector<TBlock> FBlocks;
};
