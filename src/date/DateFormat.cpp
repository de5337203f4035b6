#include "date/DateFormat.h"

#include "date/DatePattern.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// The result, capped at MaxFormattedLength characters. The limit counts UTF-8 characters (code
// points), not bytes; a character takes at most four bytes, so the whole result fits a fixed
// buffer and is built without any allocation. Invalid UTF-8 becomes U+FFFD.
class TOutput {
public:
    bool Full() const { return Room() == 0; }

    // Appends the character at the front of text; returns the number of bytes it took.
    std::size_t Character(std::string_view text)
    {
        const std::size_t length = DecodeUtf8(text).Length;
        if (!Full()) {
            const std::string_view character = length != 0 ? text.substr(0, length) : "\xEF\xBF\xBD";
            std::copy(character.begin(), character.end(), FBuffer + FLength);
            FLength += character.size();
            FContinuation += character.size() - 1;
        }
        return std::max<std::size_t>(length, 1);
    }

    // The pieces are short (names, separators, literals): pieces of up to 16 ASCII bytes are
    // copied inline with a few overlapping moves, so their varying lengths cost no mispredicted
    // loop exits; longer or non-ASCII text goes through a plain loop. A library call would cost
    // more.
    [[gnu::always_inline]] void Text(std::string_view text)
    {
        if (!CopyShortAscii(text)) {
            TextSlowly(text);
        }
    }

    // At least minDigits digits. Date fields take branch-free paths (a digit-pair table below
    // 100, a packed register below 10000) that store a fixed two or four bytes, so random dates
    // cost no mispredicted digit loops; the bytes stored past the digits are overwritten or
    // never read.
    [[gnu::always_inline]] void Number(unsigned value, std::size_t minDigits)
    {
        if (value < 100 && minDigits <= 2 && HasRoomFor(2)) {
            const std::size_t n = std::max<std::size_t>(1 + (value >= 10), minDigits);
            std::memcpy(FBuffer + FLength, &DigitPairs[2 * value + 2 - n], 2);
            FLength += n;
            return;
        }
        const std::size_t n =
            std::max<std::size_t>(1 + (value >= 10) + (value >= 100) + (value >= 1000), minDigits);
        if (value >= 10000 || n > 4 || !HasRoomFor(4)) {
            NumberSlowly(value, minDigits);
            return;
        }
        const std::uint32_t d0 = '0' + value / 1000, d1 = '0' + value / 100 % 10, d2 = '0' + value / 10 % 10,
                            d3 = '0' + value % 10;
        const auto drop = static_cast<unsigned>(8 * (4 - n));
        const std::uint32_t word = std::endian::native == std::endian::little
                                       ? (d0 | d1 << 8 | d2 << 16 | d3 << 24) >> drop
                                       : (d0 << 24 | d1 << 16 | d2 << 8 | d3) << drop;
        std::memcpy(FBuffer + FLength, &word, 4);
        FLength += n;
    }

    std::string Str() const { return {FBuffer, FLength}; }

private:
    std::size_t Room() const { return MaxFormattedLength - (FLength - FContinuation); }
    // A quick, cautious test: there are never more characters than bytes.
    bool HasRoomFor(std::size_t characters) const { return FLength <= MaxFormattedLength - characters; }

    [[gnu::noinline]] void TextSlowly(std::string_view text)
    {
        while (!text.empty() && !Full()) {
            const std::size_t room = std::min(text.size(), Room());
            char *const out = FBuffer + FLength;
            std::size_t n = 0;
            while (n < room && (text[n] & 0x80) == 0) {
                out[n] = text[n];
                ++n;
            }
            FLength += n;
            text.remove_prefix(n);
            if (n < room) {
                text.remove_prefix(Character(text));
            }
        }
    }

    template <typename TWord> static TWord Load(const char *at)
    {
        TWord word;
        std::memcpy(&word, at, sizeof word);
        return word;
    }
    template <typename TWord> bool CopyAsciiWords(std::string_view text)
    {
        const std::size_t tail = text.size() - sizeof(TWord);
        const TWord head = Load<TWord>(text.data()), last = Load<TWord>(text.data() + tail);
        if (((head | last) & static_cast<TWord>(0x8080808080808080u)) != 0) {
            return false;
        }
        std::memcpy(FBuffer + FLength, &head, sizeof head);
        std::memcpy(FBuffer + FLength + tail, &last, sizeof last);
        FLength += text.size();
        return true;
    }
    bool CopyShortAscii(std::string_view text)
    {
        if (text.empty() || text.size() > 16 || !HasRoomFor(16)) {
            return false;
        }
        if (text.size() >= 4) {
            return text.size() >= 8 ? CopyAsciiWords<std::uint64_t>(text)
                                    : CopyAsciiWords<std::uint32_t>(text);
        }
        // One to three bytes: the first, the middle and the last one, overlapping as needed.
        const std::size_t middle = text.size() / 2, last = text.size() - 1;
        if (((text[0] | text[middle] | text[last]) & 0x80) != 0) {
            return false;
        }
        FBuffer[FLength] = text[0];
        FBuffer[FLength + middle] = text[middle];
        FBuffer[FLength + last] = text[last];
        FLength += text.size();
        return true;
    }

    void NumberSlowly(unsigned value, std::size_t minDigits)
    {
        char digits[16];
        char *const end = std::end(digits);
        char *first = end;
        do {
            *--first = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (first > std::begin(digits) && static_cast<std::size_t>(end - first) < minDigits) {
            *--first = '0';
        }
        Text(std::string_view(first, static_cast<std::size_t>(end - first)));
    }

    char FBuffer[MaxFormattedLength * 4];
    std::size_t FLength = 0;
    std::size_t FContinuation = 0; // bytes that continue a multi-byte character
};

// Compares word by word inline, the last word overlapping the one before it: patterns are
// short, and a library call would cost more.
bool Equal(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    const auto word = [](std::string_view text, std::size_t at) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + at, sizeof w);
        return w;
    };
    if (a.size() < 8) {
        return std::equal(a.begin(), a.end(), b.begin());
    }
    for (std::size_t i = 0; i + 8 < a.size(); i += 8) {
        if (word(a, i) != word(b, i)) {
            return false;
        }
    }
    return word(a, a.size() - 8) == word(b, b.size() - 8);
}

// A pattern read once, its tokens kept for replay.
struct TReadPattern {
    std::string Pattern;
    bool WeekTags = false;
    std::vector<TPatternToken> Tokens;
};

// The program formats the same few patterns over and over (status bar, hint, copy menu, tray
// tip), so each thread keeps the tokens of the last few it read. Longer patterns are read while
// they are formatted.
constexpr std::size_t MaxKeptPatternLength = 1024;

struct TKeptPatterns {
    std::array<TReadPattern, 8> Patterns;
    std::size_t Last = 0; // the most recent hit or read, tried first
};

bool Matches(const TReadPattern &read, std::string_view pattern, bool weekTags)
{
    return read.WeekTags == weekTags && Equal(read.Pattern, pattern);
}

[[gnu::noinline]] const TReadPattern &ReadPatternAgain(TKeptPatterns &kept, std::string_view pattern,
                                                       bool weekTags)
{
    const auto hit = std::find_if(kept.Patterns.begin(), kept.Patterns.end(),
                                  [&](const TReadPattern &p) { return Matches(p, pattern, weekTags); });
    if (hit != kept.Patterns.end()) {
        kept.Last = static_cast<std::size_t>(hit - kept.Patterns.begin());
        return *hit;
    }
    kept.Last = (kept.Last + 1) % kept.Patterns.size();
    TReadPattern &p = kept.Patterns[kept.Last];
    p.Pattern.clear(); // matches no pattern until complete: patterns are never empty here
    p.Tokens.clear();
    p.WeekTags = weekTags;
    TPatternReader reader(pattern, false, weekTags);
    for (TPatternToken token; reader.Next(token);) {
        p.Tokens.push_back(token);
    }
    p.Pattern.assign(pattern);
    return p;
}

// The pattern of the previous call, the usual case, is tried inline.
const TReadPattern &ReadPattern(std::string_view pattern, bool weekTags)
{
    thread_local TKeptPatterns kept;
    const TReadPattern &last = kept.Patterns[kept.Last];
    return Matches(last, pattern, weekTags) ? last : ReadPatternAgain(kept, pattern, weekTags);
}

class TDateFormatter {
public:
    TDateFormatter(TDateTime date, const TFormatSettings &settings)
        : FSerial(date), FDay(civil::DayOf(date)), FIsoWeekday(civil::IsoWeekdayOfDay(FDay)),
          FSettings(settings)
    {
    }

    void Format(std::string_view pattern, bool weekTags)
    {
        if (pattern.size() > MaxKeptPatternLength) {
            Stream(pattern, false, weekTags);
            return;
        }
        const TReadPattern &read = ReadPattern(pattern, weekTags);
        // Every writer stops at the limit by itself, so the tokens need no test of their own.
        for (const TPatternToken &token : read.Tokens) {
            Apply(token, read.Pattern);
        }
    }

    std::string Result() const { return FOut.Str(); }

private:
    // Reads and formats at once; nested is true for the locale's formats.
    void Stream(std::string_view pattern, bool nested, bool weekTags)
    {
        TPatternReader reader(pattern, nested, weekTags);
        for (TPatternToken token; !FOut.Full() && reader.Next(token);) {
            Apply(token, pattern);
        }
    }

    // One of the locale's formats, expanded in place.
    void Nested(std::string_view format) { Stream(format, true, false); }

    // Inlined into both token loops: a call per token costs as much as most tokens' work.
    [[gnu::always_inline]] inline void Apply(const TPatternToken &token, std::string_view pattern);

    // The day once; everything else at its first use.
    const civil::TCivil &Date()
    {
        if (!FHaveDate) {
            FDate = civil::CivilOfDay(FDay);
            FHaveDate = true;
        }
        return FDate;
    }
    const TTimeParts &Time()
    {
        if (!FHaveTime) {
            FTime = SplitTime(FSerial);
            FHaveTime = true;
        }
        return FTime;
    }
    // Sunday 0 .. Saturday 6, the order of the name tables.
    std::size_t Weekday() const { return FIsoWeekday == 7 ? 0 : static_cast<std::size_t>(FIsoWeekday); }
    const TIsoWeek &Week()
    {
        if (!FHaveWeek) {
            FWeek = IsoWeekOfDay(FDay, Date(), FIsoWeekday);
            FHaveWeek = true;
        }
        return FWeek;
    }

    TDateTime FSerial;
    std::int32_t FDay;
    int FIsoWeekday; // Monday 1 .. Sunday 7
    const TFormatSettings &FSettings;
    TOutput FOut;
    bool FHaveDate = false;
    bool FHaveTime = false;
    bool FHaveWeek = false;
    civil::TCivil FDate{};
    TTimeParts FTime{};
    TIsoWeek FWeek{};
};

inline void TDateFormatter::Apply(const TPatternToken &token, std::string_view pattern)
{
    using enum TPatternTag;
    switch (token.Tag) {
    case Literal:
        FOut.Text(std::string_view(pattern.data() + token.Offset, token.Length));
        break;
    case Day:
        FOut.Number(Date().Day, token.Digits);
        break;
    case DayName:
        FOut.Text((token.Long ? FSettings.LongDayNames : FSettings.ShortDayNames)[Weekday()]);
        break;
    case Month:
        FOut.Number(Date().Month, token.Digits);
        break;
    case MonthName:
        FOut.Text((token.Long ? FSettings.LongMonthNames : FSettings.ShortMonthNames)[Date().Month - 1]);
        break;
    case Year: {
        const auto year = static_cast<unsigned>(Date().Year);
        FOut.Number(token.Digits == 2 ? year % 100 : year, token.Digits);
        break;
    }
    case EraYear:
        FOut.Number(static_cast<unsigned>(Date().Year), 1);
        break;
    case Hour:
        FOut.Number(token.Long ? (Time().Hour + 11u) % 12 + 1 : Time().Hour, token.Digits);
        break;
    case Minute:
        FOut.Number(Time().Minute, token.Digits);
        break;
    case Second:
        FOut.Number(Time().Second, token.Digits);
        break;
    case MSec:
        FOut.Number(Time().MSec, token.Digits);
        break;
    case DateSeparator:
        FOut.Text(FSettings.DateSeparator);
        break;
    case TimeSeparator:
        FOut.Text(FSettings.TimeSeparator);
        break;
    case AmPmLetters: {
        // am/pm: letters 0-1 or 3-4 as written; a/p: letter 0 or 2.
        const std::size_t width = token.Length == 5 ? 2 : 1;
        FOut.Text(pattern.substr(token.Offset + (Time().Hour >= 12 ? width + 1 : 0), width));
        break;
    }
    case AmPmDesignator:
        FOut.Text(Time().Hour >= 12 ? FSettings.TimePMString : FSettings.TimeAMString);
        break;
    case ShortDate:
    case LongDate:
        Nested(token.Tag == ShortDate ? FSettings.ShortDateFormat : FSettings.LongDateFormat);
        break;
    case ShortTime:
    case LongTime:
        Nested(token.Tag == ShortTime ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat);
        break;
    case DateTime:
        Nested(FSettings.ShortDateFormat);
        if (Time().Hour != 0 || Time().Minute != 0 || Time().Second != 0) {
            FOut.Text(" ");
            Nested(FSettings.LongTimeFormat);
        }
        break;
    case IsoWeek:
        FOut.Number(static_cast<unsigned>(Week().Week), token.Digits);
        break;
    case WeekYear:
        FOut.Number(static_cast<unsigned>(Week().Year), 1);
        break;
    case WeekYearTwoDigits:
        FOut.Number(static_cast<unsigned>(Week().Year) % 100, 2);
        break;
    case DayNumber:
        FOut.Number(static_cast<unsigned>(FDay - civil::DayOfCivil(Date().Year, 1, 1) + 1), token.Digits);
        break;
    case IsoWeekdayNumber:
        FOut.Number(static_cast<unsigned>(FIsoWeekday), 1);
        break;
    }
}

std::string Format(std::string_view pattern, TDateTime date, const TFormatSettings &settings, bool weekTags)
{
    TDateFormatter formatter(date, settings);
    formatter.Format(pattern.empty() ? std::string_view("c") : pattern, weekTags);
    return formatter.Result();
}

} // namespace

std::string FormatDateStandard(std::string_view pattern, TDateTime date, const TFormatSettings &settings)
{
    return Format(pattern, date, settings, false);
}

// Both stages in one pass: outside quotes the week tags are replaced by their values, which
// take part in nothing else, and every other character reaches the standard formatting as the
// second stage would see it.
std::string ExpandDateTags(std::string_view pattern, TDateTime date, const TFormatSettings &settings)
{
    return Format(pattern, date, settings, true);
}

std::string FormatDateStandard(std::string_view pattern, TDateTime date)
{
    return FormatDateStandard(pattern, date, ProgramFormatSettings());
}

std::string ExpandDateTags(std::string_view pattern, TDateTime date)
{
    return ExpandDateTags(pattern, date, ProgramFormatSettings());
}
