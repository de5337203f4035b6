#include "app/CommandLine.h"

#include "date/DateFormat.h"
#include "date/SerialText.h"
#include "dialogs/DatumInfoFacts.h"
#include "locale/SystemLocale.h"
#include "settings/FileRegistryBackend.h"
#include "settings/SettingsModel.h"
#include "settings/SettingsTransfer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

const char *const Help = R"(Usage: orvani [options] [DATE]
Orvani, a month calendar with week numbers and date tools.
With no option it starts the window, or brings back the one that runs already.

Options:
  -h, --help                Show this help and end.
  -v, --version             Show the version and end.
  --format <PATTERN>        Print DATE in PATTERN and end. PATTERN takes the
                            date tags of the Options window: w ww (ISO week), i
                            ii iiii (week-numbering year), f ff fff (day number
                            in the year), d dd ddd dddd, m mm mmm mmmm, yy yyyy,
                            ddddd dddddd (short and long date format), hh nn ss;
                            quote other text ('Week').
  -f, --file <FILE>         With --format: one DATE a line from FILE (- for
                            standard input) instead of DATE, each printed on a
                            line of its own.
  --info                    Print the facts of the date information window, one
                            "caption: value" line each, and end.
  --lang <nl|en>            The language of --info: nl or en (default: that of
                            the settings).
  --export-settings <FILE>  Write the settings to FILE (- for standard output)
                            as the registry editor of Windows exports them, and
                            end.
  --import-settings <FILE>  Merge the values of FILE (- for standard input), a
                            registry editor file, into the settings, and end.
  --minimized               Start minimised, this once (the stored choice
                            stays).
  --tray                    Start hidden in the notification area, this once
                            (the stored choice stays).

Arguments:
  DATE                      For --format and --info: yyyy-mm-dd, or a date
                            serial number (days since 30 December 1899, such as
                            37773.5); today when left out (for --format with the
                            time now).
)";

struct TOptionSpec {
    const char *Name;
    char Short; // 0: none
    bool TakesValue;
    bool Own; // false: one of Qt's own options of a windowed program, left for the application object
};
const TOptionSpec OptionSpecs[] = {
    {"help", 'h', false, true},
    {"version", 'v', false, true},
    {"format", 0, true, true},
    {"file", 'f', true, true},
    {"info", 0, false, true},
    {"lang", 0, true, true},
    {"export-settings", 0, true, true},
    {"import-settings", 0, true, true},
    {"minimized", 0, false, true},
    {"tray", 0, false, true},
    // -platform, -style, -session from the session manager, ...: accepted here, read by Qt.
    {"platform", 0, true, false},
    {"platformpluginpath", 0, true, false},
    {"platformtheme", 0, true, false},
    {"plugin", 0, true, false},
    {"display", 0, true, false},
    {"session", 0, true, false},
    {"style", 0, true, false},
    {"stylesheet", 0, true, false},
    {"qwindowgeometry", 0, true, false},
    {"geometry", 0, true, false},
    {"qwindowtitle", 0, true, false},
    {"title", 0, true, false},
    {"qwindowicon", 0, true, false},
    {"icon", 0, true, false},
    {"name", 0, true, false},
    {"reverse", 0, false, false},
    {"widgetcount", 0, false, false},
    {"nograb", 0, false, false},
    {"dograb", 0, false, false},
    {"sync", 0, false, false},
};

// The options given, by name, with the last value of each, and the other arguments.
struct TParsedOptions {
    std::map<std::string, std::string> Values;
    std::vector<std::string> Positional;

    bool IsSet(const char *name) const { return Values.count(name) > 0; }
    const std::string &Value(const char *name) const { return Values.at(name); }
};

// The option an argument names ("--format", "-format", "-f", "--form" for an unambiguous
// prefix of one of our own long names); what is wrong when it names none or several.
std::string FindOption(std::string_view written, std::string_view name, const TOptionSpec *&found)
{
    found = nullptr;
    for (const TOptionSpec &option : OptionSpecs) {
        if (name == option.Name || (name.size() == 1 && name[0] == option.Short)) {
            found = &option;
            return {};
        }
    }
    std::vector<const TOptionSpec *> matches;
    if (written.substr(0, 2) == "--" && !name.empty()) {
        for (const TOptionSpec &option : OptionSpecs)
            if (option.Own && std::string_view(option.Name).substr(0, name.size()) == name)
                matches.push_back(&option);
    }
    if (matches.size() == 1) {
        found = matches.front();
        return {};
    }
    if (matches.empty())
        return "Unknown option '" + std::string(written) + "'.";
    std::string names;
    for (const TOptionSpec *match : matches)
        names += std::string(names.empty() ? "--" : " --") + match->Name;
    return "option '" + std::string(written) + "' is ambiguous; possibilities: " + names;
}

// GNU habits: --name value, --name=value, -name as --name, -- ends the options. Empty on
// success, otherwise what is wrong.
std::string ParseOptions(const std::vector<std::string> &arguments, TParsedOptions &parsed)
{
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.Positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t dashes = argument[1] == '-' ? 2 : 1;
        const std::size_t equals = argument.find('=');
        const std::string written = argument.substr(0, equals);
        const TOptionSpec *option = nullptr;
        if (std::string mistake = FindOption(written, std::string_view(written).substr(dashes), option);
            !mistake.empty())
            return mistake;
        std::string value;
        if (equals != std::string::npos) {
            if (!option->TakesValue)
                return "Unexpected value after '" + written + "'.";
            value = argument.substr(equals + 1);
        } else if (option->TakesValue) {
            if (++i == arguments.size())
                return "Missing value after '" + written + "'.";
            value = arguments[i];
        }
        parsed.Values[option->Name] = value;
    }
    return {};
}

// Output goes through stdio; whether it arrived is checked once at the end (CloseStandardOutput).
void PrintLine(FILE *stream, const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
}

int Fail(const std::string &message)
{
    PrintLine(stderr, "orvani: " + message);
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
    if (const std::optional<double> serial = ParseDateSerial(text)) {
        date = *serial;
        const bool inRange = std::trunc(date) >= MinDateSerial && std::trunc(date) <= MaxDateSerial;
        return inRange ? std::string() : outOfRange();
    }
    return quoted() + " is not a date: give yyyy-mm-dd or a date serial number such as 37773.5";
}

// The interface language of the settings, read without writing anything; the locale's default
// when the settings hold none.
TLanguage StoredLanguage()
{
    TFileRegistryBackend store(DefaultSettingsPath());
    TSettingsModel settings(store);
    settings.ReadLeavingStore(SystemLocaleLcid());
    return LanguageOf(settings);
}

int PrintInfo(TDateTime date, TLanguage language)
{
    const TFormatSettings settings = SystemFormatSettings();
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
    const TFormatSettings settings = SystemFormatSettings();
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

std::optional<int> RunAction(const std::vector<std::string> &arguments, TStartOptions &start)
{
    TParsedOptions parsed;
    if (const std::string mistake = ParseOptions(arguments, parsed); !mistake.empty())
        return Fail(mistake + " See orvani --help.");
    const auto isSet = [&parsed](const char *name) { return parsed.IsSet(name); };
    if (isSet("help")) {
        PrintLine(stdout, std::string(Help) + Examples);
        return 0;
    }
    if (isSet("version")) {
        PrintLine(stdout, "Orvani " ORVANI_VERSION);
        return 0;
    }

    const std::vector<std::string> &dates = parsed.Positional;
    const bool dated = isSet("format") || isSet("info");
    const int actions = isSet("format") + isSet("info") + isSet("export-settings") + isSet("import-settings");
    if (actions > 1)
        return Fail("give one of --format, --info, --export-settings and --import-settings");
    if (dates.size() > (dated ? 1u : 0u))
        return Fail("unexpected argument '" + dates.at(dated ? 1 : 0) + "'. See orvani --help.");
    if (isSet("lang") && !isSet("info"))
        return Fail("--lang goes with --info");
    if (isSet("file") && !isSet("format"))
        return Fail("-f goes with --format");
    if (isSet("file") && !dates.empty())
        return Fail("give either DATE or -f, not both ('" + dates.front() + "')");
    if (actions > 0 && (isSet("minimized") || isSet("tray")))
        return Fail("--minimized and --tray go with starting the window");

    if (isSet("file"))
        return FormatEachLine(parsed.Value("format"), parsed.Value("file"));
    if (dated) {
        TDateTime date = isSet("format") ? Now() : Today();
        if (!dates.empty())
            if (const std::string mistake = ReadDate(dates.front(), date); !mistake.empty())
                return Fail(mistake);
        if (isSet("format")) {
            PrintLine(stdout, ExpandDateTags(parsed.Value("format"), date, SystemFormatSettings()));
            return 0;
        }
        if (!isSet("lang"))
            return PrintInfo(date, StoredLanguage());
        std::string language = parsed.Value("lang");
        std::transform(language.begin(), language.end(), language.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (language != "nl" && language != "en")
            return Fail("--lang takes nl or en, not '" + parsed.Value("lang") + "'");
        return PrintInfo(date, language == "nl" ? lnDutch : lnEnglish);
    }
    if (isSet("export-settings"))
        return Transfer(
            ExportSettings(DefaultSettingsPath(), parsed.Value("export-settings"), SystemLocaleLcid()));
    if (isSet("import-settings"))
        return Transfer(ImportSettings(parsed.Value("import-settings"), DefaultSettingsPath()));

    start.Minimized = isSet("minimized");
    start.Tray = isSet("tray");
    return std::nullopt;
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string> &arguments, TStartOptions &start)
{
    const std::optional<int> status = RunAction(arguments, start);
    return status ? std::optional(CloseStandardOutput(*status)) : std::nullopt;
}
