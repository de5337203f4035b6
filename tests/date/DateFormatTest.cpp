#include "date/DateFormat.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

TFormatSettings English()
{
    TFormatSettings s = DefaultFormatSettings(); // English names
    s.ShortDateFormat = "m/d/yyyy";
    s.LongDateFormat = "dddd, mmmm d, yyyy";
    s.ShortTimeFormat = "h:nn ampm";
    s.LongTimeFormat = "h:nn:ss ampm";
    s.DateSeparator = "/";
    s.TimeSeparator = ":";
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
    return s;
}

TFormatSettings Dutch()
{
    TFormatSettings s;
    s.LongDayNames = {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"};
    s.ShortDayNames = {"zo", "ma", "di", "wo", "do", "vr", "za"};
    s.LongMonthNames = {"januari", "februari", "maart",     "april",   "mei",      "juni",
                        "juli",    "augustus", "september", "oktober", "november", "december"};
    s.ShortMonthNames = {"jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec"};
    s.ShortDateFormat = "d/m/yyyy";
    s.LongDateFormat = "dddd d mmmm yyyy";
    s.ShortTimeFormat = "hh:nn";
    s.LongTimeFormat = "hh:nn:ss";
    s.DateSeparator = "-";
    s.TimeSeparator = ":";
    s.TimeAMString = "";
    s.TimePMString = "";
    return s;
}

TDateTime At(int y, int m, int d, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return MakeDate(y, m, d) + (((hour * 60 + minute) * 60 + second) * 1000 + ms) / 86400000.0;
}

// Friday 20 June 2003, ISO week 25, day 171.
const TDateTime Afternoon = At(2003, 6, 20, 13, 5, 9, 45);
const TDateTime Midnight = At(2003, 6, 20);

struct Case {
    const char *pattern;
    TDateTime date;
    const char *expected;
};

void ExpectStandard(const std::vector<Case> &cases, const TFormatSettings &settings)
{
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDateStandard(c.pattern, c.date, settings), c.expected)
            << "pattern [" << c.pattern << "]";
    }
}

void ExpectExpanded(const std::vector<Case> &cases, const TFormatSettings &settings)
{
    for (const auto &c : cases) {
        EXPECT_EQ(ExpandDateTags(c.pattern, c.date, settings), c.expected) << "pattern [" << c.pattern << "]";
    }
}

std::size_t Utf8Characters(const std::string &s)
{
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// True when s is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view s)
{
    for (std::size_t length = 0; !s.empty(); s.remove_prefix(length)) {
        length = DecodeUtf8(s).Length;
        if (length == 0) {
            return false;
        }
    }
    return true;
}

// The first stage of ExpandDateTags exactly as its scan is documented: the result so far, the
// rest of the pattern and a scan position; values inserted between double quotes.
std::string TwoStageReference(std::string rest, TDateTime date, const TFormatSettings &settings)
{
    const TIsoWeek week = IsoWeekAndYear(date);
    const int dayNumber = DayNumberInYear(date);
    auto padded = [](int value, std::size_t digits) {
        std::string s = std::to_string(value);
        return std::string(s.size() < digits ? digits - s.size() : 0, '0') + s;
    };
    std::string result;
    std::size_t pos = 0;
    auto move = [&](std::size_t n) {
        result += rest.substr(0, n);
        rest.erase(0, n);
        pos = 0;
    };
    while (pos < rest.size()) {
        const char c = rest[pos];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '"' || c == '\'') {
            move(pos + 1);
            const std::size_t close = rest.find(c);
            if (close == std::string::npos) {
                result += rest;
                rest.clear();
                break;
            }
            move(close + 1);
        } else if (lower == 'e' || lower == 'f' || lower == 'i' || lower == 'w') {
            move(pos);
            const std::size_t longest = lower == 'w' ? 2 : lower == 'i' ? 4 : lower == 'f' ? 3 : 1;
            std::size_t n = 1;
            while (n < longest && n < rest.size() &&
                   std::tolower(static_cast<unsigned char>(rest[n])) == lower) {
                ++n;
            }
            rest.erase(0, n);
            std::string value;
            if (lower == 'w') {
                value = padded(week.Week, n);
            } else if (lower == 'i') {
                value = n == 2 ? padded(week.Year % 100, 2) : std::to_string(week.Year);
            } else if (lower == 'f') {
                value = padded(dayNumber, n);
            } else {
                value = std::to_string(IsoWeekday(date));
            }
            result += '"' + value + '"';
        } else {
            ++pos;
        }
    }
    return FormatDateStandard(result + rest, date, settings);
}

// ---------------------------------------------------------------------------------------------
// The standard formatting

TEST(FormatDateStandard, DayMonthYearAndNames)
{
    ExpectStandard(
        {
            {"d", Afternoon, "20"},        {"dd", Afternoon, "20"},
            {"d", At(2003, 6, 5), "5"},    {"dd", At(2003, 6, 5), "05"},
            {"ddd", Afternoon, "Fri"},     {"dddd", Afternoon, "Friday"},
            {"m", Afternoon, "6"},         {"mm", Afternoon, "06"},
            {"mmm", Afternoon, "Jun"},     {"mmmm", Afternoon, "June"},
            {"mmmmmm", Afternoon, "June"}, {"y", Afternoon, "03"},
            {"yy", Afternoon, "03"},       {"yyy", Afternoon, "2003"},
            {"yyyyyy", Afternoon, "2003"}, {"yyyy", At(5, 3, 1), "0005"},
            {"yy", At(5, 3, 1), "05"},     {"aaa", Afternoon, "Fri"},
            {"aaaa", Afternoon, "Friday"}, {"AaA", Afternoon, "Fri"},
            {"dd-mm", Afternoon, "20-06"}, {"g", Afternoon, ""},
            {"gg", Afternoon, ""},         {"e", Afternoon, "2003"},
            {"ee", At(5, 3, 1), "5"},      {"DD MMM YYYY", Afternoon, "20 Jun 2003"},
            {"Dd", Afternoon, "2020"},     {"Dddd", Afternoon, "20Fri"},
            {"mM", Afternoon, "66"},
        },
        English());
}

TEST(FormatDateStandard, TimeAndTheMinutesRule)
{
    ExpectStandard(
        {
            {"h", Afternoon, "13"},
            {"hh", Afternoon, "13"},
            {"h", At(2003, 6, 20, 9), "9"},
            {"hh", At(2003, 6, 20, 9), "09"},
            {"hhh", At(2003, 6, 20, 9), "09"},
            {"n", Afternoon, "5"},
            {"nn", Afternoon, "05"},
            {"nnn", Afternoon, "05"},
            {"s", Afternoon, "9"},
            {"ss", Afternoon, "09"},
            {"z", Afternoon, "45"},
            {"zz", Afternoon, "45"},
            {"zzz", Afternoon, "045"},
            {"zzzz", Afternoon, "045"},
            {"hh:mm", Afternoon, "13:05"},
            {"h:m", Afternoon, "13:5"},
            {"hh mm", Afternoon, "13 05"},
            {"hmm", Afternoon, "1305"},
            {"hh'h'mm", Afternoon, "13h05"},
            {"HH:MM", Afternoon, "13:05"},
            {"h m m", Afternoon, "13 5 6"},
            {"h x mm", Afternoon, "13 x 06"},
            {"hh:mmm", Afternoon, "13:Jun"},
            {"mm:hh", Afternoon, "06:13"},
            {"hh:nn:ss.zzz", Afternoon, "13:05:09.045"},
        },
        English());
}

TEST(FormatDateStandard, TwelveHourForms)
{
    const TDateTime morning = At(2003, 6, 20, 9, 30);
    const TDateTime noon = At(2003, 6, 20, 12);
    ExpectStandard(
        {
            {"am/pm", Afternoon, "pm"},
            {"AM/PM", Afternoon, "PM"},
            {"Am/pM", Afternoon, "pM"},
            {"AM/pm", morning, "AM"},
            {"AM/pm", Afternoon, "pm"},
            {"a/p", Afternoon, "p"},
            {"A/P", morning, "A"},
            {"ampm", Afternoon, "PM"},
            {"AMPM", morning, "AM"},
            {"h am/pm", Afternoon, "1 pm"},
            {"hh AM/PM", Afternoon, "01 PM"},
            {"h am/pm", Midnight, "12 am"},
            {"h a/p", noon, "12 p"},
            {"h:nn ampm", Afternoon, "1:05 PM"},
            {"am/pm h", Afternoon, "pm 1"},
            {"h 'am/pm'", Afternoon, "13 am/pm"},
            {"h \"x\" am/pm", Afternoon, "1 x pm"},
            {"h aaa am/pm", Afternoon, "13 Fri pm"},
            {"h h am/pm", Afternoon, "13 1 pm"},
            {"a", Afternoon, "a"},
            {"h a", Afternoon, "13 a"},
        },
        English());
}

TEST(FormatDateStandard, LocaleFormatsAndSeparators)
{
    ExpectStandard(
        {
            {"ddddd", Afternoon, "6/20/2003"},
            {"dddddd", Afternoon, "Friday, June 20, 2003"},
            {"ddddddddd", Afternoon, "Friday, June 20, 2003"},
            {"t", Afternoon, "1:05 PM"},
            {"tt", Afternoon, "1:05:09 PM"},
            {"c", Afternoon, "6/20/2003 1:05:09 PM"},
            {"c", Midnight, "6/20/2003"},
            {"c", At(2003, 6, 20, 0, 0, 0, 500), "6/20/2003"},
            {"", Midnight, "6/20/2003"},
            {"", Afternoon, "6/20/2003 1:05:09 PM"},
            {"dd/mm hh:nn", Afternoon, "20/06 13:05"},
        },
        English());
    ExpectStandard(
        {
            {"dddd", Afternoon, "vrijdag"},
            {"mmmm", Afternoon, "juni"},
            {"ddddd", Afternoon, "20-6-2003"},
            {"dddddd", Afternoon, "vrijdag 20 juni 2003"},
            {"c", Afternoon, "20-6-2003 13:05:09"},
            {"t", Afternoon, "13:05"},
            {"ampm", Afternoon, ""},
            {"dd/mm/yyyy", Afternoon, "20-06-2003"},
        },
        Dutch());
}

TEST(FormatDateStandard, FormatsExpandOneLevelDeep)
{
    TFormatSettings s = English();
    s.ShortDateFormat = "d.c.t.tt.ddddd.dddddd.m";
    s.LongTimeFormat = "h:mm:ss"; // minutes after h inside a format too
    s.DateSeparator = "";
    s.TimeSeparator = "";
    ExpectStandard(
        {
            {"ddddd", Afternoon, "20......6"},
            {"c", Afternoon, "20......6 130509"},
            {"tt", Afternoon, "130509"},
            {"d/m h:n", Afternoon, "206 135"},
        },
        s);
}

TEST(FormatDateStandard, QuotesAndLiterals)
{
    ExpectStandard(
        {
            {"'ww'", Afternoon, "ww"},
            {"\"dd\"", Afternoon, "dd"},
            {"'it''s'", Afternoon, "its"},
            {"\"a'b\" dd", Afternoon, "a'b 20"},
            {"'unterminated dd", Afternoon, "unterminated dd"},
            {"x * k", Afternoon, "x * k"},
            {"dd \xC3\xA9 mm", Afternoon, "20 \xC3\xA9 06"},
            {"dd\xFFmm", Afternoon,
             "20\xEF\xBF\xBD"
             "06"},
            {"\xE2\x82", Afternoon, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        },
        English());
}

TEST(FormatDateStandard, OutputIsCutAtTheFirst256Characters)
{
    const TFormatSettings s = English();
    EXPECT_EQ(FormatDateStandard(std::string(300, 'x'), Afternoon, s), std::string(256, 'x'));
    std::string days;
    std::string pattern;
    for (int i = 0; i < 100; ++i) {
        days += "Friday";
        pattern += "aaaa"; // aaaa does not run on into the next repetition, dddd would
    }
    EXPECT_EQ(FormatDateStandard(pattern, Afternoon, s), days.substr(0, 256));
    std::string accented;
    for (int i = 0; i < 300; ++i) {
        accented += "\xC3\xA9";
    }
    const std::string cut = FormatDateStandard(accented, Afternoon, s);
    EXPECT_EQ(cut, accented.substr(0, 512)); // 256 two-byte characters
    EXPECT_EQ(FormatDateStandard(std::string(255, 'x') + "\xC3\xA9\xC3\xA9", Afternoon, s),
              std::string(255, 'x') + "\xC3\xA9");
}

TEST(FormatDateStandard, RepeatedPatternsFollowTheirDateAndLocale)
{
    // More patterns than the formatter keeps read, in rounds, with the locale and date changing
    // under the same pattern.
    struct Repeat {
        const char *pattern;
        TDateTime date;
        bool dutch;
        const char *expected;
    };
    const Repeat cases[] = {
        {"dddd", Afternoon, false, "Friday"},
        {"dddd", Afternoon, true, "vrijdag"},
        {"dddd", At(2003, 6, 22), false, "Sunday"},
        {"mmmm yyyy", Afternoon, true, "juni 2003"},
        {"c", Afternoon, false, "6/20/2003 1:05:09 PM"},
        {"c", Afternoon, true, "20-6-2003 13:05:09"},
        {"h am/pm", Afternoon, false, "1 pm"},
        {"hh:mm", At(2003, 6, 20, 7, 8), false, "07:08"},
        {"d/m", Afternoon, true, "20-6"},
        {"d/m", Afternoon, false, "20/6"},
        {"'x' y", Afternoon, false, "x 03"},
        {"zzz", Afternoon, false, "045"},
    };
    for (int round = 0; round < 3; ++round) {
        for (const auto &c : cases) {
            EXPECT_EQ(FormatDateStandard(c.pattern, c.date, c.dutch ? Dutch() : English()), c.expected)
                << c.pattern << " round " << round;
        }
    }
}

TEST(FormatDateStandard, VeryLongPatterns)
{
    const std::string dashes(5000, '-');
    EXPECT_EQ(FormatDateStandard("dddd " + dashes, Afternoon, English()), "Friday " + dashes.substr(0, 249));
    EXPECT_EQ(ExpandDateTags(dashes + "ww", Afternoon, English()), dashes.substr(0, 256));
    EXPECT_EQ(ExpandDateTags(std::string(3000, '\'') + "ww", Afternoon, English()), "25"); // empty quotes
    EXPECT_EQ(ExpandDateTags(std::string(3001, '\'') + "ww", Afternoon, English()), "ww");
}

// ---------------------------------------------------------------------------------------------
// The week tags of ExpandDateTags

TEST(ExpandDateTags, DefaultPatternInEnglishAndDutch)
{
    const TDateTime friday = At(2003, 6, 20);
    EXPECT_EQ(ExpandDateTags("ww * dddd dd-mm-yy * yyyy", friday, English()), "25 * Friday 20-06-03 * 2003");
    EXPECT_EQ(ExpandDateTags("ww * dddd dd-mm-yy * yyyy", friday, Dutch()), "25 * vrijdag 20-06-03 * 2003");
    EXPECT_EQ(ExpandDateTags("'Week' ww/iiii", At(2005, 1, 1), English()), "Week 53/2004");
    EXPECT_EQ(ExpandDateTags("'Week' ww/iiii", At(2005, 1, 1), Dutch()), "Week 53-2004");
}

TEST(ExpandDateTags, WeekYearAndDayNumberTags)
{
    const TDateTime week5 = At(2003, 1, 31); // Friday of week 5
    ExpectExpanded(
        {
            {"ww", week5, "05"},
            {"w", week5, "5"},
            {"www", week5, "055"},
            {"Ww", week5, "05"},
            {"wW", week5, "05"},
            {"fff", At(2003, 2, 1), "032"},
            {"f", At(2004, 12, 31), "366"},
            {"ff", At(2003, 1, 5), "05"},
            {"ffff", At(2003, 2, 1), "03232"},
            {"iiii ww", At(2024, 12, 30), "2025 01"},
            {"iiii ww", At(2005, 1, 1), "2004 53"},
            {"i", At(2005, 1, 1), "2004"},
            {"ii", At(2005, 1, 1), "04"},
            {"ii", At(2001, 1, 1), "01"},
            {"iii", At(2005, 1, 1), "2004"},
            {"iiiii", At(2005, 1, 1), "20042004"},
            {"IiIi", At(2005, 1, 1), "2004"},
            {"e", At(2003, 6, 20), "5"},
            {"E", At(2003, 6, 22), "7"},
            {"ee", At(2003, 6, 16), "11"},
            {"Week ww", At(2003, 6, 20), "2555k 25"},
            {"'Week' ww", At(2003, 6, 20), "Week 25"},
            {"'ww'", week5, "ww"},
            {"\"ww\"", week5, "ww"},
            {"'ww", week5, "ww"},
            {"hh:mm", Afternoon, "13:05"},
            {"hwm", Afternoon, "13255"},
            {"", Midnight, "6/20/2003"},
        },
        English());
}

TEST(ExpandDateTags, DatesOutsideTheRangeGiveTheNearestEnd)
{
    const TFormatSettings s = English();
    EXPECT_EQ(ExpandDateTags("ww iiii dddd d mmmm yyyy f", 1e9, s), "52 9999 Friday 31 December 9999 365");
    EXPECT_EQ(ExpandDateTags("ww iiii dddd d mmmm yyyy f", -1e9, s), "01 1 Monday 1 January 0001 1");
    EXPECT_EQ(ExpandDateTags("ww i dd-mm-yyyy e", std::nan(""), s), "52 1899 30-12-1899 6");
    EXPECT_EQ(ExpandDateTags("ww i hh:nn", INFINITY, s), "52 9999 00:00");
    EXPECT_EQ(ExpandDateTags("ww i", At(9999, 12, 29), s), "52 9999");
}

// ---------------------------------------------------------------------------------------------
// Properties over many random patterns

std::string RandomPattern(std::mt19937 &random)
{
    static const char *const pieces[] = {"d",    "dd",       "ddd",
                                         "dddd", "ddddd",    "dddddd",
                                         "m",    "mm",       "mmm",
                                         "mmmm", "y",        "yy",
                                         "yyyy", "h",        "hh",
                                         "n",    "s",        "z",
                                         "zzz",  "t",        "tt",
                                         "c",    "a",        "am/pm",
                                         "A/P",  "ampm",     "aaa",
                                         "aaaa", "g",        "e",
                                         "E",    "w",        "W",
                                         "i",    "I",        "f",
                                         "F",    "'",        "\"",
                                         "/",    ":",        " ",
                                         "x",    "k",        "-",
                                         "*",    "H",        "M",
                                         "D",    "\xC3\xA9", "\xE2\x82\xAC",
                                         "\xFF", "\x80",     "\xF0\x9F\x98\x80"};
    std::uniform_int_distribution<std::size_t> length(0, 60);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string pattern;
    for (std::size_t n = length(random); n > 0; --n) {
        pattern += pieces[pick(random)];
    }
    return pattern;
}

TEST(DateFormatProperties, RandomPatternsNeverThrowStayShortAndValid)
{
    std::mt19937 random(20030620);
    std::uniform_real_distribution<double> serial(MinDateSerial - 1000, MaxDateSerial + 1000);
    const TFormatSettings settings[] = {English(), Dutch()};
    for (int i = 0; i < 20000; ++i) {
        const std::string pattern = RandomPattern(random);
        const TDateTime date = serial(random);
        for (const auto &s : settings) {
            std::string standard, expanded;
            ASSERT_NO_THROW(standard = FormatDateStandard(pattern, date, s)) << pattern;
            ASSERT_NO_THROW(expanded = ExpandDateTags(pattern, date, s)) << pattern;
            for (const std::string *out : {&standard, &expanded}) {
                ASSERT_LE(Utf8Characters(*out), MaxFormattedLength) << pattern;
                ASSERT_TRUE(IsValidUtf8(*out)) << pattern;
            }
        }
    }
}

TEST(DateFormatProperties, ExpandDateTagsEqualsTheDocumentedTwoStages)
{
    std::mt19937 random(1899);
    std::uniform_real_distribution<double> serial(MinDateSerial, MaxDateSerial);
    const TFormatSettings settings[] = {English(), Dutch()};
    for (int i = 0; i < 20000; ++i) {
        const std::string pattern = RandomPattern(random);
        const TDateTime date = serial(random);
        for (const auto &s : settings) {
            ASSERT_EQ(ExpandDateTags(pattern, date, s), TwoStageReference(pattern, date, s)) << pattern;
        }
    }
}

TEST(DateFormatProperties, ProgramSettingsOverloadsUseTheProgramInstance)
{
    const TFormatSettings saved = ProgramFormatSettings();
    SetProgramFormatSettings(Dutch());
    EXPECT_EQ(FormatDateStandard("dddd", Afternoon), "vrijdag");
    EXPECT_EQ(ExpandDateTags("ww dddd", Afternoon), "25 vrijdag");
    SetProgramFormatSettings(saved);
}

} // namespace
