#include "components/MonthCalendarLayout.h"

#include <algorithm>
#include <cmath>

namespace {

// Months are counted from January of year 0, so the range is one contiguous interval.
constexpr int MinMonthIndex = 1 * 12;
constexpr int MaxMonthIndex = 9999 * 12 + 11;
constexpr int RangeMonthCount = MaxMonthIndex - MinMonthIndex + 1;
constexpr int CellsPerMonth = TMonthCalendarLayout::WeekRows * TMonthCalendarLayout::DaysPerWeek;

int MonthIndexOf(TDateTime date)
{
    const TDateParts parts = SplitDate(date);
    return parts.Year * 12 + parts.Month - 1;
}

TDateTime ClampToRange(TDateTime date)
{
    return std::clamp(std::floor(date), MinDateSerial, MaxDateSerial);
}

bool InRange(TDateTime date)
{
    return date >= MinDateSerial && date <= MaxDateSerial;
}

// A point inside [start, start + count * step): the index of its step, or -1.
int SlotAt(int coordinate, int start, int step, int count)
{
    if (coordinate < start || step <= 0)
        return -1;
    const int slot = (coordinate - start) / step;
    return slot < count ? slot : -1;
}

} // namespace

TMonthCalendarLayout::TMonthCalendarLayout() : FFirstIndex(MinMonthIndex)
{
    Relayout();
}

void TMonthCalendarLayout::SetFontNumbers(const TMonthCalendarFontNumbers &numbers)
{
    FNumbers = numbers;
    Relayout();
}

void TMonthCalendarLayout::SetSize(QSize size)
{
    FSize = size.expandedTo({0, 0});
    Relayout();
}

void TMonthCalendarLayout::SetWeekNumbers(bool on)
{
    FWeekNumbers = on;
    Relayout();
}

void TMonthCalendarLayout::SetShowToday(bool on)
{
    FShowToday = on;
    Relayout();
}

void TMonthCalendarLayout::SetFirstDayOfWeek(int isoWeekday)
{
    if (isoWeekday < 1 || isoWeekday > DaysPerWeek)
        return;
    FFirstDay = isoWeekday;
    FillBlocks();
}

void TMonthCalendarLayout::SetFirstMonth(TYearMonth month)
{
    const int year = std::clamp(month.Year, 0, 10000);
    SetFirstIndex(year * 12 + std::clamp(month.Month, 1, 12) - 1);
}

bool TMonthCalendarLayout::ScrollBy(int months)
{
    const long long target = static_cast<long long>(FFirstIndex) + months;
    return SetFirstIndex(static_cast<int>(std::clamp<long long>(target, MinMonthIndex, MaxMonthIndex)));
}

bool TMonthCalendarLayout::ScrollToDate(TDateTime date)
{
    if (!std::isfinite(date))
        return false;
    const int index = MonthIndexOf(ClampToRange(date));
    if (index < FFirstIndex)
        return SetFirstIndex(index);
    if (index >= FFirstIndex + MonthCount())
        return SetFirstIndex(index - MonthCount() + 1);
    return false;
}

bool TMonthCalendarLayout::ShowsMonthOf(TDateTime date) const
{
    if (!std::isfinite(date))
        return false;
    const int index = MonthIndexOf(ClampToRange(date));
    return index >= FFirstIndex && index < FFirstIndex + MonthCount();
}

TYearMonth TMonthCalendarLayout::BlockMonth(int block) const
{
    const int index = FFirstIndex + block;
    return {index / 12, index % 12 + 1};
}

int TMonthCalendarLayout::ColumnWeekday(int column) const
{
    return (FFirstDay - 1 + column) % DaysPerWeek + 1;
}

QSize TMonthCalendarLayout::MinimumSize() const
{
    return {FBlockWidth + 2 * FMargin, FBlockHeight + FTodayHeight + 2 * FMargin};
}

QRect TMonthCalendarLayout::BlockRect(int block) const
{
    return {BlockOrigin(block), QSize(FBlockWidth, FBlockHeight)};
}

QRect TMonthCalendarLayout::TitleRect(int block) const
{
    return {BlockOrigin(block), QSize(FBlockWidth, FTitleHeight)};
}

QRect TMonthCalendarLayout::HeaderRect(int block) const
{
    return {DaysLeft(block), RowsTop(block) - FHeaderHeight, DaysPerWeek * FDayWidth, FRowHeight};
}

QRect TMonthCalendarLayout::CellRect(int block, int row, int column) const
{
    return {DaysLeft(block) + column * FDayWidth, RowsTop(block) + row * FRowHeight, FDayWidth, FRowHeight};
}

QRect TMonthCalendarLayout::WeekNumberRect(int block, int row) const
{
    if (!FWeekNumbers)
        return {};
    return {DaysLeft(block) - FWeekWidth, RowsTop(block) + row * FRowHeight, FDayWidth, FRowHeight};
}

// The arrows sit in the outer ends of the top row of titles, where users look for them.
QRect TMonthCalendarLayout::PrevButtonRect() const
{
    const QRect title = TitleRect(0);
    const int side = std::max(1, FTitleHeight - 2 * FPad);
    return {title.left() + FPad, title.top() + FPad, side, side};
}

QRect TMonthCalendarLayout::NextButtonRect() const
{
    const QRect title = TitleRect(FColumns - 1);
    const int side = std::max(1, FTitleHeight - 2 * FPad);
    return {title.right() + 1 - FPad - side, title.top() + FPad, side, side};
}

QRect TMonthCalendarLayout::TodayRect() const
{
    if (!FShowToday)
        return {};
    const int gridBottom = FGridOrigin.y() + FRows * FBlockHeight + (FRows - 1) * FGap;
    return {FGridOrigin.x() + FInner, gridBottom + FPad, FNumbers.TodayWidth, FRowHeight};
}

TCalendarCell TMonthCalendarLayout::Cell(int block, int row, int column) const
{
    const TBlock &b = FBlocks[block];
    const TDateTime date = b.FirstCell + row * DaysPerWeek + column;
    const int offset = static_cast<int>(date - b.MonthStart);
    if (!InRange(date))
        return {date, TCalendarCellKind::Blank, 0};
    if (offset >= 0 && offset < b.Length)
        return {date, TCalendarCellKind::Day, offset + 1};
    const bool before = offset < 0;
    const bool outer = before ? block == 0 : block == MonthCount() - 1;
    const int day = before ? b.PrevLength + offset + 1 : offset - b.Length + 1;
    return {date, outer ? TCalendarCellKind::Trailing : TCalendarCellKind::Blank, day};
}

int TMonthCalendarLayout::WeekNumber(int block, int row) const
{
    return FBlocks[block].Weeks[row];
}

std::optional<TCalendarCellPos> TMonthCalendarLayout::FindDate(TDateTime date) const
{
    if (!std::isfinite(date) || !InRange(std::floor(date)))
        return std::nullopt;
    const TDateTime day = std::floor(date);
    const int own = MonthIndexOf(day) - FFirstIndex;
    // Its own month first; a trailing day can only stand in the first or the last block.
    for (const int block : {own, 0, MonthCount() - 1}) {
        if (block < 0 || block >= MonthCount())
            continue;
        const int offset = static_cast<int>(day - FBlocks[block].FirstCell);
        if (offset < 0 || offset >= CellsPerMonth)
            continue;
        const TCalendarCellPos pos{block, offset / DaysPerWeek, offset % DaysPerWeek};
        if (Cell(pos.Block, pos.Row, pos.Column).Kind != TCalendarCellKind::Blank)
            return pos;
    }
    return std::nullopt;
}

TCalendarHit TMonthCalendarLayout::HitTest(QPoint point) const
{
    if (PrevButtonRect().contains(point))
        return {TCalendarHitKind::PrevButton, 0, 0, 0};
    if (NextButtonRect().contains(point))
        return {TCalendarHitKind::NextButton, 0, FColumns - 1, 0};
    if (TodayRect().contains(point))
        return {TCalendarHitKind::TodayLine, 0, -1, 0};
    const int block = BlockAt(point);
    return block < 0 ? TCalendarHit{} : HitInBlock(block, point);
}

TCalendarHit TMonthCalendarLayout::HitInBlock(int block, QPoint point) const
{
    if (TitleRect(block).contains(point))
        return {TCalendarHitKind::Title, 0, block, 0};
    if (HeaderRect(block).contains(point))
        return {TCalendarHitKind::DayHeader, 0, block, 0};
    const int row = SlotAt(point.y(), RowsTop(block), FRowHeight, WeekRows);
    if (row < 0)
        return {TCalendarHitKind::Nothing, 0, block, 0};
    if (WeekNumberRect(block, row).contains(point) && WeekNumber(block, row) > 0)
        return {TCalendarHitKind::WeekNumber, 0, block, WeekNumber(block, row)};
    const int column = SlotAt(point.x(), DaysLeft(block), FDayWidth, DaysPerWeek);
    if (column < 0)
        return {TCalendarHitKind::Nothing, 0, block, 0};
    const TCalendarCell cell = Cell(block, row, column);
    if (cell.Kind == TCalendarCellKind::Blank)
        return {TCalendarHitKind::Nothing, 0, block, 0};
    return {TCalendarHitKind::Day, cell.Date, block, 0};
}

// Every size follows from the text sizes, so a bigger font (or a higher dpi) scales the
// whole control. The cells stay tight: two digits and a little air.
void TMonthCalendarLayout::Relayout()
{
    const TMonthCalendarFontNumbers &n = FNumbers;
    const int text = std::max(1, n.TextHeight);
    FPad = std::max(2, text / 5);
    FDayWidth = std::max(n.DigitsWidth, n.DayNameWidth) + 2 * FPad;
    FRowHeight = text + 2;
    FTitleHeight = std::max(n.TitleHeight, text) + text / 3 + 2;
    FHeaderHeight = FRowHeight + 2;
    FInner = FPad + 2;
    FWeekWidth = FWeekNumbers ? FDayWidth + FPad : 0;
    const int arrows = 2 * (FTitleHeight + FPad);
    FBlockWidth = std::max(FWeekWidth + DaysPerWeek * FDayWidth, n.TitleWidth + arrows) + 2 * FInner;
    FBlockHeight = FTitleHeight + FPad + FHeaderHeight + WeekRows * FRowHeight + FPad;
    FGap = std::max(4, text * 2 / 3);
    FMargin = FPad;
    FTodayHeight = FShowToday ? FRowHeight + FPad : 0;

    // However large the control, it never shows more months than the date range holds.
    const auto fit = [this](long long room, int block, int most) {
        return static_cast<int>(std::clamp<long long>((room - 2 * FMargin + FGap) / (block + FGap), 1, most));
    };
    FColumns = fit(FSize.width(), FBlockWidth, RangeMonthCount);
    FRows = fit(static_cast<long long>(FSize.height()) - FTodayHeight, FBlockHeight, RangeMonthCount / FColumns);
    const int gridWidth = FColumns * FBlockWidth + (FColumns - 1) * FGap;
    const int gridHeight = FRows * FBlockHeight + (FRows - 1) * FGap + FTodayHeight;
    FGridOrigin = {std::max(0, (FSize.width() - gridWidth) / 2),
                   std::max(0, (FSize.height() - gridHeight) / 2)};

    FFirstIndex = ClampFirstIndex(FFirstIndex);
    FillBlocks();
}

void TMonthCalendarLayout::FillBlocks()
{
    FBlocks.assign(MonthCount(), TBlock{});
    for (int i = 0; i < MonthCount(); ++i) {
        const TYearMonth month = BlockMonth(i);
        TBlock &block = FBlocks[i];
        block.MonthStart = MakeDate(month.Year, month.Month, 1);
        block.Length = MonthLength(month.Year, month.Month);
        block.PrevLength = month.Month == 1 ? 31 : MonthLength(month.Year, month.Month - 1);
        block.FirstCell =
            block.MonthStart - (IsoWeekday(block.MonthStart) - FFirstDay + DaysPerWeek) % DaysPerWeek;
    }
    // Which rows show a day depends on every block being filled (trailing days).
    for (int i = 0; i < MonthCount(); ++i) {
        for (int row = 0; row < WeekRows; ++row) {
            bool shown = false;
            for (int column = 0; column < DaysPerWeek && !shown; ++column)
                shown = Cell(i, row, column).Kind != TCalendarCellKind::Blank;
            FBlocks[i].Weeks[row] = RowWeek(FBlocks[i], row, shown);
        }
    }
}

// A row's ISO week is the week of its Thursday: the week that owns most of the row's days
// whatever day the locale starts the week on.
int TMonthCalendarLayout::RowWeek(const TBlock &block, int row, bool shown) const
{
    if (!shown)
        return 0;
    const int thursdayColumn = (4 - FFirstDay + DaysPerWeek) % DaysPerWeek;
    return IsoWeekNumber(ClampToRange(block.FirstCell + row * DaysPerWeek + thursdayColumn));
}

bool TMonthCalendarLayout::SetFirstIndex(int index)
{
    index = ClampFirstIndex(index);
    if (index == FFirstIndex)
        return false;
    FFirstIndex = index;
    FillBlocks();
    return true;
}

int TMonthCalendarLayout::ClampFirstIndex(int index) const
{
    const int last = std::max(MinMonthIndex, MaxMonthIndex - MonthCount() + 1);
    return std::clamp(index, MinMonthIndex, last);
}

QPoint TMonthCalendarLayout::BlockOrigin(int block) const
{
    const int row = block / FColumns;
    const int column = block % FColumns;
    return FGridOrigin + QPoint(column * (FBlockWidth + FGap), row * (FBlockHeight + FGap));
}

// The week-number column and the seven day columns are centred in the block, which is
// wider than they are when a long month name needs the room.
int TMonthCalendarLayout::DaysLeft(int block) const
{
    const int columns = FWeekWidth + DaysPerWeek * FDayWidth;
    return BlockOrigin(block).x() + (FBlockWidth - columns) / 2 + FWeekWidth;
}

int TMonthCalendarLayout::RowsTop(int block) const
{
    return BlockOrigin(block).y() + FTitleHeight + FPad + FHeaderHeight;
}

int TMonthCalendarLayout::BlockAt(QPoint point) const
{
    const int column = SlotAt(point.x(), FGridOrigin.x(), FBlockWidth + FGap, FColumns);
    const int row = SlotAt(point.y(), FGridOrigin.y(), FBlockHeight + FGap, FRows);
    if (column < 0 || row < 0)
        return -1;
    const int block = row * FColumns + column;
    return BlockRect(block).contains(point) ? block : -1;
}
