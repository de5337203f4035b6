#include "components/MonthCalendarAccessible.h"
#include "components/MonthCalendar.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

struct TRecorded {
    QAccessible::Event Type;
    QString Name;
    QString Value;
    QAccessible::Id Id;
    bool Selected;
};
std::vector<TRecorded> recorded;

void Record(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    recorded.push_back({event->type(), iface ? iface->text(QAccessible::Name) : QString(),
                        iface ? iface->text(QAccessible::Value) : QString(), iface ? QAccessible::uniqueId(iface) : 0,
                        iface && iface->state().selected});
}

QFont DefaultFont()
{
    QFont font("Liberation Sans");
    font.setPointSize(9);
    return font;
}

class MonthCalendarAccessibleTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetMonthCalendarEventListener(Record);
        calendar = std::make_unique<TMonthCalendar>();
        calendar->setFont(DefaultFont());
        SetLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
        recorded.clear();
    }
    void TearDown() override
    {
        calendar.reset();
        SetMonthCalendarEventListener(nullptr);
    }

    void SetLocale(const QLocale &locale)
    {
        calendar->setLocale(locale);
        const bool dutch = locale.language() == QLocale::Dutch;
        calendar->setAccessibleName(dutch ? "Maandkalender" : "");
        calendar->SetAccessibleTexts(dutch ? TMonthCalendarTexts{"week", "vandaag", "andere maand", "Vorige maanden",
                                                                 "Volgende maanden"}
                                           : TMonthCalendarTexts{});
    }

    void ShowMonths(int columns)
    {
        const QSize one = calendar->sizeHint();
        calendar->resize(one.width() + (columns - 1) * calendar->Layout().MonthSize().width() * 11 / 10,
                         one.height());
        calendar->show();
        ASSERT_EQ(calendar->VisibleMonthCount(), columns);
    }

    QAccessibleInterface *Root() const { return QAccessible::queryAccessibleInterface(calendar.get()); }
    QAccessibleInterface *Month(int block) const { return Root()->child(2 + block); }

    static std::vector<QString> Names(QAccessibleInterface *parent, int first, int count)
    {
        std::vector<QString> names;
        for (int i = first; i < first + count; ++i)
            names.push_back(parent->child(i)->text(QAccessible::Name));
        return names;
    }

    // The shown day cells of a month, by name.
    static QStringList ShownDays(QAccessibleInterface *month)
    {
        QStringList days;
        for (int i = 0; i < month->childCount(); ++i) {
            QAccessibleInterface *cell = month->child(i);
            if (cell->role() == QAccessible::Cell && !cell->state().invisible)
                days << cell->text(QAccessible::Name);
        }
        return days;
    }

    testsupport::TScopedClock clock{MakeDate(2026, 12, 8)};
    std::unique_ptr<TMonthCalendar> calendar;
};

} // namespace

TEST_F(MonthCalendarAccessibleTest, TheTreeReadsEachMonthAsATableOfNamedDays)
{
    struct Case {
        QLocale Locale;
        bool Weeks;
        std::vector<QString> Months;
        std::vector<int> ShownDays; // per month, trailing days included
        std::vector<QString> Headers;
        QString FirstDay;         // the first shown day of the first month
        QString Selected;         // 15 December 2026
        QString Today;            // 8 December 2026
        QString FirstRowHeader;   // of the first month, empty without week numbers
        QString Name;
    };
    const Case cases[] = {
        {QLocale(QLocale::Dutch, QLocale::Netherlands),
         true,
         {"december 2026", "januari 2027"},
         {32, 38},
         {"week", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag", "zondag"},
         "maandag 30 november 2026, week 49",
         "dinsdag 15 december 2026, week 51",
         "dinsdag 8 december 2026, week 50, vandaag",
         "week 49",
         "Maandkalender"},
        {QLocale(QLocale::English, QLocale::UnitedStates),
         false,
         {"December 2026", "January 2027"},
         {33, 37},
         {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
         "Sunday, November 29, 2026, week 48",
         "Tuesday, December 15, 2026, week 51",
         "Tuesday, December 8, 2026, week 50, today",
         "",
         "Month calendar"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Locale.name().toStdString());
        SetLocale(c.Locale);
        calendar->SetWeekNumbers(c.Weeks);
        ShowMonths(2);
        calendar->SetDate(MakeDate(2026, 12, 15));
        calendar->SetDate(MakeDate(2027, 1, 1)); // December first, January second
        calendar->SetDate(MakeDate(2026, 12, 15));

        QAccessibleInterface *root = Root();
        EXPECT_EQ(root->text(QAccessible::Name), c.Name);
        EXPECT_EQ(root->text(QAccessible::Value), c.Selected.section(", week", 0, 0));
        ASSERT_EQ(root->childCount(), 5); // two arrows, two months, the today line
        EXPECT_EQ(root->child(0)->role(), QAccessible::Button);
        EXPECT_EQ(root->child(4)->text(QAccessible::Name), calendar->TodayText());

        const int columns = static_cast<int>(c.Headers.size());
        for (int block = 0; block < 2; ++block) {
            QAccessibleInterface *month = Month(block);
            ASSERT_EQ(month->role(), QAccessible::Table);
            EXPECT_EQ(month->text(QAccessible::Name), c.Months[block]);
            EXPECT_EQ(month->tableInterface()->columnCount(), columns);
            EXPECT_EQ(month->tableInterface()->rowCount(), 6);
            EXPECT_EQ(Names(month, 0, columns), c.Headers);
            EXPECT_EQ(static_cast<int>(ShownDays(month).size()), c.ShownDays[block]);
        }
        QAccessibleInterface *first = Month(0);
        const QStringList days = ShownDays(first);
        EXPECT_EQ(days.first(), c.FirstDay);
        EXPECT_TRUE(days.contains(c.Today));
        QAccessibleInterface *cell = first->tableInterface()->cellAt(0, columns - 7);
        EXPECT_EQ(cell->text(QAccessible::Description), calendar->AccessibleTexts().OtherMonth); // November
        EXPECT_EQ(first->tableInterface()->cellAt(2, columns - 1)->text(QAccessible::Description), "");
        EXPECT_EQ(first->tableInterface()->rowDescription(0), c.FirstRowHeader);

        const QList<QAccessibleInterface *> selected = first->tableInterface()->selectedCells();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected[0]->text(QAccessible::Name), c.Selected);
        EXPECT_TRUE(selected[0]->state().selected);
        EXPECT_EQ(selected[0]->tableCellInterface()->columnHeaderCells()[0]->text(QAccessible::Name),
                  c.Headers[selected[0]->tableCellInterface()->columnIndex()]);
        EXPECT_EQ(Month(1)->tableInterface()->selectedCellCount(), 0);
    }
}

TEST_F(MonthCalendarAccessibleTest, KeyboardMovesAnnounceTheNewDay)
{
    ShowMonths(2);
    calendar->SetDate(MakeDate(2027, 1, 1)); // December first, January second
    calendar->SetDate(MakeDate(2026, 12, 15));
    QApplication::setActiveWindow(calendar.get());
    calendar->setFocus();
    ASSERT_TRUE(calendar->hasFocus());
    EXPECT_EQ(Root()->focusChild()->text(QAccessible::Name), "dinsdag 15 december 2026, week 51");
    EXPECT_FALSE(Root()->state().focused); // the day holds the focus, not the calendar around it
    QAccessibleInterface *january = Month(1);

    struct Case {
        int Key;
        std::vector<QString> Gone; // months that leave the view, then those that come
        std::vector<QString> Come;
        QString Day;
    };
    const Case cases[] = {
        {Qt::Key_Right, {}, {}, "woensdag 16 december 2026, week 51"},
        {Qt::Key_Down, {}, {}, "woensdag 23 december 2026, week 52"},
        {Qt::Key_PageDown, {}, {}, "zaterdag 23 januari 2027, week 3"},
        {Qt::Key_PageDown, {"december 2026"}, {"februari 2027"}, "dinsdag 23 februari 2027, week 8"},
        {Qt::Key_Home, {}, {}, "maandag 1 februari 2027, week 5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Day.toStdString());
        recorded.clear();
        QTest::keyClick(calendar.get(), static_cast<Qt::Key>(c.Key));
        std::vector<std::pair<QAccessible::Event, QString>> months;
        std::vector<QAccessible::Event> types;
        for (const TRecorded &event : recorded) {
            EXPECT_NE(QAccessible::accessibleInterface(event.Id), nullptr) << "an event names a destroyed object";
            if (event.Type == QAccessible::ObjectCreated || event.Type == QAccessible::ObjectDestroyed)
                months.emplace_back(event.Type, event.Name);
            else
                types.push_back(event.Type);
        }
        std::vector<std::pair<QAccessible::Event, QString>> expectedMonths;
        for (const QString &name : c.Gone)
            expectedMonths.emplace_back(QAccessible::ObjectDestroyed, name);
        for (const QString &name : c.Come)
            expectedMonths.emplace_back(QAccessible::ObjectCreated, name);
        EXPECT_EQ(months, expectedMonths);
        const std::vector<QAccessible::Event> expected{QAccessible::SelectionRemove, QAccessible::Focus,
                                                       QAccessible::Selection, QAccessible::TextUpdated};
        ASSERT_EQ(types, expected);
        const TRecorded *events = &recorded[months.size()];
        EXPECT_FALSE(events[0].Selected); // the old day
        EXPECT_EQ(events[1].Name, c.Day);
        EXPECT_TRUE(events[2].Selected);
        EXPECT_EQ(events[3].Value, c.Day.section(", week", 0, 0));
        EXPECT_EQ(Root()->focusChild()->text(QAccessible::Name), c.Day);
    }
    EXPECT_EQ(Month(0), january); // a month that stays in view stays the same object
}

TEST_F(MonthCalendarAccessibleTest, TextsAndArrowsFollowTheProgram)
{
    ShowMonths(1);
    calendar->SetDate(MakeDate(2026, 12, 15));
    EXPECT_EQ(Root()->child(0)->text(QAccessible::Name), "Vorige maanden");

    recorded.clear();
    SetLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    // Every child is made anew: the arrows, the month and the today line.
    EXPECT_GE(std::count_if(recorded.begin(), recorded.end(),
                            [](const TRecorded &event) { return event.Type == QAccessible::ObjectCreated; }),
              4);
    EXPECT_EQ(Root()->child(1)->text(QAccessible::Name), "Next months");
    EXPECT_EQ(Month(0)->text(QAccessible::Name), "December 2026");

    Root()->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Month(0)->text(QAccessible::Name), "January 2027");
    EXPECT_EQ(calendar->Date(), MakeDate(2026, 12, 15)); // scrolling keeps the selection
}
