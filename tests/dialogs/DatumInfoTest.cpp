#include "dialogs/DatumInfo.h"

#include "components/kxAccessible.h"
#include "components/kxStandard.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "platform/Colors.h"
#include "platform/Locale.h"
#include "support/SettingsSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

class DatumInfoTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFormatSettings(KnownSettings());
        settings.Change([](TRecRec &rec) {
            rec.KleurAchtergrondTitel = 0x800000; // navy
            rec.KleurTitel = 0xFFFFFF;
        });
        sheet.SetLanguage(lnEnglish);
    }
    void TearDown() override { SetProgramFormatSettings(DefaultFormatSettings()); }

    // Opens the sheet as the main window does: the selected date handed over, then shown.
    void Open(TDateTime selected)
    {
        sheet.hide();
        sheet.CurrentDate = selected;
        sheet.show();
    }

    QString Text(const char *name) const { return sheet.findChild<QLabel *>(name)->text(); }

    testsupport::TScopedSettings settings;
    TForm_DatumInfo sheet{settings.Model()};
};

TEST_F(DatumInfoTest, LeapDayOf2004)
{
    Open(Date(2004, 2, 29));
    const std::pair<const char *, const char *> expected[] = {
        {"PanelDate", "29-02-2004"},
        {"ntLabelYear", "2004"},
        {"ntLabelDaysInYear", "366"},
        {"ntLabelMonthNo", "2"},
        {"ntLabelMonthname", "February"},
        {"ntLabelDaysInMonth", "29"},
        {"ntLabelWeekNo", "9"},
        {"ntLabelDay", "29"},
        {"ntLabelDayNo", "7"},
        {"ntLabelDayName", "Sunday"},
        {"ntLabelDayNoYear", "60"},
        {"LabelDaysSince", "38046"},
        {"LabelDayInMonth", "5th Sunday in month February"},
    };
    for (const auto &[name, text] : expected) {
        EXPECT_EQ(Text(name), text) << name;
    }
    EXPECT_TRUE(sheet.CheckBoxLeapYear->isChecked());
    EXPECT_EQ(sheet.DateTimePickerUntil->date(), QDate(2004, 2, 29));
}

TEST_F(DatumInfoTest, FirstOfJanuary2005IsInWeek53)
{
    Open(Date(2005, 1, 1));
    EXPECT_EQ(Text("ntLabelWeekNo"), "53");
    EXPECT_EQ(Text("ntLabelDayNoYear"), "1");
    EXPECT_EQ(Text("ntLabelDayNo"), "6");
    EXPECT_EQ(Text("ntLabelDayName"), "Saturday");
    EXPECT_EQ(Text("ntLabelDaysInYear"), "365");
    EXPECT_FALSE(sheet.CheckBoxLeapYear->isChecked());
}

TEST_F(DatumInfoTest, OccurrenceSentenceInBothLanguagesWithTheLocalesNames)
{
    struct Case {
        int day;
        const char *english;
        const char *dutch; // Dutch sentence, names still from the (English) locale
    };
    // 1 January 2003 was a Wednesday.
    const Case cases[] = {
        {1, "1st Wednesday in month January", "1e Wednesday in maand January"},
        {7, "1st Tuesday in month January", "1e Tuesday in maand January"},
        {8, "2nd Wednesday in month January", "2e Wednesday in maand January"},
        {14, "2nd Tuesday in month January", "2e Tuesday in maand January"},
        {15, "3rd Wednesday in month January", "3e Wednesday in maand January"},
        {21, "3rd Tuesday in month January", "3e Tuesday in maand January"},
        {22, "4th Wednesday in month January", "4e Wednesday in maand January"},
        {28, "4th Tuesday in month January", "4e Tuesday in maand January"},
        {29, "5th Wednesday in month January", "5e Wednesday in maand January"},
        {31, "5th Friday in month January", "5e Friday in maand January"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day);
        sheet.SetLanguage(lnEnglish);
        Open(Date(2003, 1, c.day));
        EXPECT_EQ(sheet.LabelDayInMonth->text(), c.english);
        sheet.SetLanguage(lnDutch);
        Open(Date(2003, 1, c.day));
        EXPECT_EQ(sheet.LabelDayInMonth->text(), c.dutch);
    }
    sheet.SetLanguage(LanguageOf(3)); // a French locale default: English texts
    Open(Date(2003, 6, 20));
    EXPECT_EQ(sheet.LabelDayInMonth->text(), "3rd Friday in month June");
}

TEST_F(DatumInfoTest, DutchLocaleNamesAppearInTheSentence)
{
    TFormatSettings dutch = KnownSettings();
    dutch.LongDayNames = {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"};
    dutch.LongMonthNames[5] = "juni";
    SetProgramFormatSettings(dutch);
    sheet.SetLanguage(lnDutch);
    Open(Date(2003, 6, 20));
    EXPECT_EQ(sheet.LabelDayInMonth->text(), "3e vrijdag in maand juni");
    EXPECT_EQ(Text("ntLabelDayName"), "vrijdag");
    EXPECT_EQ(Text("ntLabelMonthname"), "juni");
}

TEST_F(DatumInfoTest, TheLeapYearBoxResistsClicks)
{
    for (const TDateTime date : {Date(2004, 7, 1), Date(2003, 7, 1), Date(1900, 7, 1), Date(2000, 7, 1)}) {
        Open(date);
        const bool leap = sheet.CheckBoxLeapYear->isChecked();
        QTest::mouseClick(sheet.CheckBoxLeapYear, Qt::LeftButton);
        EXPECT_EQ(sheet.CheckBoxLeapYear->isChecked(), leap);
    }
    EXPECT_EQ(sheet.CheckBoxLeapYear->focusPolicy(), Qt::NoFocus);
}

TEST_F(DatumInfoTest, DaysBetweenIsSymmetricAndZeroForTheSameDate)
{
    Open(Date(2003, 6, 1));
    EXPECT_EQ(sheet.LabelCount->text(), "0");
    sheet.DateTimePickerUntil->setDate(QDate(2003, 6, 11));
    EXPECT_EQ(sheet.LabelCount->text(), "10");
    sheet.DateTimePickerUntil->setDate(QDate(2003, 5, 22));
    EXPECT_EQ(sheet.LabelCount->text(), "10");
    sheet.DateTimePickerUntil->setDate(QDate(2003, 6, 1));
    EXPECT_EQ(sheet.LabelCount->text(), "0");
    sheet.DateTimePickerUntil->setDate(QDate(1, 1, 1));
    EXPECT_EQ(sheet.LabelCount->text(), "731366");

    // The sheet opens on the date; changed by the user, the count is spoken without leaving it.
    QApplication::setActiveWindow(&sheet);
    ASSERT_TRUE(testsupport::WaitFor([&] { return sheet.DateTimePickerUntil->hasFocus(); }));
    sheet.DateTimePickerUntil->setDate(QDate(2003, 6, 2));
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(sheet.CountAnnouncer);
    EXPECT_EQ(heard->role(), QAccessible::Notification);
    EXPECT_EQ(heard->text(QAccessible::Name), "1");
}

TEST_F(DatumInfoTest, TheCountFollowsTheKeyboardAndStartsAtZeroOnEveryShowing)
{
    Open(Date(2003, 6, 1));
    QTest::keyClick(sheet.DateTimePickerUntil, Qt::Key_Up); // the day section
    EXPECT_EQ(sheet.DateTimePickerUntil->date(), QDate(2003, 6, 2));
    EXPECT_EQ(sheet.LabelCount->text(), "1");
    Open(Date(2003, 6, 1));
    EXPECT_EQ(sheet.LabelCount->text(), "0");
    EXPECT_EQ(sheet.DateTimePickerUntil->date(), QDate(2003, 6, 1));
}

// Typed from the first part on, as people type dates; Enter takes the date and closes the sheet,
// but leaves a half-typed one as typed and says what is missing.
TEST_F(DatumInfoTest, TheCountFollowsADateTypedAsPeopleTypeIt)
{
    struct Case {
        const char *locale;
        const char *typed;
        const char *count;
    };
    const Case cases[] = {
        {"nl_NL", "11-06-2003", "10"}, {"nl_NL", "1-1-1", "731366"}, {"nl_NL", "31-12-9999", "2920692"},
        {"en_US", "5/22/2003", "10"},  {"en_US", "12/31/2026", "8614"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << c.typed);
        SetProgramFormatSettings(FormatSettingsFromLocale(QLocale(c.locale)));
        Open(Date(2003, 6, 1));
        sheet.DateTimePickerUntil->setFocus();
        sheet.DateTimePickerUntil->setSelectedSection(sheet.DateTimePickerUntil->sectionAt(0));
        QTest::keyClicks(sheet.DateTimePickerUntil, c.typed);
        QTest::keyClick(sheet.DateTimePickerUntil, Qt::Key_Return);
        EXPECT_EQ(sheet.LabelCount->text(), c.count);
        EXPECT_FALSE(sheet.isVisible());
    }
    Open(Date(2003, 6, 1));
    sheet.DateTimePickerUntil->setFocus();
    sheet.DateTimePickerUntil->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(sheet.DateTimePickerUntil, Qt::Key_Backspace);
    const QString typed = sheet.DateTimePickerUntil->text();
    QTest::keyClick(sheet.DateTimePickerUntil, Qt::Key_Return);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.DateTimePickerUntil->text(), typed);
    EXPECT_EQ(QToolTip::text(), "Fill in the day.");
}

TEST_F(DatumInfoTest, TheDateStripShowsTheTitleColoursInBold)
{
    Open(Date(2003, 6, 1));
    EXPECT_EQ(sheet.PanelDate->palette().color(QPalette::Window), ToQColor(0x800000));
    EXPECT_EQ(sheet.PanelDate->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_TRUE(sheet.PanelDate->font().bold());
    EXPECT_GE(sheet.PanelDate->font().pixelSize(), 13);
    EXPECT_EQ(sheet.PanelDate->width(), sheet.width());
    EXPECT_GE(sheet.PanelDate->height(), 24);
}

TEST_F(DatumInfoTest, OkAndTheTitleBarHideTheSheet)
{
    Open(Date(2003, 6, 1));
    QTest::mouseClick(sheet.BitBtn_OK, Qt::LeftButton);
    EXPECT_FALSE(sheet.isVisible());
    Open(Date(2003, 6, 1));
    sheet.close();
    EXPECT_FALSE(sheet.isVisible());
    Open(Date(2004, 2, 29));
    EXPECT_EQ(Text("ntLabelDaysInYear"), "366") << "the hidden sheet is shown again";
}

TEST_F(DatumInfoTest, ControlsCarryTheirNamesAndDutchDesignTexts)
{
    EXPECT_EQ(sheet.objectName(), "Form_DatumInfo");
    EXPECT_EQ(sheet.windowTitle(), "Datum info");
    ExpectDutchDesignTexts(&sheet);
    EXPECT_EQ(sheet.LabelCount->text(), "0");
    EXPECT_EQ(sheet.LabelDaysSinceNull->text(), "Dagen sinds 30-12-1899");
    EXPECT_TRUE(sheet.DateTimePickerUntil->calendarPopup());
    EXPECT_TRUE(sheet.BitBtn_OK->isDefault());
    EXPECT_TRUE(sheet.ntLabelYear->font().bold());
    EXPECT_FALSE(sheet.LabelDayInMonth->font().bold());
}

TEST_F(DatumInfoTest, ShowsUnclippedAndAlignedInBothLanguagesAtBothFontSizes)
{
    ForEachLanguageAndTextSize("DatumInfo", [&](TLanguage language, double scale, const QString &name) {
        TForm_DatumInfo form(settings.Model());
        SetFontScale(&form, scale);
        ApplyLanguage(&form, language);
        form.CurrentDate = Date(2003, 9, 24); // a long month name, a long day name
        form.show();
        EXPECT_GE(form.width(), 255);
        EXPECT_GE(form.height(), 451);
        EXPECT_EQ(ClippedControls(&form), QStringList());
        // Groups share their left and right edges, values their column.
        const auto groups = form.findChildren<QGroupBox *>();
        for (const QGroupBox *group : groups) {
            EXPECT_EQ(group->x(), groups.front()->x()) << group->objectName().toStdString();
            EXPECT_EQ(group->width(), groups.front()->width()) << group->objectName().toStdString();
        }
        const int valueColumn = form.ntLabelYear->mapTo(&form, QPoint()).x();
        for (const QWidget *value : {form.ntLabelDaysInYear, form.ntLabelMonthNo, form.ntLabelWeekNo,
                                     form.ntLabelDayNoYear, form.LabelCount}) {
            EXPECT_EQ(value->mapTo(&form, QPoint()).x(), valueColumn) << value->objectName().toStdString();
        }
        testsupport::SaveScreenshot(&form, name);
    });
}

} // namespace
