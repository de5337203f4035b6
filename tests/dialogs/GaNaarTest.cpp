#include "dialogs/GaNaar.h"

#include "components/MonthCalendar.h"
#include "components/kxStandard.h"
#include "dialogs/ToolDialogTestSupport.h"
#include "platform/Locale.h"
#include "platform/Screen.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

class GaNaarTest : public testing::Test {
protected:
    void SetUp() override { SetProgramFormatSettings(KnownSettings()); }
    void TearDown() override { SetProgramFormatSettings(DefaultFormatSettings()); }

    // Opens the dialog as the main window does: the selected date handed over, then shown.
    void Open(TDateTime selected)
    {
        view.SetDate(selected);
        dialog.CurrentDate = view.Date();
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Clicks into a field and replaces its text by typing.
    static void Type(QWidget *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static void Choose(QRadioButton *radio)
    {
        const int indicator = radio->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(indicator / 2 + 1, radio->height() / 2));
        ASSERT_TRUE(radio->isChecked());
    }

    void ClickOk() { QTest::mouseClick(dialog.BitBtn_OK, Qt::LeftButton); }

    // Jumps by an offset from the selected date and returns where the month view landed.
    TDateTime JumpBy(TDateTime from, int years, int months, int days)
    {
        Open(from);
        Choose(dialog.RadioButton_Jaren);
        Type(dialog.SpinEdit_Jaren, QString::number(years));
        Type(dialog.SpinEdit_Maanden, QString::number(months));
        Type(dialog.SpinEdit_Dagen, QString::number(days));
        ClickOk();
        return view.Date();
    }

    // Jumps by the number field and returns where the month view landed.
    TDateTime JumpToNumber(TDateTime from, const QString &text)
    {
        Open(from);
        Choose(dialog.RadioButtonDateAsFloat);
        Type(dialog.EditDateSince, text);
        ClickOk();
        return view.Date();
    }

    testsupport::TScopedClock clock{MakeDate(2003, 6, 20) + 0.5};
    TMonthCalendar view;
    TForm_GaNaar dialog{&view};
};

TEST_F(GaNaarTest, TodayModeIsTheDesignModeAndJumpsToToday)
{
    Open(Date(2010, 3, 4));
    EXPECT_TRUE(dialog.RadioButton_Vandaag->isChecked());
    ClickOk();
    EXPECT_EQ(view.Date(), Date(2003, 6, 20));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(GaNaarTest, OffsetModeClampsTheDayThenAddsDays)
{
    struct Case {
        TDateTime from;
        int years, months, days;
        TDateTime expected;
    };
    const Case cases[] = {
        {Date(2003, 1, 31), 0, 1, 0, Date(2003, 2, 28)},
        {Date(2004, 1, 31), 0, 1, 0, Date(2004, 2, 29)},
        {Date(2003, 3, 31), 0, -1, 0, Date(2003, 2, 28)},
        {Date(2004, 3, 31), 0, -1, 0, Date(2004, 2, 29)},
        {Date(2004, 2, 29), 1, 0, 0, Date(2005, 2, 28)},
        {Date(2003, 1, 15), 0, -13, 0, Date(2001, 12, 15)},
        {Date(2003, 1, 31), 0, 1, 1, Date(2003, 3, 1)},
        {Date(2003, 6, 1), -150, 0, -8000, Date(1831, 7, 7)},
        {Date(2003, 6, 1), 150, 500, 8000, Date(2216, 12, 28)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.from << " " << c.years << "y " << c.months << "m " << c.days << "d");
        EXPECT_EQ(JumpBy(c.from, c.years, c.months, c.days), c.expected);
    }
}

TEST_F(GaNaarTest, DateModeJumpsToThePickedDate)
{
    Open(Date(2003, 6, 1));
    EXPECT_EQ(dialog.DateTimePicker1->date(), QDate(2003, 6, 20)) << "the picker starts at today";
    EXPECT_EQ(dialog.DateTimePicker1->text(), "20-06-2003") << "in the short date format";
    Choose(dialog.RadioButton_Datum);
    dialog.DateTimePicker1->setDate(QDate(1, 1, 1));
    ClickOk();
    EXPECT_EQ(view.Date(), MinDateSerial);
}

// Typed from the first part on, as people type dates, and carried out with Enter.
TEST_F(GaNaarTest, DateModeTakesADateAsPeopleTypeIt)
{
    struct Case {
        const char *locale;
        const char *typed;
        TDateTime expected;
    };
    const Case cases[] = {
        {"nl_NL", "20-06-2003", Date(2003, 6, 20)}, {"nl_NL", "31-12-9999", Date(9999, 12, 31)},
        {"nl_NL", "01-01-0001", MinDateSerial},     {"nl_NL", "1-1-1", MinDateSerial},
        {"nl_NL", "5-7-2010", Date(2010, 7, 5)},    {"nl_NL", "20062003", Date(2003, 6, 20)},
        {"nl_NL", "20--06--2003", Date(2003, 6, 20)}, {"en_US", "12/31/2026", Date(2026, 12, 31)},
        {"en_US", "2/3/4", Date(4, 2, 3)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << c.typed);
        SetProgramFormatSettings(FormatSettingsFromLocale(QLocale(c.locale)));
        Open(Date(2001, 1, 1));
        Choose(dialog.RadioButton_Datum);
        dialog.DateTimePicker1->setFocus();
        dialog.DateTimePicker1->setSelectedSection(dialog.DateTimePicker1->sectionAt(0));
        QTest::keyClicks(dialog.DateTimePicker1, c.typed);
        QTest::keyClick(dialog.DateTimePicker1, Qt::Key_Return);
        EXPECT_EQ(view.Date(), c.expected) << dialog.DateTimePicker1->text().toStdString();
        EXPECT_FALSE(dialog.isVisible());
    }
}

// OK on a half-typed date, by Enter or by a click, leaves the dialog open with the text as typed
// and says what is missing.
TEST_F(GaNaarTest, AHalfTypedDateSaysWhatIsMissing)
{
    SetProgramFormatSettings(FormatSettingsFromLocale(QLocale("nl_NL")));
    for (const auto &[language, click] : {std::pair{lnDutch, true}, {lnDutch, false}, {lnEnglish, false}}) {
        SCOPED_TRACE(click ? "click" : "Enter");
        dialog.SetLanguage(language);
        Open(Date(2001, 1, 1));
        Choose(dialog.RadioButton_Datum);
        dialog.DateTimePicker1->setFocus();
        dialog.DateTimePicker1->setSelectedSection(QDateTimeEdit::YearSection);
        QTest::keyClick(dialog.DateTimePicker1, Qt::Key_Backspace);
        const QString typed = dialog.DateTimePicker1->text();
        if (click) {
            dialog.BitBtn_OK->setFocus(); // as the press of a click moves it
            QTest::mouseClick(dialog.BitBtn_OK, Qt::LeftButton);
        } else {
            QTest::keyClick(dialog.DateTimePicker1, Qt::Key_Return);
        }
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(view.Date(), Date(2001, 1, 1));
        EXPECT_EQ(dialog.DateTimePicker1->text(), typed);
        EXPECT_EQ(QToolTip::text(), language == lnDutch ? "Vul het jaar in." : "Fill in the year.");
        dialog.hide();
    }
}

TEST_F(GaNaarTest, EasterModeJumpsToEasterSundayOfTheYear)
{
    const std::pair<const char *, TDateTime> cases[] = {
        {"2003", Date(2003, 4, 20)}, {"2024", Date(2024, 3, 31)}, {"2500", Date(2500, 4, 18)},
        {"19", Date(1900, 4, 15)},   // a year typed below the range counts as its start
        {"", Date(1900, 4, 15)},     // no number: the minimum
        {"2501", Date(2500, 4, 18)}, // typed in full, then clamped
    };
    for (const auto &[year, expected] : cases) {
        SCOPED_TRACE(year);
        Open(Date(2010, 1, 1));
        Type(dialog.SpinEditEaster, year);
        EXPECT_TRUE(dialog.RadioButtonEasterSunday->isChecked());
        QTest::keyClick(dialog.SpinEditEaster, Qt::Key_Return); // before the field can correct itself
        EXPECT_EQ(view.Date(), expected);
        EXPECT_EQ(dialog.SpinEditEaster->text(), QString::number(SplitDate(expected).Year))
            << "the field shows the year used";
    }
}

// Whole numbers are typed in full and clamped at OK; an emptied offset field is no offset, whether
// Enter or a click on OK carries out the jump (the click takes the focus from the field first).
TEST_F(GaNaarTest, OffsetFieldsTakeWholeNumbersClampedAndEmptyAsZero)
{
    struct Case {
        const char *years;
        bool byEnter;
        TDateTime expected;
        const char *shown;
    };
    const Case cases[] = {
        {"200", true, Date(2153, 6, 1), "150"},     {"200", false, Date(2153, 6, 1), "150"},
        {"-99999", true, Date(1853, 6, 1), "-150"}, {"12", false, Date(2015, 6, 1), "12"},
        {"", true, Date(2003, 6, 1), "0"},          {"", false, Date(2003, 6, 1), "0"},
        {"-", false, Date(2003, 6, 1), "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.years << "\" " << (c.byEnter ? "Enter" : "click"));
        Open(Date(2003, 6, 1));
        Type(dialog.SpinEdit_Maanden, "0");
        Type(dialog.SpinEdit_Dagen, "0");
        Type(dialog.SpinEdit_Jaren, c.years);
        EXPECT_EQ(dialog.SpinEdit_Jaren->text(), c.years) << "typed as it stands";
        if (c.byEnter)
            QTest::keyClick(dialog.SpinEdit_Jaren, Qt::Key_Return);
        else
            ClickOk();
        EXPECT_EQ(view.Date(), c.expected);
        EXPECT_EQ(dialog.SpinEdit_Jaren->text(), c.shown) << "the field shows what was used";
    }
    // A decimal separator is refused where it is typed, and the field says so.
    Open(Date(2003, 6, 1));
    Type(dialog.SpinEdit_Jaren, "1.5");
    EXPECT_EQ(dialog.SpinEdit_Jaren->text(), "15");
    EXPECT_EQ(QToolTip::text(), "Alleen hele getallen.");
}

TEST_F(GaNaarTest, NumberModeReadsASerialAndIgnoresNumbersOutOfRange)
{
    const TDateTime selected = Date(2010, 5, 5);
    const std::pair<const char *, TDateTime> cases[] = {
        {"37773", Date(2003, 6, 1)},
        {"37773.75", Date(2003, 6, 1)},
        {"-5", selected},
        {"-0.5", selected},
        {"2958465.99", MaxDateSerial},
        {"0", 0},
        {"abc", 0}, // what is no number counts as 0
    };
    for (const auto &[text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(JumpToNumber(selected, text), expected);
    }
}

TEST_F(GaNaarTest, NumberModeUsesTheUsersDecimalSeparator)
{
    TFormatSettings settings = KnownSettings();
    settings.DecimalSeparator = ",";
    SetProgramFormatSettings(settings);
    EXPECT_EQ(JumpToNumber(Date(2010, 5, 5), "37773,5"), Date(2003, 6, 1));
    EXPECT_EQ(JumpToNumber(Date(2010, 5, 5), "37773.5"), Date(2003, 6, 1));
}

TEST_F(GaNaarTest, ConvertShowsTheDateOfTheNumberWithoutChangingTheMode)
{
    struct Case {
        const char *entry;
        const char *text; // the field afterwards
        const char *label;
    };
    const Case cases[] = {
        {"37773.5", "37773.5", "01-06-2003 12:00:00"},
        {"37773", "37773", "01-06-2003"},
        {"-3", "0", "30-12-1899"},
        {"abc", "abc", "30-12-1899"},
        {"3000000", "3000000", "?"},
        {"2958466", "2958466", "?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        Open(Date(2010, 5, 5));
        Type(dialog.EditDateSince, c.entry);
        Choose(dialog.RadioButton_Vandaag);
        QTest::mouseClick(dialog.SpeedButtonConvert, Qt::LeftButton);
        EXPECT_EQ(dialog.EditDateSince->text(), c.text);
        EXPECT_EQ(dialog.LabelDateSince->text(), c.label);
        EXPECT_TRUE(dialog.RadioButton_Vandaag->isChecked());
        EXPECT_TRUE(dialog.isVisible());
        dialog.hide();
    }
}

TEST_F(GaNaarTest, ShowingAgainKeepsModeAndOffsetsButRefillsTheRest)
{
    JumpBy(Date(2003, 1, 15), 1, -2, 3);
    Type(dialog.EditDateSince, "12");
    clock.Set(MakeDate(2024, 2, 29) + 0.25);
    Open(Date(2003, 6, 1));
    EXPECT_TRUE(dialog.RadioButton_Jaren->isChecked());
    EXPECT_EQ(dialog.SpinEdit_Jaren->text(), "1");
    EXPECT_EQ(dialog.SpinEdit_Maanden->text(), "-2");
    EXPECT_EQ(dialog.SpinEdit_Dagen->text(), "3");
    EXPECT_EQ(dialog.DateTimePicker1->date(), QDate(2024, 2, 29));
    EXPECT_EQ(dialog.SpinEditEaster->text(), "2024");
    EXPECT_EQ(dialog.EditDateSince->text(), "37773");
    EXPECT_EQ(dialog.LabelDateSince->text(), "01-06-2003");
}

TEST_F(GaNaarTest, EnteringAFieldSelectsItsMode)
{
    Open(Date(2003, 6, 1));
    const std::pair<QWidget *, QRadioButton *> cases[] = {
        {dialog.DateTimePicker1, dialog.RadioButton_Datum},
        {dialog.SpinEditEaster, dialog.RadioButtonEasterSunday},
        {dialog.EditDateSince, dialog.RadioButtonDateAsFloat},
        {dialog.SpinEdit_Jaren, dialog.RadioButton_Jaren},
        {dialog.EditDateSince, dialog.RadioButtonDateAsFloat},
        {dialog.SpinEdit_Maanden, dialog.RadioButton_Jaren},
        {dialog.SpinEditEaster, dialog.RadioButtonEasterSunday},
        {dialog.SpinEdit_Dagen, dialog.RadioButton_Jaren},
    };
    for (const auto &[field, mode] : cases) {
        SCOPED_TRACE(field->objectName().toStdString());
        QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_TRUE(field->hasFocus());
        EXPECT_TRUE(mode->isChecked());
    }
}

TEST_F(GaNaarTest, ShowingAgainWithTheFocusInAFieldKeepsTheMode)
{
    Open(Date(2003, 6, 1));
    QTest::mouseClick(dialog.EditDateSince, Qt::LeftButton);
    dialog.RadioButton_Datum->setChecked(true); // the focus stays in the number field
    dialog.hide();
    Open(Date(2003, 6, 1));
    EXPECT_TRUE(dialog.RadioButton_Datum->isChecked());
}

TEST_F(GaNaarTest, EnterCarriesOutOkOncePerKeyPress)
{
    const QList<QWidget *> fields = {dialog.SpinEdit_Jaren,   dialog.SpinEdit_Maanden, dialog.SpinEdit_Dagen,
                                     dialog.SpinEditEaster,   dialog.EditDateSince,    dialog.DateTimePicker1,
                                     dialog.RadioButton_Jaren};
    for (QWidget *field : fields) {
        SCOPED_TRACE(field->objectName().toStdString());
        Open(Date(2003, 6, 1));
        Choose(dialog.RadioButtonDateAsFloat);
        Type(dialog.EditDateSince, "37000");
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        view.SetDate(Date(2003, 6, 1));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(accepted.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(view.Date(), 37000);
    }
}

TEST_F(GaNaarTest, EscapeDoesNothingAndTheTitleBarCloseJumpsNowhere)
{
    Open(Date(2003, 6, 1));
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::keyClick(dialog.SpinEdit_Dagen, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(view.Date(), Date(2003, 6, 1));
}

TEST_F(GaNaarTest, AJumpBeyondTheCalendarKeepsTheDialogOpenAndSaysSo)
{
    struct Case {
        TDateTime from;
        int years, months, days;
    };
    const Case cases[] = {
        {Date(9999, 12, 15), 0, 1, 0}, {Date(9999, 12, 31), 0, 0, 1}, {Date(9950, 1, 1), 150, 0, 0},
        {Date(1, 1, 2), 0, 0, -5},     {Date(1, 3, 1), 0, -3, 0},     {Date(100, 1, 1), -150, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.from << " " << c.years << "y " << c.months << "m " << c.days << "d");
        EXPECT_EQ(JumpBy(c.from, c.years, c.months, c.days), c.from);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.LabelOutOfRange->isVisible());
        dialog.hide();
    }
    // The number field beyond 31 December 9999 and below day 0 alike; the message is the interface
    // language's.
    ApplyLanguage(&dialog, lnEnglish);
    for (const char *number : {"-5", "2958466"}) {
        dialog.hide();
        EXPECT_EQ(JumpToNumber(Date(2010, 5, 5), number), Date(2010, 5, 5)) << number;
        EXPECT_TRUE(dialog.isVisible()) << number;
        EXPECT_TRUE(dialog.LabelOutOfRange->isVisible()) << number;
    }
    EXPECT_EQ(dialog.LabelOutOfRange->text(), "This date lies outside the calendar's range.");
    EXPECT_EQ(ClippedControls(&dialog), QStringList());
    testsupport::SaveScreenshot(&dialog, "GaNaar-out-of-range");
    // A jump that can be made closes the dialog; the next showing starts without the message.
    Type(dialog.EditDateSince, "37773");
    ClickOk();
    EXPECT_FALSE(dialog.isVisible());
    Open(Date(2010, 5, 5));
    EXPECT_FALSE(dialog.LabelOutOfRange->isVisible());
}

TEST_F(GaNaarTest, ControlsCarryTheirNamesRangesAndDutchDesignTexts)
{
    EXPECT_EQ(dialog.objectName(), "Form_GaNaar");
    ExpectDutchDesignTexts(&dialog);
    const std::tuple<QSpinBox *, int, int> ranges[] = {{dialog.SpinEdit_Jaren, -150, 150},
                                                       {dialog.SpinEdit_Maanden, -500, 500},
                                                       {dialog.SpinEdit_Dagen, -8000, 8000},
                                                       {dialog.SpinEditEaster, 1900, 2500}};
    for (const auto &[spin, minimum, maximum] : ranges) {
        EXPECT_EQ(spin->minimum(), minimum);
        EXPECT_EQ(spin->maximum(), maximum);
    }
    EXPECT_EQ(dialog.SpinEditEaster->value(), 1900);
    EXPECT_EQ(dialog.EditDateSince->text(), "0");
    EXPECT_FALSE(dialog.DateTimePicker1->calendarPopup());
    EXPECT_EQ(dialog.SpeedButtonConvert->focusPolicy(), Qt::TabFocus); // the keyboard reaches it too
    EXPECT_TRUE(dialog.BitBtn_OK->isDefault());
    EXPECT_EQ(dialog.BitBtn_OK->text(), "&OK");
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(GaNaarTest, ShowsCentredOnTheScreen)
{
    SetScreenMetricsForTests(TScreenMetrics{1000, 800, 96});
    Open(Date(2003, 6, 1));
    const QRect frame = dialog.frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint((1000 - frame.width()) / 2, (800 - frame.height()) / 2));
    SetScreenMetricsForTests(std::nullopt);
}

TEST_F(GaNaarTest, ShowsUnclippedInBothLanguagesAtBothFontSizes)
{
    ForEachLanguageAndTextSize("GaNaar", [&](TLanguage language, double scale, const QString &name) {
        TMonthCalendar monthView;
        TForm_GaNaar form(&monthView);
        SetFontScale(&form, scale);
        ApplyLanguage(&form, language);
        form.CurrentDate = Date(2003, 6, 1);
        form.show();
        form.EditDateSince->setText("37773.5");
        form.SpeedButtonConvert->click();
        EXPECT_GE(form.width(), 185);
        EXPECT_GE(form.height(), 304);
        EXPECT_EQ(ClippedControls(&form), QStringList());
        testsupport::SaveScreenshot(&form, name);
    });
}

} // namespace
