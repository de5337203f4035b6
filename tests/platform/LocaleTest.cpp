#include "platform/Locale.h"

#include "date/DateFormat.h"
#include "locale/SystemLocale.h"
#include "settings/Settings.h"

#include <QDate>
#include <QTime>
#include <gtest/gtest.h>

namespace {

// Friday 20 June 2003, 14:05:09.
const TDateTime Sample = MakeDate(2003, 6, 20) + (14 * 3600 + 5 * 60 + 9) / 86400.0;

} // namespace

TEST(FormatSettingsFromLocale, ConvertsNamedLocales)
{
    struct Case {
        const char *Locale;
        const char *ShortDate, *DateSeparator, *LongDate;
        const char *ShortTime, *LongTime, *TimeSeparator;
        const char *Am, *Pm, *Decimal;
        const char *Sunday, *Sun, *June, *Jun;
    };
    const Case cases[] = {
        {"en_US", "m/d/yy", "/", "dddd, mmmm d, yyyy", "h:nn ampm", "h:nn:ss ampm", ":", "AM", "PM", ".",
         "Sunday", "Sun", "June", "Jun"},
        {"en_GB", "dd/mm/yyyy", "/", "dddd, d mmmm yyyy", "hh:nn", "hh:nn:ss", ":", "am", "pm", ".", "Sunday",
         "Sun", "June", "Jun"},
        {"nl_NL", "dd/mm/yyyy", "-", "dddd d mmmm yyyy", "hh:nn", "hh:nn:ss", ":", "a.m.", "p.m.", ",",
         "zondag", "zo", "juni", "jun."},
        {"de_DE", "dd/mm/yy", ".", "dddd, d. mmmm yyyy", "hh:nn", "hh:nn:ss", ":", "AM", "PM", ",", "Sonntag",
         "So.", "Juni", "Juni"},
        {"fr_FR", "dd/mm/yyyy", "/", "dddd d mmmm yyyy", "hh:nn", "hh:nn:ss", ":", "AM", "PM", ",",
         "dimanche", "dim.", "juin", "juin"},
        {"fi_FI", "d/m/yyyy", ".", "dddd d. mmmm yyyy", "h:nn", "h:nn:ss", ".", "ap.", "ip.", ",",
         "sunnuntaina", "su", "kes\xC3\xA4kuuta", "kes\xC3\xA4k."},
    };
    for (const Case &c : cases) {
        const TFormatSettings s = FormatSettingsFromLocale(QLocale(c.Locale));
        SCOPED_TRACE(c.Locale);
        EXPECT_EQ(s.ShortDateFormat, c.ShortDate);
        EXPECT_EQ(s.DateSeparator, c.DateSeparator);
        EXPECT_EQ(s.LongDateFormat, c.LongDate);
        EXPECT_EQ(s.ShortTimeFormat, c.ShortTime);
        EXPECT_EQ(s.LongTimeFormat, c.LongTime);
        EXPECT_EQ(s.TimeSeparator, c.TimeSeparator);
        EXPECT_EQ(s.TimeAMString, c.Am);
        EXPECT_EQ(s.TimePMString, c.Pm);
        EXPECT_EQ(s.DecimalSeparator, c.Decimal);
        EXPECT_EQ(s.LongDayNames[0], c.Sunday);
        EXPECT_EQ(s.ShortDayNames[0], c.Sun);
        EXPECT_EQ(s.LongMonthNames[5], c.June);
        EXPECT_EQ(s.ShortMonthNames[5], c.Jun);
    }
}

TEST(FormatSettingsFromLocale, NamesRunFromSundayAndJanuary)
{
    const TFormatSettings s = FormatSettingsFromLocale(QLocale("en_US"));
    EXPECT_EQ(s.LongDayNames[1], "Monday");
    EXPECT_EQ(s.LongDayNames[6], "Saturday");
    EXPECT_EQ(s.ShortDayNames[6], "Sat");
    EXPECT_EQ(s.LongMonthNames[0], "January");
    EXPECT_EQ(s.ShortMonthNames[11], "Dec");
}

TEST(PatternFromQtFormat, TranslatesQtSyntax)
{
    struct Case {
        const char *Format;
        char16_t Separator;
        char Tag;
        const char *Pattern;
    };
    const Case cases[] = {
        {"M/d/yy", u'/', '/', "m/d/yy"},
        {"dd-MM-yyyy", u'-', '/', "dd/mm/yyyy"},
        {"ddd dddd MMM MMMM", 0, '/', "ddd dddd mmm mmmm"},
        {"h:mm:ss AP t", u':', ':', "h:nn:ss ampm"},
        {"hh.mm ap", u'.', ':', "hh:nn ampm"},
        {"H:m:s A", u':', ':', "h:n:s ampm"},
        {"HH:mm:ss.zzz a", u':', ':', "hh:nn:ss.zzz ampm"},
        {"H:mm:ss (t)", u':', ':', "h:nn:ss"},
        {"t HH:mm:ss", u':', ':', "hh:nn:ss"},
        {"HH 'h' mm", 0, ':', "hh \"h\" nn"},
        {"dddd, d 'de' MMMM 'de' yyyy", 0, '/', "dddd, d \"de\" mmmm \"de\" yyyy"},
        {"d 'o''clock'", 0, '/', "d \"o'clock\""},
        {"''d", 0, '/', "\"'\"d"},
        {"d'\"'", 0, '/', "d'\"'"},
        {"yyyy\xE5\xB9\xB4M\xE6\x9C\x88", 0, '/', "yyyy\"\xE5\xB9\xB4\"m\"\xE6\x9C\x88\""},
        // Unquoted letters that are no Qt field are text, and so are a lone y and the third of yyy.
        {"dd T hh", 0, '/', "dd \"T\" hh"},
        {"d-M-y", u'-', '/', "d/m/\"y\""},
        {"yyy", 0, '/', "yy\"y\""},
        // Only the separator becomes a tag; other signs the formatter would read are quoted.
        {"dd'.'MM.yy", u'.', '/', "dd\".\"mm/yy"},
        {"dd:MM/yy", u'-', '/', "dd\":\"mm\"/\"yy"},
    };
    for (const Case &c : cases) {
        const QChar separator = c.Separator ? QChar(c.Separator) : QChar();
        EXPECT_EQ(PatternFromQtFormat(QString::fromUtf8(c.Format), separator, c.Tag), c.Pattern) << c.Format;
    }
}

TEST(FormatSettingsFromLocale, FormatsDatesAsTheLocaleDoes)
{
    struct Case {
        const char *Locale;
        const char *ShortDate, *LongDate, *ShortTime, *LongTime;
    };
    const Case cases[] = {
        {"en_US", "6/20/03", "Friday, June 20, 2003", "2:05 PM", "2:05:09 PM"},
        {"en_GB", "20/06/2003", "Friday, 20 June 2003", "14:05", "14:05:09"},
        {"nl_NL", "20-06-2003", "vrijdag 20 juni 2003", "14:05", "14:05:09"},
        {"de_DE", "20.06.03", "Freitag, 20. Juni 2003", "14:05", "14:05:09"},
        {"fr_FR", "20/06/2003", "vendredi 20 juin 2003", "14:05", "14:05:09"},
        {"fr_CA", "2003-06-20", "vendredi 20 juin 2003", "14 h 05", "14 h 05 min 09 s"},
        {"es_ES", "20/6/03", "viernes, 20 de junio de 2003", "14:05", "14:05:09"},
    };
    for (const Case &c : cases) {
        const TFormatSettings s = FormatSettingsFromLocale(QLocale(c.Locale));
        SCOPED_TRACE(c.Locale);
        EXPECT_EQ(FormatDateStandard(s.ShortDateFormat, Sample, s), c.ShortDate);
        EXPECT_EQ(FormatDateStandard(s.LongDateFormat, Sample, s), c.LongDate);
        EXPECT_EQ(FormatDateStandard(s.ShortTimeFormat, Sample, s), c.ShortTime);
        EXPECT_EQ(FormatDateStandard(s.LongTimeFormat, Sample, s), c.LongTime);
    }
}

TEST(FormatSettingsFromLocale, AgreesWithQtAcrossScripts)
{
    // Locales with Latin digits and designators Qt shows unchanged.
    for (const char *name : {"nl_BE", "ja_JP", "ko_KR", "zh_CN", "fi_FI", "hu_HU", "bg_BG", "da_DK", "sv_SE",
                             "cs_CZ", "pt_BR", "he_IL", "ru_RU", "pl_PL", "tr_TR"}) {
        const QLocale locale(name);
        const TFormatSettings s = FormatSettingsFromLocale(locale);
        SCOPED_TRACE(name);
        EXPECT_EQ(FormatDateStandard(s.ShortDateFormat, Sample, s),
                  locale.toString(QDate(2003, 6, 20), QLocale::ShortFormat).toStdString());
        EXPECT_EQ(FormatDateStandard(s.LongDateFormat, Sample, s),
                  locale.toString(QDate(2003, 6, 20), QLocale::LongFormat).toStdString());
        EXPECT_EQ(FormatDateStandard(s.ShortTimeFormat, Sample, s),
                  locale.toString(QTime(14, 5, 9), QLocale::ShortFormat).toStdString());
    }
}

TEST(FormatSettingsFromLocale, FeedsTheUserPatterns)
{
    const TFormatSettings dutch = FormatSettingsFromLocale(QLocale("nl_NL"));
    EXPECT_EQ(ExpandDateTags("ww * dddd dd-mm-yy * yyyy", Sample, dutch), "25 * vrijdag 20-06-03 * 2003");
    const TFormatSettings german = FormatSettingsFromLocale(QLocale("de_DE"));
    EXPECT_EQ(FormatDateStandard("dd/mm/yyyy", Sample, german), "20.06.2003");
    EXPECT_EQ(FormatDateStandard("c", MakeDate(2003, 6, 20), german), "20.06.03");
}

TEST(LcidFromLocale, FollowsLanguageAndTerritory)
{
    struct Case {
        const char *Locale;
        std::uint32_t Lcid;
    };
    const Case cases[] = {
        {"nl_NL", 0x0413},
        {"nl_BE", 0x0813},
        {"fr_FR", 0x040C},
        {"fr_BE", 0x080C},
        {"fr_CA", 0x0C0C},
        {"fr_CH", 0x100C},
        {"fr_LU", 0x140C},
        {"fr_SN", 0x280C},
        {"de_DE", 0x0407},
        {"de_CH", 0x0807},
        {"de_AT", 0x0C07},
        {"de_LU", 0x1007},
        {"de_LI", 0x1407},
        {"es_ES", 0x0C0A},
        {"es_MX", 0x080A},
        {"es_GT", 0x100A},
        {"es_CR", 0x140A},
        {"es_PA", 0x180A},
        {"es_DO", 0x1C0A},
        {"es_VE", 0x200A},
        {"es_CO", 0x240A},
        {"es_PE", 0x280A},
        {"es_AR", 0x2C0A},
        {"es_EC", 0x300A},
        {"es_CL", 0x340A},
        {"es_UY", 0x380A},
        {"es_PY", 0x3C0A},
        {"es_BO", 0x400A},
        {"es_SV", 0x440A},
        {"es_HN", 0x480A},
        {"es_NI", 0x4C0A},
        {"es_PR", 0x500A},
        {"es_US", 0x540A},
        {"en_US", 0x0409},
        {"en_GB", 0x0809},
        {"en_AU", 0x0C09},
        // Anything else is English.
        {"it_IT", 0x0409},
        {"ja_JP", 0x0409},
        {"nl_SR", 0x0409},
        {"C", 0x0409},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(LcidFromLocale(QLocale(c.Locale)), c.Lcid) << c.Locale;
    }
}

TEST(LcidFromLocale, GivesTheInterfaceLanguageDefault)
{
    struct Case {
        const char *Locale;
        std::int32_t Taal;
    };
    for (const Case c : {Case{"nl_BE", 0}, Case{"fr_CA", 2}, Case{"fr_SN", 1}, Case{"de_AT", 3},
                         Case{"es_AR", 4}, Case{"es_US", 1}, Case{"en_GB", 1}, Case{"pl_PL", 1}}) {
        EXPECT_EQ(LanguageDefaultForLcid(LcidFromLocale(QLocale(c.Locale))), c.Taal) << c.Locale;
    }
}

namespace {

std::string AllTexts(TFormatSettings settings)
{
    std::string all;
    ForEachText(settings, [&](const std::string &text) { all += text + '|'; });
    return all;
}

// Sets the locale variables of a row for the length of a scope, and takes them back after.
class TScopedLocaleVariables {
public:
    explicit TScopedLocaleVariables(const std::vector<std::pair<const char *, const char *>> &values)
    {
        for (const char *name : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
            FSaved.emplace_back(name, qgetenv(name));
            qunsetenv(name);
        }
        for (const auto &[name, value] : values)
            qputenv(name, value);
    }
    ~TScopedLocaleVariables()
    {
        for (const auto &[name, value] : FSaved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

private:
    std::vector<std::pair<const char *, QByteArray>> FSaved;
};

} // namespace

// The window and the command line read the locale from a table made at build time: for every
// locale the toolkit knows, and for names as the environment holds them, it gives what the
// toolkit gives.
TEST(FormatSettingsForLocale, GivesWhatTheToolkitGives)
{
    QStringList names{"C",           "POSIX",      "C.UTF-8",     "",      "nl_NL.UTF-8", "de_DE@euro",
                      "sr_RS@latin", "sr_Latn_RS", "zh_TW.UTF-8", "xx_DE", "nl_XX",       "de-AT",
                      "es_419",      "en"};
    for (const QLocale &locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        names << locale.name() + ".UTF-8" << locale.bcp47Name();
    for (const QString &name : names) {
        const std::string text = name.toStdString();
        SCOPED_TRACE(text);
        EXPECT_EQ(AllTexts(FormatSettingsForLocale(text, text)),
                  AllTexts(FormatSettingsFromLocale(QLocale(name))));
        EXPECT_EQ(LcidForLocale(text), LcidFromLocale(QLocale(name)));
    }
}

TEST(SystemFormatSettings, ReadsTheVariablesAsTheToolkitDoes)
{
    struct Case {
        std::vector<std::pair<const char *, const char *>> Variables;
        const char *Sunday, *Decimal;
        std::uint32_t Lcid;
    };
    const Case cases[] = {
        {{{"LANG", "nl_NL.UTF-8"}}, "zondag", ",", 0x0413},
        {{{"LANG", "nl_NL.UTF-8"}, {"LC_TIME", "de_DE.UTF-8"}, {"LC_NUMERIC", "en_US.UTF-8"}},
         "Sonntag",
         ".",
         0x0413},
        {{{"LC_ALL", "fr_FR.UTF-8"}, {"LC_TIME", "de_DE.UTF-8"}, {"LANG", "nl_NL"}}, "dimanche", ",", 0x040C},
        {{{"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "nl_BE.UTF-8"}}, "Sunday", ".", 0x0813},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "nl:en"}}, "Sunday", ".", 0x0413},
        {{{"LANG", "nl_NL.UTF-8"}, {"LANGUAGE", "nl"}}, "zondag", ",", 0x0413},
        {{}, "Sunday", ".", 0x0409},
    };
    for (const Case &c : cases) {
        const TScopedLocaleVariables variables(c.Variables);
        const TFormatSettings settings = SystemFormatSettings();
        SCOPED_TRACE(c.Sunday);
        EXPECT_EQ(settings.LongDayNames[0], c.Sunday);
        EXPECT_EQ(settings.DecimalSeparator, c.Decimal);
        EXPECT_EQ(SystemLocaleLcid(), c.Lcid);
    }
}
