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

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
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
  orvani --format yyyy-mm-dd -f dates.txt       one date a line in, one formatted date a line out
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

// Our own options, for the unambiguous prefixes of their long names.
struct TOwnOption {
    const char *Name;
    bool TakesValue;
};
const TOwnOption OwnOptions[] = {
    {"help", false},      {"version", false}, {"format", true},          {"file", true},
    {"info", false},      {"lang", true},     {"export-settings", true}, {"import-settings", true},
    {"minimized", false}, {"tray", false}};

// Output goes through stdio; whether it arrived is checked once at the end (CloseStandardOutput).
void PrintLine(FILE *stream, const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
}

int Fail(const QString &message)
{
    PrintLine(stderr, "orvani: " + message.toStdString());
    return UsageError;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

int ToInt(std::string_view digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : -1;
}

// DATE: yyyy-mm-dd, or a date serial number with either decimal separator. Empty on success,
// otherwise what is wrong with it. Plain C++, as it runs for every line of a batch.
std::string ReadDate(std::string_view text, TDateTime &date)
{
    const auto quoted = [text] { return std::string("'").append(text).append("'"); };
    const auto outOfRange = [&] { return "the year of " + quoted() + " lies outside 1..9999"; };
    const std::size_t firstDash = text.find('-', 1);
    const std::size_t secondDash =
        firstDash == std::string_view::npos ? firstDash : text.find('-', firstDash + 1);
    if (secondDash != std::string_view::npos) {
        const std::string_view year = text.substr(0, firstDash);
        const std::string_view month = text.substr(firstDash + 1, secondDash - firstDash - 1);
        const std::string_view day = text.substr(secondDash + 1);
        if (AllDigits(year) && AllDigits(month) && AllDigits(day) && month.size() <= 2 && day.size() <= 2) {
            const int number = ToInt(year);
            if (number < 1 || number > 9999)
                return outOfRange();
            try {
                date = MakeDate(number, ToInt(month), ToInt(day));
                return {};
            } catch (const std::exception &) {
                return quoted() + " is not a date";
            }
        }
    }
    std::string serial(text);
    if (const std::size_t comma = serial.find(','); comma != std::string::npos)
        serial[comma] = '.';
    const bool signed_ = !serial.empty() && (serial.front() == '+' || serial.front() == '-');
    const std::string_view number = std::string_view(serial).substr(signed_ ? 1 : 0);
    const std::size_t point = number.find('.');
    if (AllDigits(number.substr(0, point)) &&
        (point == std::string_view::npos || AllDigits(number.substr(point + 1)))) {
        std::from_chars(serial.data() + (serial.front() == '+' ? 1 : 0), serial.data() + serial.size(), date);
        const bool inRange = std::trunc(date) >= MinDateSerial && std::trunc(date) <= MaxDateSerial;
        return inRange ? std::string() : outOfRange();
    }
    return quoted() + " is not a date: give yyyy-mm-dd or a date serial number such as 37773.5";
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

// One date a line from the file (standard input for "-"), each printed in the pattern, as GNU
// date -f does: a line that is no date is said on standard error with its number, the rest go on,
// and the status says whether any line was bad.
int FormatEachLine(const std::string &pattern, const std::string &path)
{
    const bool standardInput = path == "-";
    const std::unique_ptr<FILE, int (*)(FILE *)> file(standardInput ? stdin : std::fopen(path.c_str(), "r"),
                                                      standardInput ? [](FILE *) { return 0; } : std::fclose);
    if (!file) {
        PrintLine(stderr, "orvani: cannot read " + path + ": " + std::strerror(errno));
        return ActionFailed;
    }
    const TFormatSettings settings = FormatSettingsFromLocale(QLocale::system());
    const TDateTime today = Today();
    int status = 0;
    char *buffer = nullptr;
    std::size_t capacity = 0;
    for (long number = 1;; ++number) {
        const ssize_t length = getline(&buffer, &capacity, file.get());
        if (length < 0)
            break;
        std::string_view line(buffer, static_cast<std::size_t>(length));
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        // As for GNU date, an empty line is the start of today.
        TDateTime date = today;
        if (const std::string mistake = line.empty() ? std::string() : ReadDate(line, date);
            !mistake.empty()) {
            std::fflush(stdout); // the message follows the lines before it
            PrintLine(stderr, "orvani: " + (standardInput ? std::string("standard input") : path) + ":" +
                                  std::to_string(number) + ": " + mistake);
            status = ActionFailed;
            continue;
        }
        PrintLine(stdout, ExpandDateTags(pattern, date, settings));
    }
    const bool readFailed = std::ferror(file.get());
    std::free(buffer);
    if (readFailed) {
        PrintLine(stderr, "orvani: cannot read " + path + ": " + std::strerror(errno));
        return ActionFailed;
    }
    return status;
}

// Long options by an unambiguous prefix of their name (--vers), as GNU programs take them. A value
// written apart (--format PATTERN) is never read as an option. Empty on success, otherwise what is
// wrong.
QString ExpandPrefixes(QStringList &arguments)
{
    const auto among = [](const QString &name, const auto &names) {
        return std::any_of(std::begin(names), std::end(names),
                           [&](const char *other) { return name == other; });
    };
    const char *const shortValueOptions[] = {"f"};
    const char *const exactOnly[] = {"h", "v", "f"}; // the short names, also written --f
    bool valueFollows = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString &argument = arguments[i];
        if (valueFollows) {
            valueFollows = false;
            continue;
        }
        if (argument == "--")
            break;
        if (!argument.startsWith('-') || argument.size() == 1)
            continue;
        const bool isLong = argument.startsWith("--");
        const qsizetype equals = argument.indexOf('=');
        const QString name = argument.mid(isLong ? 2 : 1, equals < 0 ? -1 : equals - (isLong ? 2 : 1));
        QStringList matches;
        for (const TOwnOption &option : OwnOptions)
            if (isLong && QString(option.Name).startsWith(name))
                matches << option.Name;
        QString full = name;
        const bool exact =
            among(name, exactOnly) || among(name, QtValueOptions) || among(name, QtFlagOptions);
        if (isLong && !exact && !matches.contains(name) && matches.size() > 1)
            return QString("option '%1' is ambiguous; possibilities: --%2")
                .arg(argument.left(equals), matches.join(" --"));
        if (isLong && !exact && matches.size() == 1)
            full = matches.first();
        if (full != name)
            argument = "--" + full + (equals < 0 ? QString() : argument.mid(equals));
        valueFollows =
            equals < 0 && (among(full, shortValueOptions) || among(full, QtValueOptions) ||
                           std::any_of(std::begin(OwnOptions), std::end(OwnOptions),
                                       [&](const TOwnOption &o) { return o.TakesValue && full == o.Name; }));
    }
    return {};
}

// How an unknown option was written, dash and all.
QString AsWritten(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == "--")
            break;
        for (const QString &form : {"-" + name, "--" + name})
            if (argument == form || argument.startsWith(form + "="))
                return form;
    }
    return "--" + name;
}

// Standard output is checked once the action has ended, as the GNU tools do: output that could
// not be written (a full disc, a closed pipe) is a failure.
int CloseStandardOutput(int status)
{
    errno = 0;
    const bool failed = std::ferror(stdout) != 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (std::fclose(stdout) == 0 && flushed && !failed)
        return status;
    const int reason = error != 0 ? error : errno;
    PrintLine(stderr, std::string("orvani: write error") +
                          (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
    return ActionFailed;
}

std::optional<int> RunAction(QStringList arguments, TStartOptions &start)
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
    const QCommandLineOption file({"f", "file"},
                                  "With --format: one DATE a line from FILE (- for standard input) instead "
                                  "of DATE, each printed on a line of its own.",
                                  "FILE");
    const QCommandLineOption info("info", "Print the facts of the date information window, one "
                                          "\"caption: value\" line each, and end.");
    const QCommandLineOption lang("lang", "The language of --info: nl or en (default: that of the settings).",
                                  "nl|en");
    const QCommandLineOption exportSettings(
        "export-settings",
        "Write the settings to FILE (- for standard output) as the registry editor of Windows exports "
        "them, and end.",
        "FILE");
    const QCommandLineOption importSettings("import-settings",
                                            "Merge the values of FILE (- for standard input), a registry "
                                            "editor file, into the settings, and end.",
                                            "FILE");
    const QCommandLineOption minimized("minimized", "Start minimised, this once (the stored choice stays).");
    const QCommandLineOption tray("tray", "Start hidden in the notification area, this once (the stored "
                                          "choice stays).");
    parser.addOptions(
        {help, version, format, file, info, lang, exportSettings, importSettings, minimized, tray});
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

    if (const QString mistake = ExpandPrefixes(arguments); !mistake.isEmpty())
        return Fail(mistake + ". See orvani --help.");
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return Fail((unknown.isEmpty()
                         ? parser.errorText()
                         : QString("Unknown option '%1'.").arg(AsWritten(arguments, unknown.first()))) +
                    " See orvani --help.");
    }
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
    if (parser.isSet(file) && !parser.isSet(format))
        return Fail("-f goes with --format");
    if (parser.isSet(file) && !dates.isEmpty())
        return Fail(QString("give either DATE or -f, not both ('%1')").arg(dates.first()));
    if (actions > 0 && (parser.isSet(minimized) || parser.isSet(tray)))
        return Fail("--minimized and --tray go with starting the window");

    if (parser.isSet(file))
        return FormatEachLine(parser.value(format).toStdString(),
                              QFile::encodeName(parser.value(file)).toStdString());
    if (dated) {
        TDateTime date = parser.isSet(format) ? Now() : Today();
        if (!dates.isEmpty())
            if (const std::string mistake = ReadDate(dates.first().toStdString(), date); !mistake.empty())
                return Fail(QString::fromStdString(mistake));
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
                                       QFile::encodeName(parser.value(exportSettings)).toStdString(),
                                       LcidFromLocale(QLocale::system())));
    if (parser.isSet(importSettings))
        return Transfer(ImportSettings(QFile::encodeName(parser.value(importSettings)).toStdString(),
                                       DefaultSettingsPath()));

    start.Minimized = parser.isSet(minimized);
    start.Tray = parser.isSet(tray);
    return std::nullopt;
}

} // namespace

std::optional<int> RunCommandLine(const QStringList &arguments, TStartOptions &start)
{
    const std::optional<int> status = RunAction(arguments, start);
    return status ? std::optional(CloseStandardOutput(*status)) : std::nullopt;
}
