#include "date/DateFormat.h"

#include "date/DatePattern.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace {

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
        const std::size_t length = Utf8SequenceLength(text);
        if (!Full()) {
            const std::string_view character = length != 0 ? text.substr(0, length) : "\xEF\xBF\xBD";
            std::copy(character.begin(), character.end(), buffer_ + length_);
            length_ += character.size();
            continuation_ += character.size() - 1;
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
            std::memcpy(buffer_ + length_, &DigitPairs[2 * value + 2 - n], 2);
            length_ += n;
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
        std::memcpy(buffer_ + length_, &word, 4);
        length_ += n;
    }

    std::string Str() const { return {buffer_, length_}; }

private:
    std::size_t Room() const { return MaxFormattedLength - (length_ - continuation_); }
    // A quick, cautious test: there are never more characters than bytes.
    bool HasRoomFor(std::size_t characters) const { return length_ <= MaxFormattedLength - characters; }

    [[gnu::noinline]] void TextSlowly(std::string_view text)
    {
        while (!text.empty() && !Full()) {
            const std::size_t room = std::min(text.size(), Room());
            char *const out = buffer_ + length_;
            std::size_t n = 0;
            while (n < room && (text[n] & 0x80) == 0) {
                out[n] = text[n];
                ++n;
            }
            length_ += n;
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
        std::memcpy(buffer_ + length_, &head, sizeof head);
        std::memcpy(buffer_ + length_ + tail, &last, sizeof last);
        length_ += text.size();
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
        buffer_[length_] = text[0];
        buffer_[length_ + middle] = text[middle];
        buffer_[length_ + last] = text[last];
        length_ += text.size();
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

    char buffer_[MaxFormattedLength * 4];
    std::size_t length_ = 0;
    std::size_t continuation_ = 0; // bytes that continue a multi-byte character
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
        : serial_(date), day_(civil::DayOf(date)), isoWeekday_(civil::IsoWeekdayOfDay(day_)),
          settings_(settings)
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

    std::string Result() const { return out_.Str(); }

private:
    // Reads and formats at once; nested is true for the locale's formats.
    void Stream(std::string_view pattern, bool nested, bool weekTags)
    {
        TPatternReader reader(pattern, nested, weekTags);
        for (TPatternToken token; !out_.Full() && reader.Next(token);) {
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
        if (!haveDate_) {
            date_ = civil::CivilOfDay(day_);
            haveDate_ = true;
        }
        return date_;
    }
    const TTimeParts &Time()
    {
        if (!haveTime_) {
            time_ = SplitTime(serial_);
            haveTime_ = true;
        }
        return time_;
    }
    // Sunday 0 .. Saturday 6, the order of the name tables.
    std::size_t Weekday() const { return isoWeekday_ == 7 ? 0 : static_cast<std::size_t>(isoWeekday_); }
    const TIsoWeek &Week()
    {
        if (!haveWeek_) {
            week_ = IsoWeekOfDay(day_, Date(), isoWeekday_);
            haveWeek_ = true;
        }
        return week_;
    }

    TDateTime serial_;
    std::int32_t day_;
    int isoWeekday_; // Monday 1 .. Sunday 7
    const TFormatSettings &settings_;
    TOutput out_;
    bool haveDate_ = false;
    bool haveTime_ = false;
    bool haveWeek_ = false;
    civil::TCivil date_{};
    TTimeParts time_{};
    TIsoWeek week_{};
};

inline void TDateFormatter::Apply(const TPatternToken &token, std::string_view pattern)
{
    using enum TPatternTag;
    switch (token.Tag) {
    case Literal:
        out_.Text(std::string_view(pattern.data() + token.Offset, token.Length));
        break;
    case Day:
        out_.Number(Date().Day, token.Digits);
        break;
    case DayName:
        out_.Text((token.Long ? settings_.LongDayNames : settings_.ShortDayNames)[Weekday()]);
        break;
    case Month:
        out_.Number(Date().Month, token.Digits);
        break;
    case MonthName:
        out_.Text((token.Long ? settings_.LongMonthNames : settings_.ShortMonthNames)[Date().Month - 1]);
        break;
    case Year: {
        const auto year = static_cast<unsigned>(Date().Year);
        out_.Number(token.Digits == 2 ? year % 100 : year, token.Digits);
        break;
    }
    case EraYear:
        out_.Number(static_cast<unsigned>(Date().Year), 1);
        break;
    case Hour:
        out_.Number(token.Long ? (Time().Hour + 11u) % 12 + 1 : Time().Hour, token.Digits);
        break;
    case Minute:
        out_.Number(Time().Minute, token.Digits);
        break;
    case Second:
        out_.Number(Time().Second, token.Digits);
        break;
    case MSec:
        out_.Number(Time().MSec, token.Digits);
        break;
    case DateSeparator:
        out_.Text(settings_.DateSeparator);
        break;
    case TimeSeparator:
        out_.Text(settings_.TimeSeparator);
        break;
    case AmPmLetters: {
        // am/pm: letters 0-1 or 3-4 as written; a/p: letter 0 or 2.
        const std::size_t width = token.Length == 5 ? 2 : 1;
        out_.Text(pattern.substr(token.Offset + (Time().Hour >= 12 ? width + 1 : 0), width));
        break;
    }
    case AmPmDesignator:
        out_.Text(Time().Hour >= 12 ? settings_.TimePMString : settings_.TimeAMString);
        break;
    case ShortDate:
    case LongDate:
        Nested(token.Tag == ShortDate ? settings_.ShortDateFormat : settings_.LongDateFormat);
        break;
    case ShortTime:
    case LongTime:
        Nested(token.Tag == ShortTime ? settings_.ShortTimeFormat : settings_.LongTimeFormat);
        break;
    case DateTime:
        Nested(settings_.ShortDateFormat);
        if (Time().Hour != 0 || Time().Minute != 0 || Time().Second != 0) {
            out_.Text(" ");
            Nested(settings_.LongTimeFormat);
        }
        break;
    case IsoWeek:
        out_.Number(static_cast<unsigned>(Week().Week), token.Digits);
        break;
    case WeekYear:
        out_.Number(static_cast<unsigned>(Week().Year), 1);
        break;
    case WeekYearTwoDigits:
        out_.Number(static_cast<unsigned>(Week().Year) % 100, 2);
        break;
    case DayNumber:
        out_.Number(static_cast<unsigned>(day_ - civil::DayOfCivil(Date().Year, 1, 1) + 1), token.Digits);
        break;
    case IsoWeekdayNumber:
        out_.Number(static_cast<unsigned>(isoWeekday_), 1);
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
