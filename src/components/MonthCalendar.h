#pragma once
// The multi-month calendar control: as many whole months as fit, one selected day, week
// numbers and a circle around today on request, a today line, and six colour roles.
// Day and month names and the first day of the week come from the widget's locale.

#include "components/MonthCalendarLayout.h"
#include "components/MonthCalendarStamps.h"

#include <QColor>
#include <QFont>
#include <QMenu>
#include <QPointer>
#include <QStaticText>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QAccessibleEvent;
class QAccessibleInterface;
class QFontMetrics;

// What assistive technology hears beyond the dates: English until the program gives its language.
struct TMonthCalendarTexts {
    QString Week = QStringLiteral("week");             // before a week number, and the week column's header
    QString Today = QStringLiteral("today");           // after the name of today's date
    QString OtherMonth = QStringLiteral("other month"); // describes the days of neighbouring months
    QString Previous = QStringLiteral("Previous months");
    QString Next = QStringLiteral("Next months");
    friend bool operator==(const TMonthCalendarTexts &, const TMonthCalendarTexts &) = default;
};

// Colour roles, numbered as the program stores them.
enum class TMonthCalendarColor {
    Background = 0,      // around the month grids
    Text = 1,            // days of the shown months
    TitleBackground = 2, // title bands, weekday names, the selected day
    TitleText = 3,       // titles, arrows, the selected day's number
    MonthBackground = 4, // behind each month
    TrailingText = 5,    // days of neighbouring months
};

class TMonthCalendar : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColorRoleCount = 6;

    explicit TMonthCalendar(QWidget *parent = nullptr);

    // The selected day (whole days). Setting it shows its month: the view stays when the
    // month is visible, else scrolls just far enough that it becomes the last visible month
    // (a later date) or the first (an earlier one). Out-of-range dates are clamped.
    TDateTime Date() const { return FDate; }
    void SetDate(TDateTime date);

    // An invalid colour returns the role to its default, taken from the palette.
    void SetColor(TMonthCalendarColor role, const QColor &color);
    QColor Color(TMonthCalendarColor role) const;

    void SetWeekNumbers(bool on);
    bool WeekNumbers() const { return FWeekNumbers; }
    void SetTodayCircle(bool on);
    bool TodayCircle() const { return FTodayCircle; }
    void SetShowToday(bool on);
    bool ShowToday() const { return FShowToday; }
    // The words before the date on the today line ("Today:" by default).
    void SetTodayLabel(const QString &label);
    QString TodayLabel() const { return FTodayLabel; }
    QString TodayText() const { return FTodayText; } // the whole line as shown

    // The words of the accessible interface beyond the dates. Its name is the widget's
    // accessibleName, "Month calendar" while none is set.
    void SetAccessibleTexts(const TMonthCalendarTexts &texts);
    const TMonthCalendarTexts &AccessibleTexts() const { return FAccessibleTexts; }

    // Shown on right click and with the context-menu key; the control does not own it.
    void SetPopupMenu(QMenu *menu) { FPopupMenu = menu; }
    QMenu *PopupMenu() const { return FPopupMenu; }

    int VisibleMonthCount() const { return Layout().MonthCount(); }
    TYearMonth FirstVisibleMonth() const { return Layout().FirstMonth(); }
    // The geometry as shown, for callers that need to know where a day stands.
    const TMonthCalendarLayout &Layout() const;

    QSize sizeHint() const override;        // one month with the today line
    QSize minimumSizeHint() const override; // the same: less clips the month

    // Scrolls by whole months; the selected day stays.
    void ScrollView(int months);

signals:
    void OnClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // One colour per role.
    struct TColors {
        std::array<QColor, ColorRoleCount> Of;
        QColor &operator[](TMonthCalendarColor role) { return Of[static_cast<int>(role)]; }
        const QColor &operator[](TMonthCalendarColor role) const { return Of[static_cast<int>(role)]; }
    };

    void FontsChanged();
    void EnsureMeasured() const;
    void MeasureToday() const;
    void UpdateToday();
    void SyncSize() const;
    template <class Change> void Relayout(Change change) const;
    void MeasureHeader(const QFontMetrics &metrics) const;
    void PrepareTexts();
    void RebuildTitles();
    const QStaticText &NumberText(int number) const;
    int TodaySampleWidth() const;
    void MoveSelection(TDateTime date);
    std::optional<TDateTime> KeyTarget(const QKeyEvent *event) const;
    TColors ResolvedColors() const;

    void PaintBlock(QPainter &painter, int block, const TColors &colors) const;
    void PaintTitle(QPainter &painter, int block, const TColors &colors) const;
    void PaintWeekNumbers(QPainter &painter, int block, const TColors &colors) const;
    void MakeStamps(const TColors &colors, qreal ratio);
    void PaintDays(QPainter &painter, int block, const TColors &colors) const;
    void PaintSelected(QPainter &painter, const QRect &rect, int day, const TColors &colors) const;
    void PaintToday(QPainter &painter, const TColors &colors) const;
    static void DrawCentered(QPainter &painter, const QRect &rect, const QStaticText &text);

    // Follows the widget's size at once, also while hidden (resize events wait for show).
    mutable TMonthCalendarLayout FLayout;
    mutable bool FTitlesDirty = true;
    TDateTime FDate = 0;
    TColors FColors; // invalid: the palette's default
    bool FWeekNumbers = false;
    bool FTodayCircle = false;
    bool FShowToday = true;
    QString FTodayLabel;
    QString FTodayText;
    TMonthCalendarTexts FAccessibleTexts;
    TDateTime FTodayShown = 0;
    QPointer<QMenu> FPopupMenu; // forgets a menu that is destroyed first
    int FWheelRest = 0;

    // Text sizes, measured when first needed after a change of font or locale, so that
    // settings applied in a row before the first paint cost one measuring.
    mutable bool FMeasured = false;
    mutable TMonthCalendarFontNumbers FNumbers;
    mutable QFont FTitleFont;
    mutable std::array<QString, 7> FHeaderNames;

    // Text kept ready so painting only places it; prepared at the first paint that needs it.
    bool FTextsDirty = true;
    mutable std::array<QStaticText, 54> FNumberTexts; // 1..53: days and weeks; empty until first drawn
    std::array<QStaticText, 7> FHeaderTexts;
    TMonthCalendarStamps FDayStamps;
    TMonthCalendarStamps FTrailingStamps;
    TMonthCalendarStamps FWeekStamps;
    TMonthCalendarStamps FHeaderStamp;
    bool FStampsDirty = true;
    QColor FCircleColor; // made with the stamps
    qreal FStampRatio = 0;
    std::vector<QStaticText> FTitleTexts; // one per shown month
    QStaticText FTodayStatic;
};

// What assistive technology reads of the calendar (MonthCalendarAccessible.cpp): each shown month
// as a table of weeks and weekdays with header cells, every day by its full date and ISO week, the
// arrows and the today line as buttons; and the events that let a screen reader speak a newly
// selected day.
QAccessibleInterface *NewMonthCalendarAccessible(TMonthCalendar *calendar);

// Tells assistive technology what changed since it last looked: the months shown (those that
// come and go; those that stay keep their parts) or the selected day (focus, selection and
// value). With `focusIn` the selected day is announced as the focus. Costs nothing while no
// assistive technology listens.
void MonthCalendarAccessibilityUpdate(TMonthCalendar *calendar, bool focusIn = false);

// Qt's focus announcement of a calendar widget that announces its selected day instead: dropped,
// so a reader hears one focus on entering the calendar, not the day and then the calendar.
bool IsMonthCalendarFocus(QAccessibleEvent *event);
