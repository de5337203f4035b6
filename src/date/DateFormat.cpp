#include "date/DateFormat.h"

#include <algorithm>
#include <cstdint>

namespace {

// The output limit counts UTF-8 characters (code points), not bytes; a character takes at most
// four bytes, so the whole result fits a fixed buffer and is built without any allocation.
constexpr std::size_t MaxOutputBytes = MaxFormattedLength * 4;

constexpr char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool IsLetter(char c)
{
    return Upper(c) >= 'A' && Upper(c) <= 'Z';
}

// Length of the valid UTF-8 sequence starting text[0] (not empty), or 0 for an invalid one:
// stray continuation bytes, overlong forms, surrogates and code points beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text)
{
    const auto b0 = static_cast<unsigned char>(text[0]);
    if (b0 < 0x80) {
        return 1;
    }
    const std::size_t length = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (length == 0 || b0 > 0xF4 || text.size() < length) {
        return 0;
    }
    const auto b1 = static_cast<unsigned char>(text[1]);
    const unsigned char low = b0 == 0xE0 ? 0xA0 : b0 == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = b0 == 0xED ? 0x9F : b0 == 0xF4 ? 0x8F : 0xBF;
    if (b1 < low || b1 > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char a, char b) { return Upper(a) == Upper(b); });
}

// Repetitions of text[0] at the front of text, exactly (same case) or in either case.
std::size_t RunLength(std::string_view text)
{
    return std::find_if(text.begin(), text.end(), [&](char c) { return c != text[0]; }) - text.begin();
}
std::size_t RunLengthNoCase(std::string_view text, std::size_t limit)
{
    std::size_t n = 1;
    while (n < limit && n < text.size() && Upper(text[n]) == Upper(text[0])) {
        ++n;
    }
    return n;
}

// The result, capped at MaxFormattedLength whole characters; invalid UTF-8 becomes U+FFFD.
class TOutput {
public:
    bool Full() const { return chars_ == MaxFormattedLength; }

    // Appends the character at the front of text; returns the number of bytes it took.
    std::size_t Character(std::string_view text)
    {
        const std::size_t length = Utf8SequenceLength(text);
        Put(length != 0 ? text.substr(0, length) : std::string_view("\xEF\xBF\xBD"));
        return std::max<std::size_t>(length, 1);
    }

    void Text(std::string_view text)
    {
        while (!text.empty() && !Full()) {
            text.remove_prefix(Character(text));
        }
    }

    void Number(unsigned value, std::size_t minDigits)
    {
        char digits[12];
        std::size_t n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n < minDigits && n < sizeof digits) {
            digits[n++] = '0';
        }
        while (n > 0 && !Full()) {
            Put(std::string_view(&digits[--n], 1));
        }
    }

    std::string Str() const { return {buffer_, length_}; }

private:
    void Put(std::string_view character)
    {
        if (!Full()) {
            std::copy(character.begin(), character.end(), buffer_ + length_);
            length_ += character.size();
            ++chars_;
        }
    }

    char buffer_[MaxOutputBytes];
    std::size_t length_ = 0;
    std::size_t chars_ = 0;
};

// Does the first letter a after an hour tag (outside quotes, before the next h) start a
// 12-hour marker?
bool TwelveHourMarkerFollows(std::string_view rest)
{
    char quote = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (Upper(c) == 'H') {
            return false;
        } else if (Upper(c) == 'A') {
            const std::string_view marker = rest.substr(i);
            return StartsWithNoCase(marker, "am/pm") || StartsWithNoCase(marker, "a/p") ||
                   StartsWithNoCase(marker, "ampm");
        }
    }
    return false;
}

class TDateFormatter {
public:
    TDateFormatter(TDateTime date, const TFormatSettings &settings) : date_(date), settings_(settings) {}

    // Level 0 is the caller's pattern; the locale formats it names are expanded at level 1,
    // where format tags yield nothing. weekTags adds the ISO week tags at level 0.
    void Format(std::string_view pattern, int level, bool weekTags);

    std::string Result() const { return out_.Str(); }

private:
    const TDateParts &Date()
    {
        if (!haveDate_) {
            dateParts_ = SplitDate(date_);
            haveDate_ = true;
        }
        return dateParts_;
    }
    const TTimeParts &Time()
    {
        if (!haveTime_) {
            timeParts_ = SplitTime(date_);
            haveTime_ = true;
        }
        return timeParts_;
    }
    int Weekday() const { return WeekdayOf(date_) - 1; } // index into the day names

    void Nested(std::string_view format, int level)
    {
        if (level == 0) {
            Format(format, 1, false);
        }
    }

    std::size_t WeekTag(std::string_view rest);
    std::size_t AmPmTag(std::string_view rest, bool &twelveHour);
    std::size_t Quoted(std::string_view rest);

    TDateTime date_;
    const TFormatSettings &settings_;
    TOutput out_;
    bool haveDate_ = false;
    bool haveTime_ = false;
    bool haveWeek_ = false;
    TDateParts dateParts_{};
    TTimeParts timeParts_{};
    TIsoWeek week_{};
    int dayNumber_ = 0;
};

// The tags of ExpandDateTags, taken greedily in either case: w ww (ISO week), i ii iii iiii
// (week-numbering year; ii its last two digits), f ff fff (day number in the year) and e, the
// ISO weekday number (Monday 1 .. Sunday 7), the third part of the ISO week date.
std::size_t TDateFormatter::WeekTag(std::string_view rest)
{
    if (!haveWeek_) {
        week_ = IsoWeekAndYear(date_);
        dayNumber_ = DayNumberInYear(date_);
        haveWeek_ = true;
    }
    const char tag = Upper(rest[0]);
    const std::size_t count = RunLengthNoCase(rest, tag == 'W' ? 2 : tag == 'I' ? 4 : tag == 'F' ? 3 : 1);
    const auto weekYear = static_cast<unsigned>(week_.Year);
    switch (tag) {
    case 'W':
        out_.Number(static_cast<unsigned>(week_.Week), count);
        break;
    case 'I':
        out_.Number(count == 2 ? weekYear % 100 : weekYear, count == 2 ? 2 : 1);
        break;
    case 'F':
        out_.Number(static_cast<unsigned>(dayNumber_), count);
        break;
    default:
        out_.Number(static_cast<unsigned>(IsoWeekday(date_)), 1);
    }
    return count;
}

// am/pm and a/p copy the marker's letters as written, ampm uses the locale's designators,
// aaa and aaaa are the short and long day names; a lone a is literal.
std::size_t TDateFormatter::AmPmTag(std::string_view rest, bool &twelveHour)
{
    const bool pm = Time().Hour >= 12;
    if (StartsWithNoCase(rest, "am/pm")) {
        out_.Text(rest.substr(pm ? 3 : 0, 2));
        twelveHour = true;
        return 5;
    }
    if (StartsWithNoCase(rest, "a/p")) {
        out_.Text(rest.substr(pm ? 2 : 0, 1));
        twelveHour = true;
        return 3;
    }
    if (StartsWithNoCase(rest, "ampm")) {
        out_.Text(pm ? settings_.TimePMString : settings_.TimeAMString);
        twelveHour = true;
        return 4;
    }
    if (StartsWithNoCase(rest, "aaaa")) {
        out_.Text(settings_.LongDayNames[Weekday()]);
        return 4;
    }
    if (StartsWithNoCase(rest, "aaa")) {
        out_.Text(settings_.ShortDayNames[Weekday()]);
        return 3;
    }
    out_.Text(rest.substr(0, 1));
    return 1;
}

// Text between a pair of the same quote, without the quotes; an unterminated quote runs to the end.
std::size_t TDateFormatter::Quoted(std::string_view rest)
{
    const std::size_t close = rest.find(rest[0], 1);
    if (close == std::string_view::npos) {
        out_.Text(rest.substr(1));
        return rest.size();
    }
    out_.Text(rest.substr(1, close - 1));
    return close + 1;
}

void TDateFormatter::Format(std::string_view pattern, int level, bool weekTags)
{
    char lastLetter = 0; // upper case; an m right after an h means minutes
    bool twelveHour = false;
    while (!pattern.empty() && !out_.Full()) {
        const char c = pattern[0];
        const char tag = Upper(c);
        if (weekTags && (tag == 'W' || tag == 'I' || tag == 'F' || tag == 'E')) {
            pattern.remove_prefix(WeekTag(pattern));
            continue;
        }
        // Only the counted tags measure their run: a long run of anything else costs no rescans.
        const bool counted = std::string_view("YGEMDHNSZTC").find(tag) != std::string_view::npos;
        const std::size_t count = counted ? RunLength(pattern) : 1;
        const bool minutes = tag == 'M' && lastLetter == 'H' && count <= 2;
        std::size_t used = count;
        if (IsLetter(c)) {
            lastLetter = tag;
        }
        switch (minutes ? 'N' : tag) {
        case 'Y':
            out_.Number(count <= 2 ? Date().Year % 100u : Date().Year, count <= 2 ? 2 : 4);
            break;
        case 'G': // era name: none in the Gregorian calendar
            break;
        case 'E': // year within the era, which is the year itself in the Gregorian calendar
            out_.Number(Date().Year, 1);
            break;
        case 'M':
            if (count <= 2) {
                out_.Number(Date().Month, count);
            } else {
                const auto &names = count == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames;
                out_.Text(names[Date().Month - 1]);
            }
            break;
        case 'D':
            if (count <= 2) {
                out_.Number(Date().Day, count);
            } else if (count <= 4) {
                out_.Text((count == 3 ? settings_.ShortDayNames : settings_.LongDayNames)[Weekday()]);
            } else {
                Nested(count == 5 ? settings_.ShortDateFormat : settings_.LongDateFormat, level);
            }
            break;
        case 'H': {
            twelveHour = twelveHour || TwelveHourMarkerFollows(pattern.substr(count));
            const unsigned hour = Time().Hour;
            out_.Number(twelveHour ? (hour + 11) % 12 + 1 : hour, std::min<std::size_t>(count, 2));
            break;
        }
        case 'N':
            out_.Number(Time().Minute, std::min<std::size_t>(count, 2));
            break;
        case 'S':
            out_.Number(Time().Second, std::min<std::size_t>(count, 2));
            break;
        case 'Z':
            out_.Number(Time().MSec, std::min<std::size_t>(count, 3));
            break;
        case 'T':
            Nested(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, level);
            break;
        case 'C':
            if (level == 0) {
                Nested(settings_.ShortDateFormat, level);
                if (Time().Hour != 0 || Time().Minute != 0 || Time().Second != 0) {
                    out_.Text(" ");
                    Nested(settings_.LongTimeFormat, level);
                }
            }
            break;
        case 'A':
            used = AmPmTag(pattern, twelveHour);
            break;
        case '/':
            used = 1;
            out_.Text(settings_.DateSeparator);
            break;
        case ':':
            used = 1;
            out_.Text(settings_.TimeSeparator);
            break;
        case '"':
        case '\'':
            used = Quoted(pattern);
            break;
        default:
            used = out_.Character(pattern);
        }
        pattern.remove_prefix(used);
    }
}

std::string Run(std::string_view pattern, TDateTime date, const TFormatSettings &settings, bool weekTags)
{
    TDateFormatter formatter(date, settings);
    formatter.Format(pattern.empty() ? std::string_view("c") : pattern, 0, weekTags);
    return formatter.Result();
}

} // namespace

std::string FormatDateStandard(std::string_view pattern, TDateTime date, const TFormatSettings &settings)
{
    return Run(pattern, date, settings, false);
}

// Both stages in one pass: outside quotes the week tags are replaced by their values, which
// take part in nothing else, and every other character reaches the standard formatting as the
// second stage would see it.
std::string ExpandDateTags(std::string_view pattern, TDateTime date, const TFormatSettings &settings)
{
    return Run(pattern, date, settings, true);
}

std::string FormatDateStandard(std::string_view pattern, TDateTime date)
{
    return FormatDateStandard(pattern, date, ProgramFormatSettings());
}

std::string ExpandDateTags(std::string_view pattern, TDateTime date)
{
    return ExpandDateTags(pattern, date, ProgramFormatSettings());
}
