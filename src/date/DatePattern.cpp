#include "date/DatePattern.h"

#include <algorithm>
#include <array>

namespace {

// How the reader sees each byte.
enum TCharClass : std::uint8_t {
    Plain,       // never part of a tag: copied as it stands (every byte above 127 included)
    Letter,      // an ASCII letter: a tag, or a literal that still counts as the latest letter
    CountedTag,  // a letter whose tag length is its run of the same character: c d e g h m n s t y z
    Punctuation, // the separators / and : and both quotes
};

constexpr std::array<TCharClass, 256> CharClasses = [] {
    std::array<TCharClass, 256> classes{};
    for (char c = 'A'; c <= 'Z'; ++c) {
        const bool counted = std::string_view("CDEGHMNSTYZ").find(c) != std::string_view::npos;
        classes[static_cast<unsigned char>(c)] = counted ? CountedTag : Letter;
        classes[static_cast<unsigned char>(c - 'A' + 'a')] = classes[static_cast<unsigned char>(c)];
    }
    for (const char c : {'/', ':', '"', '\''}) {
        classes[static_cast<unsigned char>(c)] = Punctuation;
    }
    return classes;
}();

constexpr TCharClass ClassOf(char c)
{
    return CharClasses[static_cast<unsigned char>(c)];
}
constexpr char Upper(char c)
{
    return ClassOf(c) == Letter || ClassOf(c) == CountedTag ? static_cast<char>(c & ~0x20) : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [](char a, char b) { return Upper(a) == Upper(b); });
}

// Repetitions of text[0] at the front of text: exactly (same case), or in either case up to a limit.
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

} // namespace

bool TPatternReader::Next(TPatternToken &token)
{
    while (FPos < FPattern.size()) {
        if (Read(token)) {
            return true;
        }
    }
    return false;
}

// Reads one piece of the pattern; false when it yields nothing.
bool TPatternReader::Read(TPatternToken &token)
{
    const std::string_view rest = FPattern.substr(FPos);
    switch (rest[0]) {
    case '/':
        return Take(token, TPatternTag::DateSeparator, 1);
    case ':':
        return Take(token, TPatternTag::TimeSeparator, 1);
    case '"':
    case '\'':
        return Quoted(token, rest);
    default:
        if (ClassOf(rest[0]) == Plain) {
            const auto plain =
                std::find_if(rest.begin(), rest.end(), [](char c) { return ClassOf(c) != Plain; });
            return Take(token, TPatternTag::Literal, static_cast<std::size_t>(plain - rest.begin()));
        }
        return Letter(token, rest);
    }
}

bool TPatternReader::Letter(TPatternToken &token, std::string_view rest)
{
    const char tag = Upper(rest[0]);
    if (FWeekTags && (tag == 'W' || tag == 'I' || tag == 'F' || tag == 'E')) {
        return WeekTag(token, rest);
    }
    const std::size_t count = ClassOf(rest[0]) == CountedTag ? RunLength(rest) : 1;
    const bool minutes = tag == 'M' && FLastLetter == 'H' && count <= 2;
    FLastLetter = tag;
    switch (minutes ? 'N' : tag) {
    case 'Y':
        return Take(token, TPatternTag::Year, count, count <= 2 ? 2 : 4);
    case 'G': // the era name: none in the Gregorian calendar
        FPos += count;
        return false;
    case 'E':
        return Take(token, TPatternTag::EraYear, count);
    case 'M':
        return count <= 2 ? Take(token, TPatternTag::Month, count, count)
                          : Take(token, TPatternTag::MonthName, count, 1, count > 3);
    case 'D':
        if (count <= 4) {
            return count <= 2 ? Take(token, TPatternTag::Day, count, count)
                              : Take(token, TPatternTag::DayName, count, 1, count == 4);
        }
        return FormatTag(token, count, count == 5 ? TPatternTag::ShortDate : TPatternTag::LongDate);
    case 'H':
        FTwelveHour = FTwelveHour || TwelveHourMarkerFollows(rest.substr(count));
        return Take(token, TPatternTag::Hour, count, std::min<std::size_t>(count, 2), FTwelveHour);
    case 'N':
        return Take(token, TPatternTag::Minute, count, std::min<std::size_t>(count, 2));
    case 'S':
        return Take(token, TPatternTag::Second, count, std::min<std::size_t>(count, 2));
    case 'Z':
        return Take(token, TPatternTag::MSec, count, std::min<std::size_t>(count, 3));
    case 'T':
        return FormatTag(token, count, count == 1 ? TPatternTag::ShortTime : TPatternTag::LongTime);
    case 'C':
        return FormatTag(token, count, TPatternTag::DateTime);
    case 'A':
        return AmPm(token, rest);
    default:
        return Take(token, TPatternTag::Literal, 1);
    }
}

// The tags of ExpandDateTags, taken greedily in either case: w ww (ISO week), i ii iii iiii
// (week-numbering year; ii its last two digits), f ff fff (day number in the year) and e, the
// ISO weekday number (Monday 1 .. Sunday 7), the third part of the ISO week date. They replace
// a quoted value in front of the standard formatting, so they do not count as letters for the
// minutes rule.
bool TPatternReader::WeekTag(TPatternToken &token, std::string_view rest)
{
    switch (Upper(rest[0])) {
    case 'W': {
        const std::size_t count = RunLengthNoCase(rest, 2);
        return Take(token, TPatternTag::IsoWeek, count, count);
    }
    case 'I': {
        const std::size_t count = RunLengthNoCase(rest, 4);
        return Take(token, count == 2 ? TPatternTag::WeekYearTwoDigits : TPatternTag::WeekYear, count);
    }
    case 'F': {
        const std::size_t count = RunLengthNoCase(rest, 3);
        return Take(token, TPatternTag::DayNumber, count, count);
    }
    default:
        return Take(token, TPatternTag::IsoWeekdayNumber, 1);
    }
}

// am/pm and a/p keep the marker's letters, ampm is the locale's designator (all three switch
// the hours to the 12-hour clock), aaa and aaaa are the short and long day names; a lone a is
// literal.
bool TPatternReader::AmPm(TPatternToken &token, std::string_view rest)
{
    for (const std::string_view marker : {"am/pm", "a/p", "ampm"}) {
        if (StartsWithNoCase(rest, marker)) {
            FTwelveHour = true;
            const auto tag = marker.size() == 4 ? TPatternTag::AmPmDesignator : TPatternTag::AmPmLetters;
            return Take(token, tag, marker.size());
        }
    }
    if (StartsWithNoCase(rest, "aaa")) {
        const bool isLong = StartsWithNoCase(rest, "aaaa");
        return Take(token, TPatternTag::DayName, isLong ? 4 : 3, 1, isLong);
    }
    return Take(token, TPatternTag::Literal, 1);
}

// Text between a pair of the same quote, without the quotes; an unterminated quote runs to the end.
bool TPatternReader::Quoted(TPatternToken &token, std::string_view rest)
{
    const std::size_t close = std::min(rest.find(rest[0], 1), rest.size());
    token = {TPatternTag::Literal, 1, false, FPos + 1, close - 1};
    FPos += std::min(close + 1, rest.size());
    return true;
}

// The locale's formats expand one level deep: inside one of them these tags yield nothing.
bool TPatternReader::FormatTag(TPatternToken &token, std::size_t used, TPatternTag tag)
{
    if (FNested) {
        FPos += used;
        return false;
    }
    return Take(token, tag, used);
}

bool TPatternReader::Take(TPatternToken &token, TPatternTag tag, std::size_t used, std::size_t digits,
                          bool isLong)
{
    token = {tag, static_cast<std::uint8_t>(digits), isLong, FPos, used};
    FPos += used;
    return true;
}
