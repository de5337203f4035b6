#include "dialogs/DatumInfoFacts.h"

#include "date/DateFormat.h"
#include "text/DateInfoTexts.h"

#include <algorithm>
#include <cmath>
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

// A text of the sheet without the blanks that place it.
std::string Unplaced(std::string_view text)
{
    return std::string(text.substr(std::min(text.size(), text.find_first_not_of(' '))));
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
    return DateInfoTexts[language].DaysSincePrefix + FormatDateStandard("ddddd", 0, settings);
}

std::vector<TInfoLine> DateInfoLines(TDateTime date, TDateTime until, TLanguage language,
                                     const TFormatSettings &settings)
{
    const TDateInfoFacts facts = DateInfoFacts(date, language, settings);
    const TDateInfoTexts &texts = DateInfoTexts[language];
    const auto number = [](auto value) { return std::to_string(value); };
    return {
        {Unplaced(texts.Caption), facts.ShortDate},
        {Unplaced(texts.Year), number(facts.Year)},
        {Unplaced(texts.LeapYear), texts.YesNo[facts.LeapYear ? 0 : 1]},
        {Unplaced(texts.DaysInYear), number(facts.DaysInYear)},
        {Unplaced(texts.Month), number(facts.Month) + " (" + facts.MonthName + ")"},
        {Unplaced(texts.DaysInMonth), number(facts.DaysInMonth)},
        {Unplaced(texts.IsoWeek), number(facts.IsoWeek)},
        {Unplaced(texts.Day), number(facts.Day)},
        {Unplaced(texts.DayInWeek), number(facts.IsoWeekday) + " (" + facts.DayName + ")"},
        {Unplaced(texts.DayNumberInYear), number(facts.DayNumberInYear)},
        {texts.DayInMonthCaption, facts.Occurrence},
        {DaysSinceCaption(language, settings), number(facts.Serial)},
        {Unplaced(texts.DaysBetween) + " " + FormatDateStandard("ddddd", until, settings),
         number(WholeDaysBetween(until, date))},
    };
}
