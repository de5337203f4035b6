#include "components/MonthCalendar.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <map>
#include <memory>

void PrintTo(const TYearMonth &month, std::ostream *out)
{
    *out << month.Year << "-" << month.Month;
}

namespace {

TDateTime D(int y, int m, int d)
{
    return MakeDate(y, m, d);
}

const TDateTime Sunday15March2026 = MakeDate(2026, 3, 15);

QFont DefaultFont()
{
    QFont font("Liberation Sans");
    font.setPointSize(9);
    return font;
}

class MonthCalendarTest : public testing::Test {
protected:
    void SetUp() override
    {
        calendar = std::make_unique<TMonthCalendar>();
        calendar->setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands)); // weeks start on Monday
        calendar->setFont(DefaultFont());
    }

    // Room for `columns` x `rows` months and less than one more each way.
    void ShowMonths(int columns, int rows = 1)
    {
        const QSize one = calendar->sizeHint();
        const QSize month = calendar->Layout().MonthSize();
        calendar->resize(one.width() + (columns - 1) * month.width() * 11 / 10,
                         one.height() + (rows - 1) * month.height() * 11 / 10);
        calendar->show();
        ASSERT_EQ(calendar->VisibleMonthCount(), columns * rows);
    }

    QPoint CellOf(TDateTime date) const
    {
        const auto pos = calendar->Layout().FindDate(date);
        EXPECT_TRUE(pos.has_value()) << "date not shown: " << date;
        return pos ? calendar->Layout().CellRect(pos->Block, pos->Row, pos->Column).center() : QPoint();
    }

    void Click(QPoint point, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(calendar.get(), button, Qt::NoModifier, point);
    }

    void Wheel(int delta)
    {
        const QPointF at(calendar->width() / 2.0, calendar->height() / 2.0);
        QWheelEvent event(at, calendar->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(calendar.get(), &event);
    }

    testsupport::TScopedClock clock{Sunday15March2026};
    std::unique_ptr<TMonthCalendar> calendar;
};

} // namespace

TEST_F(MonthCalendarTest, StartsOnTenAugust2002)
{
    EXPECT_EQ(calendar->Date(), D(2002, 8, 10));
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2002, 8}));
    EXPECT_FALSE(calendar->WeekNumbers());
    EXPECT_FALSE(calendar->TodayCircle());
    EXPECT_TRUE(calendar->ShowToday());
}

TEST_F(MonthCalendarTest, OneMonthFitsTheDefaultWindowAtDefaultSettings)
{
    // The main window's default client area less a 30-pixel toolbar and the status bar.
    const QSize room(204, 223 - 30 - 20);
    EXPECT_LE(calendar->sizeHint().width(), room.width());
    EXPECT_LE(calendar->sizeHint().height(), room.height());
    calendar->resize(room);
    calendar->show();
    QApplication::setActiveWindow(calendar.get());
    calendar->setFocus();
    EXPECT_EQ(calendar->VisibleMonthCount(), 1);
    testsupport::SaveScreenshot(calendar.get(), "MonthCalendar_default");

    calendar->SetWeekNumbers(true);
    EXPECT_LE(calendar->sizeHint().width(), room.width());
    EXPECT_EQ(calendar->VisibleMonthCount(), 1);
    testsupport::SaveScreenshot(calendar.get(), "MonthCalendar_default_weeks");
}

TEST_F(MonthCalendarTest, TheLocaleChoosesTheFirstDayOfWeekAndTheTodayText)
{
    calendar->SetTodayLabel("Vandaag:");
    EXPECT_EQ(calendar->Layout().FirstDayOfWeek(), 1);
    EXPECT_EQ(calendar->TodayText(), "Vandaag: 15-03-2026");

    calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    calendar->SetTodayLabel("Today:");
    EXPECT_EQ(calendar->Layout().FirstDayOfWeek(), 7);
    EXPECT_EQ(calendar->TodayText(), "Today: 3/15/26");
}

TEST_F(MonthCalendarTest, SetDateFollowsTheScrollingRule)
{
    ShowMonths(3);
    calendar->SetDate(D(2026, 3, 15)); // forward from 2002: March becomes the last month
    ASSERT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 1}));
    struct Case {
        TDateTime date;
        TYearMonth first;
    };
    const Case cases[] = {
        {D(2026, 1, 1), {2026, 1}},    // visible: stays
        {D(2026, 3, 31), {2026, 1}},   // visible: stays
        {D(2026, 4, 1), {2026, 2}},    // just after: April becomes the last month
        {D(2026, 6, 20), {2026, 4}},   // after: June becomes the last month
        {D(2026, 5, 2), {2026, 4}},    // visible again
        {D(2026, 3, 31), {2026, 3}},   // before: March becomes the first month
        {D(2031, 12, 24), {2031, 10}}, // far after
        {D(1999, 1, 1), {1999, 1}},    // far before
    };
    for (const Case &c : cases) {
        calendar->SetDate(c.date);
        EXPECT_EQ(calendar->Date(), c.date);
        EXPECT_EQ(calendar->FirstVisibleMonth(), c.first) << c.date;
    }
}

TEST_F(MonthCalendarTest, PositioningShowsTodaysMonthFirstOrLast)
{
    ShowMonths(3);
    const TDateTime today = Today();

    // Today's month first: from a year ahead back to today.
    calendar->SetDate(AddMonths(today, 12));
    calendar->SetDate(today);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 3})); // March, April, May
    EXPECT_EQ(calendar->Date(), today);

    // Today's month last: from 256 days back forward to today.
    calendar->SetDate(D(2002, 8, 10));
    calendar->SetDate(AddDays(today, -256));
    calendar->SetDate(today);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 1})); // January, February, March
    EXPECT_EQ(calendar->Date(), today);
}

TEST_F(MonthCalendarTest, ShrinkingKeepsTheSelectedMonthInView)
{
    ShowMonths(4);
    calendar->SetDate(D(2026, 1, 1));
    calendar->SetDate(D(2026, 4, 30)); // January .. April, April selected
    calendar->resize(calendar->sizeHint());
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 4}));
    QFont big = DefaultFont();
    big.setPointSize(20);
    calendar->setFont(big);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 4}));

    // A selection scrolled out of view does not pull the view back.
    calendar->setFont(DefaultFont());
    Wheel(-120 * 12);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2027, 4}));
    calendar->resize(calendar->size() + QSize(1, 1));
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2027, 4}));
}

TEST_F(MonthCalendarTest, SetDateClampsToTheRangeAndIgnoresNonsense)
{
    struct Case {
        TDateTime date;
        TDateTime expected;
    };
    const Case cases[] = {
        {D(2026, 3, 15) + 0.9, D(2026, 3, 15)},
        {MaxDateSerial + 1, MaxDateSerial},
        {1e300, MaxDateSerial},
        {MinDateSerial - 1, MinDateSerial},
        {-1e300, MinDateSerial},
        {std::numeric_limits<double>::quiet_NaN(), MinDateSerial}, // ignored: stays
        {std::numeric_limits<double>::infinity(), MinDateSerial},
    };
    for (const Case &c : cases) {
        calendar->SetDate(c.date);
        EXPECT_EQ(calendar->Date(), c.expected) << c.date;
    }
}

TEST_F(MonthCalendarTest, ClickingADaySelectsItAndRaisesTheClick)
{
    ShowMonths(1);
    calendar->SetDate(D(2026, 3, 15));
    QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);
    Click(CellOf(D(2026, 3, 20)));
    EXPECT_EQ(calendar->Date(), D(2026, 3, 20));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 3}));
}

TEST_F(MonthCalendarTest, ClickingATrailingDaySelectsItAndScrolls)
{
    ShowMonths(1);
    calendar->SetDate(D(2026, 3, 15));
    QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);

    Click(CellOf(D(2026, 2, 23))); // the first cell, before March
    EXPECT_EQ(calendar->Date(), D(2026, 2, 23));
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 2}));

    Click(CellOf(D(2026, 3, 8))); // after February
    EXPECT_EQ(calendar->Date(), D(2026, 3, 8));
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 3}));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(MonthCalendarTest, ClickingOutsideTheDaysChangesNothing)
{
    ShowMonths(3);
    calendar->SetDate(D(2026, 4, 15));
    const TMonthCalendarLayout &layout = calendar->Layout();
    QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);
    Click(layout.CellRect(1, 0, 0).center()); // 30 March, between two shown months
    Click(layout.TitleRect(1).center());
    Click(layout.HeaderRect(1).center());
    Click(CellOf(D(2026, 4, 20)), Qt::RightButton);
    EXPECT_EQ(calendar->Date(), D(2026, 4, 15));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MonthCalendarTest, TheTodayLineSelectsToday)
{
    ShowMonths(2);
    QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);
    Click(calendar->Layout().TodayRect().center());
    EXPECT_EQ(calendar->Date(), Sunday15March2026);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 2})); // March became the last month
    EXPECT_EQ(clicks.count(), 1);

    calendar->SetShowToday(false);
    EXPECT_TRUE(calendar->Layout().TodayRect().isEmpty());
}

TEST_F(MonthCalendarTest, ArrowButtonsScrollByTheVisibleMonths)
{
    ShowMonths(3);
    calendar->SetDate(D(2026, 3, 15)); // forward from 2002: January .. March 2026
    ASSERT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 1}));
    QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);

    Click(calendar->Layout().NextButtonRect().center());
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 4}));
    Click(calendar->Layout().PrevButtonRect().center());
    Click(calendar->Layout().PrevButtonRect().center());
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2025, 10}));
    EXPECT_EQ(calendar->Date(), D(2026, 3, 15)); // the selection stays
    EXPECT_EQ(clicks.count(), 0);

    calendar->SetDate(MinDateSerial);
    Click(calendar->Layout().PrevButtonRect().center());
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{1, 1}));
    calendar->SetDate(MaxDateSerial);
    Click(calendar->Layout().NextButtonRect().center());
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{9999, 10}));
}

TEST_F(MonthCalendarTest, TheWheelScrollsOneMonthPerNotch)
{
    ShowMonths(1);
    calendar->SetDate(D(2026, 3, 15));
    Wheel(-120);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 4}));
    Wheel(120);
    Wheel(120);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 2}));
    Wheel(60); // half a notch waits for the other half
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 2}));
    Wheel(60);
    EXPECT_EQ(calendar->FirstVisibleMonth(), (TYearMonth{2026, 1}));
    EXPECT_EQ(calendar->Date(), D(2026, 3, 15));
}

TEST_F(MonthCalendarTest, KeysMoveTheSelection)
{
    ShowMonths(1);
    struct Case {
        TDateTime from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TDateTime to;
    };
    const Case cases[] = {
        {D(2026, 3, 15), Qt::Key_Left, Qt::NoModifier, D(2026, 3, 14)},
        {D(2026, 3, 15), Qt::Key_Right, Qt::NoModifier, D(2026, 3, 16)},
        {D(2026, 3, 15), Qt::Key_Up, Qt::NoModifier, D(2026, 3, 8)},
        {D(2026, 3, 15), Qt::Key_Down, Qt::NoModifier, D(2026, 3, 22)},
        {D(2026, 3, 1), Qt::Key_Left, Qt::NoModifier, D(2026, 2, 28)},
        {D(2026, 3, 31), Qt::Key_PageDown, Qt::NoModifier, D(2026, 4, 30)},
        {D(2026, 3, 31), Qt::Key_PageUp, Qt::NoModifier, D(2026, 2, 28)},
        {D(2024, 2, 29), Qt::Key_PageDown, Qt::ControlModifier, D(2025, 2, 28)},
        {D(2026, 3, 15), Qt::Key_PageUp, Qt::ControlModifier, D(2025, 3, 15)},
        {D(2026, 3, 15), Qt::Key_Home, Qt::NoModifier, D(2026, 3, 1)},
        {D(2026, 2, 15), Qt::Key_End, Qt::NoModifier, D(2026, 2, 28)},
        // The ends of the range hold.
        {MinDateSerial, Qt::Key_Left, Qt::NoModifier, MinDateSerial},
        {D(1, 1, 5), Qt::Key_Up, Qt::NoModifier, MinDateSerial},
        {D(1, 1, 15), Qt::Key_PageUp, Qt::NoModifier, MinDateSerial},
        {D(1, 6, 15), Qt::Key_PageUp, Qt::ControlModifier, MinDateSerial},
        {MaxDateSerial, Qt::Key_Right, Qt::NoModifier, MaxDateSerial},
        {D(9999, 12, 28), Qt::Key_Down, Qt::NoModifier, MaxDateSerial},
        {D(9999, 12, 1), Qt::Key_PageDown, Qt::NoModifier, MaxDateSerial},
        {D(9999, 6, 1), Qt::Key_PageDown, Qt::ControlModifier, MaxDateSerial},
    };
    for (const Case &c : cases) {
        calendar->SetDate(c.from);
        QSignalSpy clicks(calendar.get(), &TMonthCalendar::OnClick);
        QTest::keyClick(calendar.get(), c.key, c.modifiers);
        EXPECT_EQ(calendar->Date(), c.to) << c.from << " key " << c.key;
        EXPECT_EQ(clicks.count(), c.to == c.from ? 0 : 1) << c.from << " key " << c.key;
        EXPECT_TRUE(calendar->Layout().FindDate(c.to).has_value()) << "selection not shown";
    }
}

TEST_F(MonthCalendarTest, ColourRolesDefaultToThePaletteAndReset)
{
    const QPalette &palette = calendar->palette();
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::Background), palette.color(QPalette::Base));
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::Text), palette.color(QPalette::Text));
    calendar->SetColor(TMonthCalendarColor::Text, Qt::red);
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::Text), QColor(Qt::red));
    calendar->SetColor(TMonthCalendarColor::Text, QColor());
    EXPECT_EQ(calendar->Color(TMonthCalendarColor::Text), palette.color(QPalette::Text));
}

namespace {

// The pixel of the area closest to the colour, by the sum of channel differences.
int Distance(const QImage &image, const QRect &area, const QColor &color)
{
    int best = 3 * 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            best = std::min(best, std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                                      std::abs(c.blue() - color.blue()));
        }
    }
    return best;
}

} // namespace

TEST_F(MonthCalendarTest, ColourRolesShowInThePicture)
{
    using enum TMonthCalendarColor;
    const std::map<TMonthCalendarColor, QColor> colors = {
        {Background, QColor(250, 240, 200)},      {Text, QColor(200, 0, 0)},
        {TitleBackground, QColor(0, 90, 0)},      {TitleText, QColor(255, 255, 0)},
        {MonthBackground, QColor(220, 235, 255)}, {TrailingText, QColor(0, 0, 230)}};
    for (const auto &[role, colour] : colors)
        calendar->SetColor(role, colour);
    ShowMonths(2);
    calendar->resize(calendar->size() + QSize(40, 40)); // room around the months
    calendar->SetDate(D(2026, 3, 18));
    const QImage image = calendar->grab().toImage();
    const TMonthCalendarLayout &layout = calendar->Layout();
    const auto cell = [&](TDateTime date) {
        const auto pos = layout.FindDate(date);
        return layout.CellRect(pos->Block, pos->Row, pos->Column);
    };

    EXPECT_EQ(image.pixelColor(1, 1), colors.at(Background));
    EXPECT_EQ(image.pixelColor(layout.BlockRect(0).bottomLeft() + QPoint(1, -1)), colors.at(MonthBackground));
    EXPECT_EQ(image.pixelColor(layout.TitleRect(1).topLeft() + QPoint(1, 1)), colors.at(TitleBackground));
    EXPECT_EQ(Distance(image, layout.NextButtonRect(), colors.at(TitleText)), 0); // the arrow
    EXPECT_LT(Distance(image, layout.TitleRect(1), colors.at(TitleText)), 60);    // the title
    EXPECT_LT(Distance(image, cell(D(2026, 2, 12)), colors.at(Text)), 60);
    EXPECT_GT(Distance(image, cell(D(2026, 2, 12)), colors.at(TrailingText)), 60);
    EXPECT_LT(Distance(image, cell(D(2026, 1, 26)), colors.at(TrailingText)), 60); // before February
    // The selected day: title colours.
    const QRect selected = cell(D(2026, 3, 18));
    EXPECT_EQ(image.pixelColor(selected.topLeft()), colors.at(TitleBackground));
    EXPECT_LT(Distance(image, selected, colors.at(TitleText)), 60);
    EXPECT_GT(Distance(image, selected, colors.at(Text)), 60);
}

TEST_F(MonthCalendarTest, TheTodayCircleIsDrawnOnlyWhenAsked)
{
    ShowMonths(1);
    calendar->SetDate(D(2026, 3, 2));
    const auto pos = calendar->Layout().FindDate(Sunday15March2026);
    ASSERT_TRUE(pos.has_value());
    const QRect today = calendar->Layout().CellRect(pos->Block, pos->Row, pos->Column);
    const QColor red(204, 32, 32);
    EXPECT_GT(Distance(calendar->grab().toImage(), today, red), 100);
    calendar->SetTodayCircle(true);
    EXPECT_LT(Distance(calendar->grab().toImage(), today, red), 60);
}

TEST_F(MonthCalendarTest, TheFontDrivesTheSize)
{
    const QSize normal = calendar->sizeHint();
    QFont big = DefaultFont();
    big.setPointSizeF(13.5);
    calendar->setFont(big);
    EXPECT_GT(calendar->sizeHint().width(), normal.width() * 13 / 10);
    EXPECT_GT(calendar->sizeHint().height(), normal.height() * 13 / 10);
    calendar->setFont(DefaultFont());
    EXPECT_EQ(calendar->sizeHint(), normal);
}

// Settings applied one after another before the first paint (as the main window does at its
// showing) give the control that was made with the last of them, to the pixel.
TEST_F(MonthCalendarTest, ChangesBeforeTheFirstPaintShowAsTheLastOfThem)
{
    const auto configure = [](TMonthCalendar &view) {
        view.SetWeekNumbers(true);
        view.SetTodayCircle(true);
        view.SetTodayLabel("Vandaag:");
        view.resize(400, 260);
    };
    QFont big = DefaultFont();
    big.setPointSize(20);
    calendar->setFont(big);
    calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    configure(*calendar);
    calendar->setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    calendar->setFont(DefaultFont());

    TMonthCalendar direct;
    direct.setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    direct.setFont(DefaultFont());
    configure(direct);
    for (TMonthCalendar *view : {calendar.get(), &direct})
        view->SetDate(D(2026, 3, 10));

    EXPECT_EQ(calendar->sizeHint(), direct.sizeHint());
    EXPECT_EQ(calendar->TodayText(), direct.TodayText());
    EXPECT_EQ(calendar->FirstVisibleMonth(), direct.FirstVisibleMonth());
    EXPECT_EQ(calendar->Layout().TodayRect(), direct.Layout().TodayRect());
    EXPECT_EQ(calendar->grab().toImage(), direct.grab().toImage());
}

// The whole today line, circle sample and text, selects today also after the font grew: its
// width follows the new font's cell padding.
TEST_F(MonthCalendarTest, TheTodayLineReachesItsLastCharacterAfterTheFontGrows)
{
    calendar->SetTodayCircle(true);
    calendar->sizeHint(); // measured with the small font first
    QFont big = DefaultFont();
    big.setPointSize(24);
    calendar->setFont(big);
    ShowMonths(1);

    QFont bold = big;
    bold.setBold(true);
    const TMonthCalendarLayout &layout = calendar->Layout();
    const int sample = QFontMetrics(big).horizontalAdvance("00") + 4 * layout.CellPadding();
    const int textEnd =
        layout.TodayRect().left() + sample + QFontMetrics(bold).horizontalAdvance(calendar->TodayText());
    Click(QPoint(textEnd - 2, layout.TodayRect().center().y()));
    EXPECT_EQ(calendar->Date(), Sunday15March2026);
}

TEST_F(MonthCalendarTest, WeekNumbersShowAndWidenTheMonth)
{
    const int without = calendar->sizeHint().width();
    calendar->SetWeekNumbers(true);
    EXPECT_TRUE(calendar->WeekNumbers());
    EXPECT_GT(calendar->sizeHint().width(), without);
    EXPECT_FALSE(calendar->Layout().WeekNumberRect(0, 0).isEmpty());
}

TEST_F(MonthCalendarTest, TheContextMenuOpensWithoutChangingTheSelection)
{
    ShowMonths(1);
    calendar->SetDate(D(2026, 3, 15));
    QMenu menu;
    menu.addAction("Item");
    calendar->SetPopupMenu(&menu);
    EXPECT_EQ(calendar->PopupMenu(), &menu);
    const QPoint at = CellOf(D(2026, 3, 20));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, calendar->mapToGlobal(at));
    QApplication::sendEvent(calendar.get(), &event);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(calendar->Date(), D(2026, 3, 15));
    menu.hide();

    calendar->SetPopupMenu(nullptr);
    QContextMenuEvent again(QContextMenuEvent::Keyboard, at, calendar->mapToGlobal(at));
    QApplication::sendEvent(calendar.get(), &again);
    EXPECT_FALSE(again.isAccepted()); // left to the parent

    auto *gone = new QMenu;
    calendar->SetPopupMenu(gone);
    delete gone;
    EXPECT_EQ(calendar->PopupMenu(), nullptr);
}

TEST_F(MonthCalendarTest, Screenshots)
{
    calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    calendar->SetWeekNumbers(true);
    calendar->SetTodayCircle(true);
    calendar->SetColor(TMonthCalendarColor::Background, QColor(0xF1, 0xF2, 0xF5));
    calendar->SetColor(TMonthCalendarColor::Text, QColor(0x20, 0x20, 0x40));
    calendar->SetColor(TMonthCalendarColor::TitleBackground, QColor(0x2E, 0x5E, 0x8E));
    calendar->SetColor(TMonthCalendarColor::TitleText, Qt::white);
    calendar->SetColor(TMonthCalendarColor::MonthBackground, QColor(0xFF, 0xFD, 0xF4));
    calendar->SetColor(TMonthCalendarColor::TrailingText, QColor(0x98, 0x98, 0xA8));
    calendar->resize(900, 560);
    calendar->show();
    calendar->SetDate(D(2026, 1, 1));
    calendar->SetDate(D(2026, 3, 18));
    EXPECT_GE(calendar->VisibleMonthCount(), 8);
    testsupport::SaveScreenshot(calendar.get(), "MonthCalendar_many");

    QFont big = DefaultFont();
    big.setPointSizeF(13.5); // 9 points at 144 dpi
    calendar->setFont(big);
    calendar->setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    calendar->resize(calendar->sizeHint().width() * 2 + 20, calendar->sizeHint().height());
    EXPECT_EQ(calendar->VisibleMonthCount(), 2);
    testsupport::SaveScreenshot(calendar.get(), "MonthCalendar_large_font");
}
