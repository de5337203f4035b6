#include "components/MonthCalendar.h"

#include "components/kxAccessible.h"
#include "platform/Colors.h"

#include <QContextMenuEvent>
#include <QDate>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const QColor TodayCircleColor(204, 32, 32);
constexpr int WheelStep = 120; // one notch of an ordinary mouse wheel

QStaticText PreparedText(const QString &text, const QFont &font)
{
    QStaticText result(text);
    result.setTextFormat(Qt::PlainText);
    result.prepare(QTransform(), font);
    return result;
}

// The first two characters (whole graphemes) of a name.
QString Shortened(const QString &name)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    int end = 0;
    for (int i = 0; i < 2 && finder.toNextBoundary() != -1; ++i)
        end = static_cast<int>(finder.position());
    return name.left(end);
}

QColor Halfway(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

TDateTime ShiftedMonths(TDateTime date, int months)
{
    try {
        return AddMonths(date, months);
    } catch (const EDateError &) {
        return months < 0 ? MinDateSerial : MaxDateSerial;
    }
}

TDateTime MonthEdge(TDateTime date, bool last)
{
    const TDateParts parts = SplitDate(date);
    return MakeDate(parts.Year, parts.Month, last ? MonthLength(parts.Year, parts.Month) : 1);
}

void PaintFocus(QPainter &painter, const QRect &rect, const QColor &color)
{
    painter.save();
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void PaintArrow(QPainter &painter, const QRect &rect, bool back, const QColor &color)
{
    // A solid triangle six tenths of the button high, pointing out of the calendar.
    const double half = rect.height() * 0.3;
    const double depth = (back ? -0.6 : 0.6) * half;
    const QPointF c = QRectF(rect).center();
    const QPointF points[] = {
        {c.x() + depth, c.y()}, {c.x() - depth, c.y() - half}, {c.x() - depth, c.y() + half}};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(points, 3);
    painter.restore();
}

void PaintCircle(QPainter &painter, const QRect &rect, const QColor &color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, std::max(1.0, rect.height() / 10.0)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

} // namespace

// A new size, font or option may change the number of months; a selected day that was in
// view stays in view.
template <class Change> void TMonthCalendar::Relayout(Change change) const
{
    const bool shown = FLayout.ShowsMonthOf(FDate);
    change();
    if (shown)
        FLayout.ScrollToDate(FDate);
    FTitlesDirty = true;
}

TMonthCalendar::TMonthCalendar(QWidget *parent) : QWidget(parent), FTodayLabel(QStringLiteral("Today:"))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
    RegisterAccessible("TMonthCalendar", [](QObject *object) {
        return NewMonthCalendarAccessible(static_cast<TMonthCalendar *>(object));
    });
    DropAccessibleEvents(IsMonthCalendarFocus);
    FDate = MakeDate(2002, 8, 10);
    FLayout.SetFirstMonth({2002, 8});
    UpdateToday();
}

void TMonthCalendar::SetDate(TDateTime date)
{
    if (!std::isfinite(date))
        return;
    FDate = std::clamp(std::floor(date), MinDateSerial, MaxDateSerial);
    SyncSize();
    if (FLayout.ScrollToDate(FDate))
        FTitlesDirty = true;
    update();
    MonthCalendarAccessibilityUpdate(this);
}

void TMonthCalendar::SetColor(TMonthCalendarColor role, const QColor &color)
{
    FColors[role] = color;
    FStampsDirty = true;
    update();
}

QColor TMonthCalendar::Color(TMonthCalendarColor role) const
{
    if (FColors[role].isValid())
        return FColors[role];
    const QPalette &p = palette();
    switch (role) {
    case TMonthCalendarColor::Text:
        return p.color(QPalette::Text);
    case TMonthCalendarColor::TitleBackground:
        return p.color(QPalette::Highlight);
    case TMonthCalendarColor::TitleText:
        return p.color(QPalette::HighlightedText);
    case TMonthCalendarColor::TrailingText:
        return Halfway(p.color(QPalette::Text), p.color(QPalette::Base));
    case TMonthCalendarColor::Background:
    case TMonthCalendarColor::MonthBackground:
        break;
    }
    return p.color(QPalette::Base);
}

void TMonthCalendar::SetWeekNumbers(bool on)
{
    FWeekNumbers = on;
    FStampsDirty = true;
    Relayout([&] { FLayout.SetWeekNumbers(on); });
    update();
    updateGeometry();
    MonthCalendarAccessibilityUpdate(this);
}

void TMonthCalendar::SetTodayCircle(bool on)
{
    FTodayCircle = on;
    UpdateToday(); // the line shows a sample circle
}

void TMonthCalendar::SetShowToday(bool on)
{
    FShowToday = on;
    Relayout([&] { FLayout.SetShowToday(on); });
    update();
    updateGeometry();
    MonthCalendarAccessibilityUpdate(this);
}

void TMonthCalendar::SetTodayLabel(const QString &label)
{
    FTodayLabel = label;
    UpdateToday();
}

void TMonthCalendar::SetAccessibleTexts(const TMonthCalendarTexts &texts)
{
    FAccessibleTexts = texts;
    MonthCalendarAccessibilityUpdate(this);
}

QSize TMonthCalendar::sizeHint() const
{
    EnsureMeasured();
    return FLayout.MinimumSize();
}

QSize TMonthCalendar::minimumSizeHint() const
{
    return sizeHint();
}

// Font or locale changed: sizes and prepared texts are made again when next needed.
void TMonthCalendar::FontsChanged()
{
    FMeasured = false;
    FTextsDirty = true;
    FStampsDirty = true;
    UpdateToday(); // the locale writes the date
    MonthCalendarAccessibilityUpdate(this);
}

void TMonthCalendar::EnsureMeasured() const
{
    if (FMeasured)
        return;
    FMeasured = true;
    FTitleFont = font();
    FTitleFont.setBold(true);
    const QFontMetrics metrics(font());
    const QFontMetrics titleMetrics(FTitleFont);

    FNumbers.DigitsWidth = metrics.horizontalAdvance(QStringLiteral("00"));
    FNumbers.TextHeight = metrics.height();
    FNumbers.TitleHeight = titleMetrics.height();
    FNumbers.TitleWidth = 0;
    for (int month = 1; month <= 12; ++month) {
        const QString title = locale().standaloneMonthName(month, QLocale::LongFormat) + " 0000";
        FNumbers.TitleWidth = std::max(FNumbers.TitleWidth, titleMetrics.horizontalAdvance(title));
    }
    FLayout.SetFirstDayOfWeek(static_cast<int>(locale().firstDayOfWeek()));
    MeasureHeader(metrics);
    Relayout([&] { FLayout.SetFontNumbers(FNumbers); });
    MeasureToday(); // its circle sample follows the new cell padding
}

// The header shows the locale's short day names, or their first two characters where those are
// too wide for a cell of two digits (as "Mon" is), so the month stays compact.
void TMonthCalendar::MeasureHeader(const QFontMetrics &metrics) const
{
    int widest = 0;
    for (int column = 0; column < 7; ++column) {
        FHeaderNames[column] = locale().dayName(FLayout.ColumnWeekday(column), QLocale::ShortFormat);
        widest = std::max(widest, metrics.horizontalAdvance(FHeaderNames[column]));
    }
    if (widest <= FNumbers.DigitsWidth * 3 / 2) {
        FNumbers.DayNameWidth = widest;
        return;
    }
    FNumbers.DayNameWidth = 0;
    for (QString &name : FHeaderNames) {
        name = Shortened(name);
        FNumbers.DayNameWidth = std::max(FNumbers.DayNameWidth, metrics.horizontalAdvance(name));
    }
}

// The today line follows the clock, the label, the locale and the circle sample.
void TMonthCalendar::UpdateToday()
{
    FTodayShown = Today();
    const TDateParts today = SplitDate(FTodayShown);
    const QDate date(today.Year, today.Month, today.Day);
    FTodayText = FTodayLabel + ' ' + locale().toString(date, QLocale::ShortFormat);
    if (FMeasured)
        MeasureToday();
    update();
    updateGeometry();
}

// The today line's width feeds the layout (its hit area).
void TMonthCalendar::MeasureToday() const
{
    FNumbers.TodayWidth = QFontMetrics(FTitleFont).horizontalAdvance(FTodayText) + TodaySampleWidth();
    Relayout([&] { FLayout.SetFontNumbers(FNumbers); });
}

int TMonthCalendar::TodaySampleWidth() const
{
    return FTodayCircle ? FNumbers.DigitsWidth + 4 * FLayout.CellPadding() : 0;
}

const TMonthCalendarLayout &TMonthCalendar::Layout() const
{
    SyncSize();
    return FLayout;
}

void TMonthCalendar::SyncSize() const
{
    EnsureMeasured();
    if (FLayout.Size() != size())
        Relayout([&] { FLayout.SetSize(size()); });
}

void TMonthCalendar::PrepareTexts()
{
    if (FTextsDirty || FTodayStatic.text() != FTodayText)
        FTodayStatic = PreparedText(FTodayText, FTitleFont);
    if (!FTextsDirty)
        return;
    FTextsDirty = false;
    FNumberTexts.fill(QStaticText());
    for (int column = 0; column < 7; ++column)
        FHeaderTexts[column] = PreparedText(FHeaderNames[column], font());
}

// Numbers are prepared as they are first drawn: without week numbers only the days are.
const QStaticText &TMonthCalendar::NumberText(int number) const
{
    QStaticText &text = FNumberTexts[number];
    if (text.text().isEmpty())
        text = PreparedText(QString::number(number), font());
    return text;
}

void TMonthCalendar::RebuildTitles()
{
    FTitlesDirty = false;
    FTitleTexts.resize(FLayout.MonthCount());
    for (int block = 0; block < FLayout.MonthCount(); ++block) {
        const TYearMonth month = FLayout.BlockMonth(block);
        const QString title = locale().standaloneMonthName(month.Month, QLocale::LongFormat) + ' ' +
                              QString::number(month.Year);
        FTitleTexts[block] = PreparedText(title, FTitleFont);
    }
}

void TMonthCalendar::ScrollView(int months)
{
    SyncSize();
    if (FLayout.ScrollBy(months)) {
        FTitlesDirty = true;
        update();
        MonthCalendarAccessibilityUpdate(this);
    }
}

void TMonthCalendar::MoveSelection(TDateTime date)
{
    SetDate(date);
    emit OnClick();
}

std::optional<TDateTime> TMonthCalendar::KeyTarget(const QKeyEvent *event) const
{
    const int months = (event->modifiers() & Qt::ControlModifier) ? 12 : 1; // Ctrl: a year
    switch (event->key()) {
    case Qt::Key_Left:
        return FDate - 1;
    case Qt::Key_Right:
        return FDate + 1;
    case Qt::Key_Up:
        return FDate - 7;
    case Qt::Key_Down:
        return FDate + 7;
    case Qt::Key_PageUp:
        return ShiftedMonths(FDate, -months);
    case Qt::Key_PageDown:
        return ShiftedMonths(FDate, months);
    case Qt::Key_Home:
        return MonthEdge(FDate, false);
    case Qt::Key_End:
        return MonthEdge(FDate, true);
    default:
        return std::nullopt;
    }
}

TMonthCalendar::TColors TMonthCalendar::ResolvedColors() const
{
    TColors colors;
    for (int role = 0; role < ColorRoleCount; ++role)
        colors.Of[role] = Color(static_cast<TMonthCalendarColor>(role));
    return colors;
}

void TMonthCalendar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    SyncSize();
    update();
    MonthCalendarAccessibilityUpdate(this);
}

void TMonthCalendar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::LocaleChange:
        FontsChanged();
        break;
    case QEvent::PaletteChange:
        FStampsDirty = true;
        update();
        break;
    default:
        break;
    }
}

void TMonthCalendar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const TCalendarHit hit = Layout().HitTest(event->position().toPoint());
    switch (hit.Kind) {
    case TCalendarHitKind::Day:
        MoveSelection(hit.Date);
        break;
    case TCalendarHitKind::TodayLine:
        MoveSelection(Today());
        break;
    case TCalendarHitKind::PrevButton:
        ScrollView(-FLayout.MonthCount());
        break;
    case TCalendarHitKind::NextButton:
        ScrollView(FLayout.MonthCount());
        break;
    default:
        break;
    }
}

void TMonthCalendar::keyPressEvent(QKeyEvent *event)
{
    const std::optional<TDateTime> target = KeyTarget(event);
    if (!target) {
        QWidget::keyPressEvent(event);
        return;
    }
    const TDateTime before = FDate;
    SetDate(*target);
    if (FDate != before)
        emit OnClick();
}

void TMonthCalendar::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    FWheelRest += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = FWheelRest / WheelStep;
    FWheelRest -= steps * WheelStep;
    ScrollView(-steps); // rolling away from the user goes back in time
    event->accept();
}

void TMonthCalendar::contextMenuEvent(QContextMenuEvent *event)
{
    if (!FPopupMenu) {
        event->ignore();
        return;
    }
    FPopupMenu->popup(event->globalPos());
    event->accept();
}

void TMonthCalendar::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    MonthCalendarAccessibilityUpdate(this, true);
}

void TMonthCalendar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

// Painting -------------------------------------------------------------------------------

void TMonthCalendar::paintEvent(QPaintEvent *event)
{
    if (Today() != FTodayShown) // past midnight
        UpdateToday();
    SyncSize();
    PrepareTexts();
    if (FTitlesDirty)
        RebuildTitles();
    QPainter painter(this);
    const TColors colors = ResolvedColors();
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (FStampsDirty || ratio != FStampRatio)
        MakeStamps(colors, ratio);
    painter.fillRect(event->rect(), colors[TMonthCalendarColor::Background]);
    for (int block = 0; block < FLayout.MonthCount(); ++block) {
        if (FLayout.BlockRect(block).intersects(event->rect()))
            PaintBlock(painter, block, colors);
    }
    if (FShowToday)
        PaintToday(painter, colors);
}

// Made again only after a change of font, locale, colours or week numbers.
void TMonthCalendar::MakeStamps(const TColors &colors, qreal ratio)
{
    const QSize cell = FLayout.CellRect(0, 0, 0).size();
    const QColor &back = colors[TMonthCalendarColor::MonthBackground];
    const auto numbers = [this](const QColor &pen) {
        return [this, pen](QPainter &painter, int index, const QRect &rect) {
            painter.setFont(font());
            painter.setPen(pen);
            DrawCentered(painter, rect, NumberText(index + 1));
        };
    };
    FDayStamps.Make(31, cell, back, ratio, numbers(colors[TMonthCalendarColor::Text]));
    FTrailingStamps.Make(31, cell, back, ratio, numbers(colors[TMonthCalendarColor::TrailingText]));
    FWeekStamps.Make(FWeekNumbers ? 53 : 0, cell, back, ratio,
                     numbers(colors[TMonthCalendarColor::TitleBackground]));
    // Weekday names share the title's background colour.
    const QSize header = FLayout.HeaderRect(0).size();
    FHeaderStamp.Make(1, header, back, ratio, [&](QPainter &painter, int, const QRect &rect) {
        painter.setFont(font());
        painter.setPen(colors[TMonthCalendarColor::TitleBackground]);
        for (int column = 0; column < TMonthCalendarLayout::DaysPerWeek; ++column) {
            const QRect name(rect.left() + column * cell.width(), rect.top(), cell.width(), rect.height());
            DrawCentered(painter, name, FHeaderTexts[column]);
        }
    });
    // The circle is red wherever red reads on the month's background; a lighter red on a dark one.
    FCircleColor = ReadableOn(TodayCircleColor, back);
    FStampsDirty = false;
    FStampRatio = ratio;
}

void TMonthCalendar::PaintBlock(QPainter &painter, int block, const TColors &colors) const
{
    painter.fillRect(FLayout.BlockRect(block), colors[TMonthCalendarColor::MonthBackground]);
    PaintTitle(painter, block, colors);
    const QRect header = FLayout.HeaderRect(block);
    FHeaderStamp.Draw(painter, header.topLeft(), 0);
    painter.fillRect(QRect(header.left(), header.bottom() + 1, header.width(), 1),
                     colors[TMonthCalendarColor::TitleBackground]);
    if (FWeekNumbers)
        PaintWeekNumbers(painter, block, colors);
    PaintDays(painter, block, colors);
}

void TMonthCalendar::PaintTitle(QPainter &painter, int block, const TColors &colors) const
{
    const QRect title = FLayout.TitleRect(block);
    painter.fillRect(title, colors[TMonthCalendarColor::TitleBackground]);
    painter.setFont(FTitleFont);
    painter.setPen(colors[TMonthCalendarColor::TitleText]);
    DrawCentered(painter, title, FTitleTexts[block]);
    if (block == 0)
        PaintArrow(painter, FLayout.PrevButtonRect(), true, colors[TMonthCalendarColor::TitleText]);
    if (block == FLayout.Columns() - 1)
        PaintArrow(painter, FLayout.NextButtonRect(), false, colors[TMonthCalendarColor::TitleText]);
}

void TMonthCalendar::PaintWeekNumbers(QPainter &painter, int block, const TColors &colors) const
{
    for (int row = 0; row < TMonthCalendarLayout::WeekRows; ++row) {
        const int week = FLayout.WeekNumber(block, row);
        if (week > 0)
            FWeekStamps.Draw(painter, FLayout.WeekNumberRect(block, row).topLeft(), week - 1);
    }
    // The rule beside the numbers meets the rule under the weekday names.
    const QRect header = FLayout.HeaderRect(block);
    const QRect last = FLayout.WeekNumberRect(block, TMonthCalendarLayout::WeekRows - 1);
    const int x = (last.right() + header.left()) / 2 + 1;
    const int top = header.bottom() + 1;
    painter.fillRect(QRect(x, top, header.left() - x, 1), colors[TMonthCalendarColor::TitleBackground]);
    painter.fillRect(QRect(x, top, 1, last.bottom() - top + 1), colors[TMonthCalendarColor::TitleBackground]);
}

// Days that follow each other in a row lie side by side in their stamp strip as on screen, so one
// copy draws a run of them. A run ends at the selected day and at today, whose circle is drawn
// before the days to its right, as cell by cell.
void TMonthCalendar::PaintDays(QPainter &painter, int block, const TColors &colors) const
{
    struct TRun {
        const TMonthCalendarStamps *Stamps = nullptr;
        QPoint TopLeft;
        int FirstDay = 0;
        int Count = 0;
    } run;
    const auto flush = [&painter, &run] {
        if (run.Count > 0)
            run.Stamps->Draw(painter, run.TopLeft, run.FirstDay - 1, run.Count);
        run.Count = 0;
    };
    for (int row = 0; row < TMonthCalendarLayout::WeekRows; ++row) {
        for (int column = 0; column < TMonthCalendarLayout::DaysPerWeek; ++column) {
            const TCalendarCell cell = FLayout.Cell(block, row, column);
            if (cell.Kind == TCalendarCellKind::Blank) {
                flush();
                continue;
            }
            const QRect rect = FLayout.CellRect(block, row, column);
            const TMonthCalendarStamps *stamps =
                cell.Kind == TCalendarCellKind::Day ? &FDayStamps : &FTrailingStamps;
            if (cell.Date == FDate) {
                flush();
                PaintSelected(painter, rect, cell.Day, colors);
            } else if (run.Count > 0 && run.Stamps == stamps && cell.Day == run.FirstDay + run.Count &&
                       rect.left() == run.TopLeft.x() + run.Count * rect.width() && stamps->Joinable()) {
                ++run.Count;
            } else {
                flush();
                run = {stamps, rect.topLeft(), cell.Day, 1};
            }
            if (FTodayCircle && cell.Date == FTodayShown) {
                flush();
                PaintCircle(painter, rect, FCircleColor);
            }
        }
        flush();
    }
}

void TMonthCalendar::PaintSelected(QPainter &painter, const QRect &rect, int day, const TColors &colors) const
{
    painter.fillRect(rect, colors[TMonthCalendarColor::TitleBackground]);
    painter.setFont(font());
    painter.setPen(colors[TMonthCalendarColor::TitleText]);
    DrawCentered(painter, rect, NumberText(day));
    if (hasFocus())
        PaintFocus(painter, rect, colors[TMonthCalendarColor::TitleText]);
}

void TMonthCalendar::PaintToday(QPainter &painter, const TColors &colors) const
{
    QRect rect = FLayout.TodayRect();
    if (FTodayCircle) {
        const int sample = TodaySampleWidth();
        PaintCircle(painter, QRect(rect.left(), rect.top(), sample - 2 * FLayout.CellPadding(), rect.height()),
                    FCircleColor);
        rect.setLeft(rect.left() + sample);
    }
    painter.setFont(FTitleFont);
    painter.setPen(colors[TMonthCalendarColor::Text]);
    const QSizeF size = FTodayStatic.size();
    painter.drawStaticText(QPoint(rect.left(), rect.top() + (rect.height() - qRound(size.height())) / 2),
                           FTodayStatic);
}

void TMonthCalendar::DrawCentered(QPainter &painter, const QRect &rect, const QStaticText &text)
{
    const QSizeF size = text.size();
    const int x = rect.left() + (rect.width() - qRound(size.width())) / 2;
    const int y = rect.top() + (rect.height() - qRound(size.height())) / 2;
    painter.drawStaticText(QPoint(x, y), text);
}
