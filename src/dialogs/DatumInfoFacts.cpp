#include "dialogs/DatumInfoFacts.h"

#include "date/DateFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// "3e vrijdag in maand juni" or "3rd Friday in month June".
std::string OccurrenceSentence(int occurrence, const std::string &dayName, const std::string &monthName,
                               TLanguage language)
{
    const std::string number = std::to_string(occurrence);
    if (language == lnDutch)
        return number + "e " + dayName + " in maand " + monthName;
    const char *suffix = occurrence == 1 ? "st" : occurrence == 2 ? "nd" : occurrence == 3 ? "rd" : "th";
    return number + suffix + " " + dayName + " in month " + monthName;
}

// The sheet's own text of a control, without the blanks that place it.
std::string SheetText(const char *control, TLanguage language)
{
    for (const TLanguageRow &row : LanguageRows()) {
        if (std::strcmp(row.Window, WindowNames::DatumInfo) == 0 && std::strcmp(row.Control, control) == 0) {
            const std::string_view text = row.Texts[language];
            return std::string(text.substr(std::min(text.size(), text.find_first_not_of(' '))));
        }
    }
    return control;
}

} // namespace

std::int64_t WholeDayNumber(TDateTime date)
{
    if (std::isnan(date)) {
        return 0;
    }
    return static_cast<std::int64_t>(std::clamp(std::trunc(date), MinDateSerial, MaxDateSerial));
}

TDateInfoFacts DateInfoFacts(TDateTime date, TLanguage language, const TFormatSettings &settings)
{
    const TDateParts parts = SplitDate(date);
    TDateInfoFacts facts{};
    facts.ShortDate = FormatDateStandard("ddddd", date, settings);
    facts.Year = parts.Year;
    facts.LeapYear = IsLeap(parts.Year);
    facts.DaysInYear = YearLength(parts.Year);
    facts.Month = parts.Month;
    facts.MonthName = settings.LongMonthNames[parts.Month - 1];
    facts.DaysInMonth = MonthLength(parts.Year, parts.Month);
    facts.IsoWeek = IsoWeekNumber(date);
    facts.Day = parts.Day;
    facts.IsoWeekday = IsoWeekday(date);
    facts.DayName = settings.LongDayNames[WeekdayOf(date) - 1];
    facts.DayNumberInYear = DayNumberInYear(date);
    facts.Occurrence = OccurrenceSentence(WeekdayOccurrence(date), facts.DayName, facts.MonthName, language);
    facts.Serial = WholeDayNumber(date);
    return facts;
}

std::string DaysSinceCaption(TLanguage language, const TFormatSettings &settings)
{
    return LanguageTexts(language).DaysSincePrefix + FormatDateStandard("ddddd", 0, settings);
}

std::vector<TInfoLine> DateInfoLines(TDateTime date, TDateTime until, TLanguage language,
                                     const TFormatSettings &settings)
{
    const TDateInfoFacts facts = DateInfoFacts(date, language, settings);
    const TLanguageTexts &texts = LanguageTexts(language);
    const auto number = [](auto value) { return std::to_string(value); };
    return {
        {SheetText("", language), facts.ShortDate},
        {SheetText("LabelJaar", language), number(facts.Year)},
        {SheetText("CheckBoxLeapYear", language), texts.YesNo[facts.LeapYear ? 0 : 1]},
        {SheetText("LabelDaysInYear", language), number(facts.DaysInYear)},
        {SheetText("LabelMonth", language), number(facts.Month) + " (" + facts.MonthName + ")"},
        {SheetText("LabelDaysInMonth", language), number(facts.DaysInMonth)},
        {SheetText("LabelISOWeekNo", language), number(facts.IsoWeek)},
        {SheetText("LabelDay", language), number(facts.Day)},
        {SheetText("LabelDayInWeek", language), number(facts.IsoWeekday) + " (" + facts.DayName + ")"},
        {SheetText("LabelDayNoInYear", language), number(facts.DayNumberInYear)},
        {texts.DayInMonthCaption, facts.Occurrence},
        {DaysSinceCaption(language, settings), number(facts.Serial)},
        {SheetText("GroupBoxDaysBetween", language) + " " + FormatDateStandard("ddddd", until, settings),
         number(WholeDaysBetween(until, date))},
    };
}
