#include "app/CommandLine.h"

#include "date/DateFormat.h"
#include "dialogs/DatumInfoFacts.h"
#include "platform/Locale.h"
#include "settings/FileRegistryBackend.h"
#include "settings/Settings.h"
#include "settings/SettingsTransfer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr int ActionFailed = 1;
constexpr int UsageError = 2;

const char *const Examples = R"(
Examples:
  orvani --format "'Week' ww iiii" 2005-01-01   prints: Week 53 2004
  orvani --format "dddd d mmmm yyyy, 'day' f"   today, with its day number in the year
  orvani --info 2004-02-29 --lang en            the date information sheet as text
  orvani --format ddddd 37773.5                 a date serial number: 1 June 2003
  orvani --export-settings orvani.reg           for the registry editor of Windows
  orvani --import-settings orvani.reg           takes the values of a registry editor file
)";

// Qt's own options of a windowed program (-platform, -style, -session from the session manager,
// ...): accepted here and left for the application object.
const char *const QtValueOptions[] = {
    "platform",   "platformpluginpath", "platformtheme", "plugin",       "display", "session",     "style",
    "stylesheet", "qwindowgeometry",    "geometry",      "qwindowtitle", "title",   "qwindowicon", "icon",
    "name"};
const char *const QtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void PrintLine(FILE *stream, const std::string &line)
{
    std::fputs((line + "\n").c_str(), stream);
}

int Fail(const QString &message)
{
    PrintLine(stderr, "orvani: " + message.toStdString());
    return UsageError;
}

// DATE: yyyy-mm-dd, or a date serial number with either decimal separator. Empty on success,
// otherwise what is wrong with it.
QString ReadDate(const QString &text, TDateTime &date)
{
    static const QRegularExpression iso("^([0-9]+)-([0-9]{1,2})-([0-9]{1,2})$");
    static const QRegularExpression serial("^[+-]?[0-9]+([.,][0-9]+)?$");
    const QString outOfRange = QString("the year of '%1' lies outside 1..9999").arg(text);
    if (const QRegularExpressionMatch parts = iso.match(text); parts.hasMatch()) {
        bool ok = false;
        const int year = parts.captured(1).toInt(&ok);
        if (!ok || year < 1 || year > 9999)
            return outOfRange;
        try {
            date = MakeDate(year, parts.captured(2).toInt(), parts.captured(3).toInt());
            return {};
        } catch (const std::exception &) {
            return QString("'%1' is not a date").arg(text);
        }
    }
    if (serial.match(text).hasMatch()) {
        date = QString(text).replace(',', '.').toDouble();
        const bool inRange = std::trunc(date) >= MinDateSerial && std::trunc(date) <= MaxDateSerial;
        return inRange ? QString() : outOfRange;
    }
    return QString("'%1' is not a date: give yyyy-mm-dd or a date serial number such as 37773.5").arg(text);
}

// The interface language of the settings, read without writing anything; the locale's default
// when the settings hold none.
TLanguage StoredLanguage()
{
    std::int32_t taal = LanguageDefaultForLcid(LcidFromLocale(QLocale::system()));
    try {
        TFileRegistryBackend store(DefaultSettingsPath());
        TRegistry reg(store);
        if (reg.OpenKey("\\Software\\KX\\Orvani\\Algemeen", false) &&
            reg.GetDataType("Taal") == TRegDataType::rdInteger)
            taal = reg.ReadInteger("Taal");
    } catch (const std::exception &) {
        // An unreadable store: the default stands.
    }
    return LanguageOf(taal);
}

int PrintInfo(TDateTime date, TLanguage language)
{
    const TFormatSettings settings = FormatSettingsFromLocale(QLocale::system());
    for (const TInfoLine &line : DateInfoLines(std::trunc(date), Today(), language, settings))
        PrintLine(stdout, line.Caption + ": " + line.Value);
    return 0;
}

// The settings functions say themselves what went wrong, in one line.
int Transfer(const std::string &failure)
{
    if (failure.empty())
        return 0;
    PrintLine(stderr, failure);
    return ActionFailed;
}

} // namespace

std::optional<int> RunCommandLine(const QStringList &arguments, TStartOptions &start)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription("Orvani, a month calendar with week numbers and date tools.\n"
                                     "With no option it starts the window, or brings back the one "
                                     "that runs already.");
    const QCommandLineOption help({"h", "help"}, "Show this help and end.");
    const QCommandLineOption version({"v", "version"}, "Show the version and end.");
    const QCommandLineOption format(
        "format",
        "Print DATE in PATTERN and end. PATTERN takes the date tags of the Options window: "
        "w ww (ISO week), i ii iiii (week-numbering year), f ff fff (day number in the year), "
        "d dd ddd dddd, m mm mmm mmmm, yy yyyy, ddddd dddddd (short and long date format), "
        "hh nn ss; quote other text ('Week').",
        "PATTERN");
    const QCommandLineOption info("info", "Print the facts of the date information window, one "
                                          "\"caption: value\" line each, and end.");
    const QCommandLineOption lang("lang", "The language of --info: nl or en (default: that of the settings).",
                                  "nl|en");
    const QCommandLineOption exportSettings(
        "export-settings",
        "Write the settings to FILE as the registry editor of Windows exports them, and end.", "FILE");
    const QCommandLineOption importSettings(
        "import-settings", "Merge the values of FILE, a registry editor file, into the settings, and end.",
        "FILE");
    const QCommandLineOption minimized("minimized", "Start minimised, this once (the stored choice stays).");
    const QCommandLineOption tray("tray", "Start hidden in the notification area, this once (the stored "
                                          "choice stays).");
    parser.addOptions({help, version, format, info, lang, exportSettings, importSettings, minimized, tray});
    parser.addPositionalArgument("DATE",
                                 "For --format and --info: yyyy-mm-dd, or a date serial number (days since "
                                 "30 December 1899, such as 37773.5); today when left out (for --format with "
                                 "the time now).",
                                 "[DATE]");
    for (const char *name : QtValueOptions) {
        QCommandLineOption option(name, "", "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : QtFlagOptions) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments))
        return Fail(parser.errorText() + " See orvani --help.");
    if (parser.isSet(help)) {
        // Without an application object Qt cannot know the program's name for the usage line.
        const QString usage = parser.helpText().replace("<executable_name>", "orvani");
        PrintLine(stdout, (usage + Examples).toStdString());
        return 0;
    }
    if (parser.isSet(version)) {
        PrintLine(stdout, "Orvani " ORVANI_VERSION);
        return 0;
    }

    const QStringList dates = parser.positionalArguments();
    const bool dated = parser.isSet(format) || parser.isSet(info);
    const int actions = parser.isSet(format) + parser.isSet(info) + parser.isSet(exportSettings) +
                        parser.isSet(importSettings);
    if (actions > 1)
        return Fail("give one of --format, --info, --export-settings and --import-settings");
    if (dates.size() > (dated ? 1 : 0))
        return Fail(QString("unexpected argument '%1'. See orvani --help.").arg(dates.at(dated ? 1 : 0)));
    if (parser.isSet(lang) && !parser.isSet(info))
        return Fail("--lang goes with --info");
    if (actions > 0 && (parser.isSet(minimized) || parser.isSet(tray)))
        return Fail("--minimized and --tray go with starting the window");

    if (dated) {
        TDateTime date = parser.isSet(format) ? Now() : Today();
        if (!dates.isEmpty())
            if (const QString mistake = ReadDate(dates.first(), date); !mistake.isEmpty())
                return Fail(mistake);
        if (parser.isSet(format)) {
            const TFormatSettings settings = FormatSettingsFromLocale(QLocale::system());
            PrintLine(stdout, ExpandDateTags(parser.value(format).toStdString(), date, settings));
            return 0;
        }
        if (!parser.isSet(lang))
            return PrintInfo(date, StoredLanguage());
        const QString language = parser.value(lang).toLower();
        if (language != "nl" && language != "en")
            return Fail(QString("--lang takes nl or en, not '%1'").arg(parser.value(lang)));
        return PrintInfo(date, language == "nl" ? lnDutch : lnEnglish);
    }
    if (parser.isSet(exportSettings))
        return Transfer(ExportSettings(DefaultSettingsPath(),
                                       QFile::encodeName(parser.value(exportSettings)).toStdString()));
    if (parser.isSet(importSettings))
        return Transfer(ImportSettings(QFile::encodeName(parser.value(importSettings)).toStdString(),
                                       DefaultSettingsPath()));

    start.Minimized = parser.isSet(minimized);
    start.Tray = parser.isSet(tray);
    return std::nullopt;
}
