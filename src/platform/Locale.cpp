#include "platform/Locale.h"

#include <vector>

namespace {

// One piece of a Qt format: a field (Count > 0: Letter taken Count times) or one literal character.
struct QtPart {
    QChar Letter;
    int Count = 0;
    bool Quoted = false;
};

bool IsField(const QtPart &part, char16_t letter)
{
    return part.Count > 0 && part.Letter == letter;
}
bool IsLiteral(const QtPart &part, char16_t c)
{
    return part.Count == 0 && !part.Quoted && part.Letter == c;
}

// The length of the field at format[i] as Qt's own formatter takes it, 0 for literal text: runs of
// d and M up to four, h, H, m and s up to two, z as one or three, yy or yyyy (a lone y is text),
// a or A with an optional p, any run of t.
qsizetype FieldLength(const QString &format, qsizetype i)
{
    const QChar c = format[i];
    qsizetype run = 1;
    while (i + run < format.size() && format[i + run] == c) {
        ++run;
    }
    switch (c.unicode()) {
    case u'd':
    case u'M':
        return std::min<qsizetype>(run, 4);
    case u'h':
    case u'H':
    case u'm':
    case u's':
        return std::min<qsizetype>(run, 2);
    case u'z':
        return run >= 3 ? 3 : 1;
    case u'y':
        return run >= 4 ? 4 : (run >= 2 ? 2 : 0);
    case u'a':
    case u'A':
        return (i + 1 < format.size() && format[i + 1].toLower() == u'p') ? 2 : 1;
    case u't':
        return run;
    default:
        return 0;
    }
}

// Text in single quotes is literal; two single quotes stand for one, inside quotes and out.
std::vector<QtPart> SplitQtFormat(const QString &format)
{
    std::vector<QtPart> parts;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        if (format[i] == u'\'') {
            const bool doubled = i + 1 < format.size() && format[i + 1] == u'\'';
            if (doubled) {
                parts.push_back({u'\'', 0, true});
            } else {
                quoted = !quoted;
            }
            i += doubled ? 2 : 1;
            continue;
        }
        const qsizetype length = quoted ? 0 : FieldLength(format, i);
        parts.push_back({format[i], static_cast<int>(length), quoted});
        i += std::max<qsizetype>(length, 1);
    }
    return parts;
}

// The program's formats carry no time zone: drop zone fields with their parentheses and the
// blanks that set them apart.
std::vector<QtPart> WithoutTimeZones(const std::vector<QtPart> &parts)
{
    std::vector<QtPart> kept;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!IsField(parts[i], u't')) {
            kept.push_back(parts[i]);
            continue;
        }
        if (!kept.empty() && IsLiteral(kept.back(), u'(') && i + 1 < parts.size() &&
            IsLiteral(parts[i + 1], u')')) {
            kept.pop_back();
            ++i;
        }
        while (!kept.empty() && IsLiteral(kept.back(), u' ')) {
            kept.pop_back();
        }
        while (kept.empty() && i + 1 < parts.size() && IsLiteral(parts[i + 1], u' ')) {
            ++i;
        }
    }
    return kept;
}

std::string ProgramTag(const QtPart &part)
{
    const auto count = static_cast<std::size_t>(part.Count);
    switch (part.Letter.unicode()) {
    case u'M':
        return std::string(count, 'm');
    case u'h':
    case u'H':
        return std::string(count, 'h');
    case u'm':
        return std::string(count, 'n');
    case u'a':
    case u'A':
        return "ampm";
    default: // d, y, s and z are the same in both languages
        return std::string(count, static_cast<char>(part.Letter.unicode()));
    }
}

// Builds a pattern, quoting literal text the program's formatter would otherwise read as tags.
class PatternWriter {
public:
    void Tag(const std::string &tag)
    {
        Flush();
        FOut += tag;
    }
    void Text(QChar c, bool quoted)
    {
        if (c == u'"') {
            Flush();
            FOut += "'\"'";
        } else if (!quoted && IsPlain(c)) {
            Flush();
            FOut += static_cast<char>(c.unicode());
        } else {
            FRun += c;
        }
    }
    std::string Finish()
    {
        Flush();
        return std::move(FOut);
    }

private:
    // ASCII that is neither a letter (tags) nor a separator or quote sign stands for itself.
    static bool IsPlain(QChar c)
    {
        return c.unicode() < 0x80 && !c.isLetter() && c != u'/' && c != u':' && c != u'\'';
    }
    void Flush()
    {
        if (!FRun.isEmpty()) {
            FOut += '"' + FRun.toStdString() + '"';
            FRun.clear();
        }
    }

    std::string FOut;
    QString FRun;
};

// The first unquoted literal of a format that is neither a letter, a blank nor an invisible
// direction mark; null when there is none.
QChar SeparatorOf(const QString &format)
{
    for (const QtPart &part : SplitQtFormat(format)) {
        const QChar c = part.Letter;
        if (part.Count == 0 && !part.Quoted && !c.isLetter() && !c.isSpace() &&
            c.category() != QChar::Other_Format) {
            return c;
        }
    }
    return {};
}

std::string SeparatorText(QChar separator, const char *fallback)
{
    return separator.isNull() ? fallback : QString(separator).toStdString();
}

struct LcidOfLocale {
    QLocale::Language Language;
    QLocale::Territory Territory;
    std::uint32_t Lcid;
};

// Windows identifiers of the languages whose default interface language differs, and of English.
// Spain has two identifiers (traditional sort 0x040A, modern 0x0C0A); a locale means the modern one.
constexpr LcidOfLocale LcidTable[] = {
    {QLocale::Dutch, QLocale::Netherlands, 0x0413},
    {QLocale::Dutch, QLocale::Belgium, 0x0813},
    {QLocale::French, QLocale::France, 0x040C},
    {QLocale::French, QLocale::Belgium, 0x080C},
    {QLocale::French, QLocale::Canada, 0x0C0C},
    {QLocale::French, QLocale::Switzerland, 0x100C},
    {QLocale::French, QLocale::Luxembourg, 0x140C},
    {QLocale::French, QLocale::Monaco, 0x180C},
    {QLocale::French, QLocale::Reunion, 0x200C},
    {QLocale::French, QLocale::CongoKinshasa, 0x240C},
    {QLocale::French, QLocale::Senegal, 0x280C},
    {QLocale::French, QLocale::Cameroon, 0x2C0C},
    {QLocale::French, QLocale::IvoryCoast, 0x300C},
    {QLocale::French, QLocale::Mali, 0x340C},
    {QLocale::French, QLocale::Morocco, 0x380C},
    {QLocale::French, QLocale::Haiti, 0x3C0C},
    {QLocale::German, QLocale::Germany, 0x0407},
    {QLocale::German, QLocale::Switzerland, 0x0807},
    {QLocale::German, QLocale::Austria, 0x0C07},
    {QLocale::German, QLocale::Luxembourg, 0x1007},
    {QLocale::German, QLocale::Liechtenstein, 0x1407},
    {QLocale::Spanish, QLocale::Mexico, 0x080A},
    {QLocale::Spanish, QLocale::Spain, 0x0C0A},
    {QLocale::Spanish, QLocale::Guatemala, 0x100A},
    {QLocale::Spanish, QLocale::CostaRica, 0x140A},
    {QLocale::Spanish, QLocale::Panama, 0x180A},
    {QLocale::Spanish, QLocale::DominicanRepublic, 0x1C0A},
    {QLocale::Spanish, QLocale::Venezuela, 0x200A},
    {QLocale::Spanish, QLocale::Colombia, 0x240A},
    {QLocale::Spanish, QLocale::Peru, 0x280A},
    {QLocale::Spanish, QLocale::Argentina, 0x2C0A},
    {QLocale::Spanish, QLocale::Ecuador, 0x300A},
    {QLocale::Spanish, QLocale::Chile, 0x340A},
    {QLocale::Spanish, QLocale::Uruguay, 0x380A},
    {QLocale::Spanish, QLocale::Paraguay, 0x3C0A},
    {QLocale::Spanish, QLocale::Bolivia, 0x400A},
    {QLocale::Spanish, QLocale::ElSalvador, 0x440A},
    {QLocale::Spanish, QLocale::Honduras, 0x480A},
    {QLocale::Spanish, QLocale::Nicaragua, 0x4C0A},
    {QLocale::Spanish, QLocale::PuertoRico, 0x500A},
    {QLocale::Spanish, QLocale::UnitedStates, 0x540A},
    {QLocale::Spanish, QLocale::LatinAmerica, 0x580A},
    {QLocale::English, QLocale::UnitedStates, 0x0409},
    {QLocale::English, QLocale::UnitedKingdom, 0x0809},
    {QLocale::English, QLocale::Australia, 0x0C09},
    {QLocale::English, QLocale::Canada, 0x1009},
    {QLocale::English, QLocale::NewZealand, 0x1409},
    {QLocale::English, QLocale::Ireland, 0x1809},
    {QLocale::English, QLocale::SouthAfrica, 0x1C09},
    {QLocale::English, QLocale::Jamaica, 0x2009},
    {QLocale::English, QLocale::Belize, 0x2809},
    {QLocale::English, QLocale::TrinidadAndTobago, 0x2C09},
    {QLocale::English, QLocale::Zimbabwe, 0x3009},
    {QLocale::English, QLocale::Philippines, 0x3409},
    {QLocale::English, QLocale::India, 0x4009},
    {QLocale::English, QLocale::Malaysia, 0x4409},
    {QLocale::English, QLocale::Singapore, 0x4809},
};
constexpr std::uint32_t EnglishUnitedStates = 0x0409;

} // namespace

std::string PatternFromQtFormat(const QString &format, QChar separator, char tag)
{
    PatternWriter writer;
    for (const QtPart &part : WithoutTimeZones(SplitQtFormat(format))) {
        if (part.Count > 0) {
            writer.Tag(ProgramTag(part));
        } else if (!part.Quoted && !separator.isNull() && part.Letter == separator) {
            writer.Tag(std::string(1, tag));
        } else {
            writer.Text(part.Letter, part.Quoted);
        }
    }
    return writer.Finish();
}

TFormatSettings FormatSettingsFromLocale(const QLocale &locale)
{
    TFormatSettings settings;
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day; // Qt counts from Monday
        settings.LongDayNames[day] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
        settings.ShortDayNames[day] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
    }
    for (int month = 0; month < 12; ++month) {
        settings.LongMonthNames[month] = locale.monthName(month + 1, QLocale::LongFormat).toStdString();
        settings.ShortMonthNames[month] = locale.monthName(month + 1, QLocale::ShortFormat).toStdString();
    }
    // The separators are those of the short formats; the long date format keeps its own
    // punctuation as literal text.
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QChar dateSeparator = SeparatorOf(shortDate);
    settings.ShortDateFormat = PatternFromQtFormat(shortDate, dateSeparator, '/');
    settings.LongDateFormat = PatternFromQtFormat(locale.dateFormat(QLocale::LongFormat));
    settings.DateSeparator = SeparatorText(dateSeparator, "/");

    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    const QString longTime = locale.timeFormat(QLocale::LongFormat);
    const QChar timeSeparator =
        SeparatorOf(shortTime).isNull() ? SeparatorOf(longTime) : SeparatorOf(shortTime);
    settings.ShortTimeFormat = PatternFromQtFormat(shortTime, timeSeparator, ':');
    settings.LongTimeFormat = PatternFromQtFormat(longTime, timeSeparator, ':');
    settings.TimeSeparator = SeparatorText(timeSeparator, ":");

    settings.TimeAMString = locale.amText().toStdString();
    settings.TimePMString = locale.pmText().toStdString();
    settings.DecimalSeparator = locale.decimalPoint().toStdString();
    return settings;
}

std::uint32_t LcidFromLocale(const QLocale &locale)
{
    for (const LcidOfLocale &entry : LcidTable) {
        if (entry.Language == locale.language() && entry.Territory == locale.territory()) {
            return entry.Lcid;
        }
    }
    return EnglishUnitedStates;
}
