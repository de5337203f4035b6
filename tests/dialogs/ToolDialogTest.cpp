#include "dialogs/ToolDialog.h"

#include <QDateEdit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(PickerDisplayFormatTest, ShowsDatesInTheUsersShortFormatWithFullYears)
{
    struct Case {
        const char *format;
        const char *separator;
        const char *shown; // 1 June 2003
    };
    const Case cases[] = {
        {"dd/mm/yyyy", "-", "01-06-2003"},
        {"d/m/yy", "/", "1/6/2003"},
        {"M/D/YYYY", "/", "6/1/2003"},
        {"yyyy/mm/dd", ".", "2003.06.01"},
        {"dd.mm.yyyy", "", "01.06.2003"},
        {"d mmmm yyyy", "", "1 June 2003"},
        {"ddd d mmm yy", "", "Sun 1 Jun 2003"},
        {"'Dag' d/m/yyyy", "-", "Dag 1-6-2003"},
        {"dd/mm/yyyy \"o'clock\"", "/", "01/06/2003 o'clock"},
        {"yyyy'年'm'月'd'日'", "", "2003年6月1日"},
        {"dd/mm", "-", "01-06-2003"}, // no year: the neutral format
        {"dddd", "-", "01-06-2003"},  // no day number either
        {"", "-", "01-06-2003"},
    };
    QDateEdit picker;
    picker.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    picker.setDate(QDate(2003, 6, 1));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        TFormatSettings settings = DefaultFormatSettings();
        settings.ShortDateFormat = c.format;
        settings.DateSeparator = c.separator;
        picker.setDisplayFormat(PickerDisplayFormat(settings));
        EXPECT_EQ(picker.text().toStdString(), c.shown);
    }
}

TEST(DateConversionTest, QtDatesAndSerialsMeetAtBothEnds)
{
    for (const auto &[serial, date] :
         {std::pair{0.0, QDate(1899, 12, 30)}, std::pair{37773.75, QDate(2003, 6, 1)},
          std::pair{MinDateSerial, QDate(1, 1, 1)}, std::pair{MaxDateSerial, QDate(9999, 12, 31)}}) {
        EXPECT_EQ(ToQDate(serial), date);
        EXPECT_EQ(FromQDate(date), std::trunc(serial));
    }
    EXPECT_THROW(FromQDate(QDate()), EDateError);
}

TEST(DateConversionTest, WholeDayNumbersStayInTheSupportedRange)
{
    EXPECT_EQ(WholeDayNumber(37773.75), 37773);
    EXPECT_EQ(WholeDayNumber(-1.25), -1);
    EXPECT_EQ(WholeDayNumber(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(WholeDayNumber(1e300), static_cast<std::int64_t>(MaxDateSerial));
    EXPECT_EQ(WholeDayNumber(-1e300), static_cast<std::int64_t>(MinDateSerial));
}

} // namespace
