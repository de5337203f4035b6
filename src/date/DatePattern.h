#pragma once
// The date-pattern language read into tokens, for the formatter in DateFormat.cpp. Everything
// decided here depends on the pattern alone (tag lengths, letter case, the minutes rule, the
// 12-hour look-ahead, quoting), so a pattern's tokens can be kept and replayed for any date and
// any locale. Pure C++, no Qt.

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TPatternTag : std::uint8_t {
    Literal,   // the pattern's text [Offset, Offset + Length), copied as it stands
    Day,       // day of the month, Digits at least
    DayName,   // Long: the long name, else the short one
    Month,     // month number, Digits at least
    MonthName, // Long: the long name, else the short one
    Year,      // Digits 2: the last two digits; 4: the year, at least four digits
    EraYear,   // the year within the era: the year itself in the Gregorian calendar
    Hour,      // Long: on the 12-hour clock
    Minute,    // Digits at least, likewise for the next two
    Second,
    MSec,
    DateSeparator, // the locale's separators, standing for / and :
    TimeSeparator,
    AmPmLetters,    // am/pm (Length 5) or a/p (Length 3) at Offset: the letters as written
    AmPmDesignator, // the locale's morning or afternoon designator
    ShortDate,      // the locale's formats; never read inside one of them
    LongDate,
    ShortTime,
    LongTime,
    DateTime,          // c: the short date and, when the time is not midnight, the long time
    IsoWeek,           // the tags of ExpandDateTags: ISO week number, Digits at least
    WeekYear,          // week-numbering year, in full
    WeekYearTwoDigits, // its last two digits
    DayNumber,         // day number in the year, Digits at least
    IsoWeekdayNumber,  // Monday 1 .. Sunday 7
};

struct TPatternToken {
    TPatternTag Tag = TPatternTag::Literal;
    std::uint8_t Digits = 1;
    bool Long = false;
    std::size_t Offset = 0;
    std::size_t Length = 0;
};

class TPatternReader {
public:
    // nested: reading one of the locale's formats, where the format tags yield nothing.
    // weekTags: the tags of ExpandDateTags (e, f, i, w in either case) are read as well.
    TPatternReader(std::string_view pattern, bool nested, bool weekTags)
        : FPattern(pattern), FNested(nested), FWeekTags(weekTags)
    {
    }

    // The next token that yields output; false at the end of the pattern.
    bool Next(TPatternToken &token);

private:
    bool Read(TPatternToken &token);
    bool Letter(TPatternToken &token, std::string_view rest);
    bool WeekTag(TPatternToken &token, std::string_view rest);
    bool AmPm(TPatternToken &token, std::string_view rest);
    bool Quoted(TPatternToken &token, std::string_view rest);
    bool FormatTag(TPatternToken &token, std::size_t used, TPatternTag tag);
    bool Take(TPatternToken &token, TPatternTag tag, std::size_t used, std::size_t digits = 1,
              bool isLong = false);

    std::string_view FPattern;
    std::size_t FPos = 0;
    bool FNested;
    bool FWeekTags;
    char FLastLetter = 0;     // upper case; an m right after an h means minutes
    bool FTwelveHour = false; // an am/pm marker follows the hour or has been met
};
