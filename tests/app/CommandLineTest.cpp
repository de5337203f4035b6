#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 30 December 1899 is day 0 of the date serials.
qint64 DaysSinceDayZero(QDate date)
{
    return QDate(1899, 12, 30).daysTo(date);
}

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
    QByteArray Bytes; // standard output as written
};

// Runs the program as a terminal would with no display at all, in its own settings and runtime
// folders and the given locale, with input on standard input. Standard output goes to output
// when given, as a shell sends it where a redirection says (SIGPIPE ignored, as some shells do).
class CommandLine : public testing::Test {
protected:
    TRun Run(const QStringList &arguments, const char *locale = "en_GB.UTF-8", const QByteArray &input = {},
             int output = -1)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_TIME"})
            environment.remove(name);
        environment.insert("LC_ALL", locale);
        environment.insert("XDG_CONFIG_HOME", config.path());
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        if (output >= 0)
            program.setChildProcessModifier([output] {
                std::signal(SIGPIPE, SIG_IGN);
                dup2(output, STDOUT_FILENO);
            });
        program.start(qEnvironmentVariable("ORVANI_BUILD_DIR") + "/orvani", arguments);
        program.write(input);
        program.closeWriteChannel();
        EXPECT_TRUE(program.waitForFinished(30000)) << arguments.join(' ').toStdString();
        const QByteArray bytes = program.readAllStandardOutput();
        return {program.exitCode(), QString::fromUtf8(bytes),
                QString::fromUtf8(program.readAllStandardError()), bytes};
    }
    QByteArray Utf16(const QString &text) const
    {
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }
    QString StorePath() const { return config.path() + "/KX/Orvani.reg"; }
    void WriteStore(const QByteArray &text)
    {
        ASSERT_TRUE(QDir().mkpath(config.path() + "/KX"));
        QFile file(StorePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir config;
    QTemporaryDir runtime;
};

TEST_F(CommandLine, OptionsPrintAndEndWithoutTouchingTheSettings)
{
    struct TCase {
        QStringList Arguments;
        const char *Locale;
        QString Out; // exact standard output
    };
    const TCase cases[] = {
        {{"--version"}, "en_GB.UTF-8", "Orvani 2.21\n"},
        {{"-v"}, "en_GB.UTF-8", "Orvani 2.21\n"},
        {{"--vers"}, "en_GB.UTF-8", "Orvani 2.21\n"},
        {{"-format", "yyyy", "2005-01-01", "-platform", "xcb"}, "en_GB.UTF-8", "2005\n"},
        {{"--form=yyyy-mm-dd", "2005-01-01"}, "en_GB.UTF-8", "2005-01-01\n"},
        {{"--format", "'Week' ww iiii", "2005-01-01"}, "en_GB.UTF-8", "Week 53 2004\n"},
        {{"--format", "'Week' w/iiii", "2009-12-31"}, "en_GB.UTF-8", "Week 53/2009\n"},
        {{"--format", "dd-mm-yyyy hh:nn fff", "37773,5"}, "en_GB.UTF-8", "01-06-2003 12:00 152\n"},
        {{"--format", "ddddd", "37773.25"}, "en_GB.UTF-8", "01/06/2003\n"},
        {{"--format", "dddd d mmmm yyyy", "2003-06-20"}, "en_GB.UTF-8", "Friday 20 June 2003\n"},
        {{"--format", "dddd d mmmm yyyy", "2003-06-20"}, "nl_NL.UTF-8", "vrijdag 20 juni 2003\n"},
        {{"--format", "yyyy-mm-dd", "1-1-1"}, "en_GB.UTF-8", "0001-01-01\n"},
        {{"--format", "yyyy-mm-dd", "9999-12-31"}, "en_GB.UTF-8", "9999-12-31\n"},
        {{"--format", "yyyy-mm-dd", "--", "-1"}, "en_GB.UTF-8", "1899-12-29\n"},
        {{"--info", "2004-02-29", "--lang", "en"},
         "en_GB.UTF-8",
         "Current date information: 29/02/2004\n"
         "Year: 2004\n"
         "Leap year: yes\n"
         "Days in year: 366\n"
         "Month: 2 (February)\n"
         "Days in month: 29\n"
         "ISO weeknumber: 9\n"
         "Day: 29\n"
         "Day in week: 7 (Sunday)\n"
         "Daynumber in year: 60\n"
         "Day in month: 5th Sunday in month February\n"
         "Days since 30/12/1899: 38046\n"
         "Number of days between current date and "},
        {{"--info", "2003-06-20", "--lang", "NL"},
         "nl_NL.UTF-8",
         "Info huidige datum: 20-06-2003\n"
         "Jaar: 2003\n"
         "Schrikkeljaar: nee\n"
         "Dagen in jaar: 365\n"
         "Maand: 6 (juni)\n"
         "Dagen in maand: 30\n"
         "ISO weeknummer: 25\n"
         "Dag: 20\n"
         "Dag in week: 5 (vrijdag)\n"
         "Dagnummer in jaar: 171\n"
         "Dag in maand: 3e vrijdag in maand juni\n"
         "Dagen sinds 30-12-1899: 37792\n"
         "Aantal dagen tussen huidige datum en "},
    };
    for (const TCase &c : cases) {
        const QString arguments = c.Arguments.join(' ');
        const qint64 before = DaysSinceDayZero(QDate::currentDate());
        const TRun run = Run(c.Arguments, c.Locale);
        const qint64 after = DaysSinceDayZero(QDate::currentDate());
        EXPECT_EQ(run.Status, 0) << arguments.toStdString();
        EXPECT_EQ(run.Err, "") << arguments.toStdString();
        if (!c.Arguments.contains("--info")) {
            EXPECT_EQ(run.Out, c.Out) << arguments.toStdString();
            continue;
        }
        // --info ends with the days from the date to today, after today's date as a caption.
        ASSERT_TRUE(run.Out.startsWith(c.Out)) << run.Out.toStdString();
        const QString last = run.Out.mid(c.Out.size()).trimmed();
        const qint64 serial = run.Out.section(": ", -2, -2).section('\n', 0, 0).toLongLong();
        const qint64 days = last.section(": ", 1).toLongLong();
        EXPECT_TRUE(days == after - serial || days == before - serial) << last.toStdString();
    }
    EXPECT_TRUE(QDir(config.path()).isEmpty()) << "the settings folder was written";
}

TEST_F(CommandLine, TodayIsTheDateWhenNoneIsGiven)
{
    const QDate before = QDate::currentDate();
    const TRun run = Run({"--format", "yyyy-mm-dd"});
    const QDate after = QDate::currentDate();
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Out == before.toString(Qt::ISODate) + "\n" ||
                run.Out == after.toString(Qt::ISODate) + "\n")
        << run.Out.toStdString();
}

TEST_F(CommandLine, InfoTakesTheLanguageOfTheSettingsAndLeavesThemAsTheyAre)
{
    const QByteArray store = "Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n"
                             "\"Taal\"=dword:00000000\n";
    WriteStore(store);
    const TRun run = Run({"--info", "2005-01-01"}, "en_GB.UTF-8");
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Out.contains("\nISO weeknummer: 53\n")) << run.Out.toStdString();
    EXPECT_TRUE(run.Out.contains("\nDag in maand: 1e Saturday in maand January\n")) << run.Out.toStdString();
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), store);
    EXPECT_EQ(QDir(config.path() + "/KX").entryList(QDir::Files | QDir::Hidden), QStringList{"Orvani.reg"});
}

// A mistake in the command line ends with status 2, a window start without a display with 1.
TEST_F(CommandLine, MistakesEndWithOneLineAndTheirStatus)
{
    struct TMistake {
        QStringList Arguments;
        const char *Message;
        int Status = 2;
    };
    const TMistake cases[] = {
        {{"--bogus"}, "Unknown option '--bogus'"},
        {{"-x"}, "Unknown option '-x'"},
        {{"--tray=yes"}, "Unexpected value after '--tray'"},
        {{"-vers"}, "Unknown option '-vers'"},
        {{"--i", "2005-01-01"}, "option '--i' is ambiguous; possibilities: --info --import-settings"},
        {{"-f", "dates.txt"}, "-f goes with --format"},
        {{"--format", "d", "--file=-", "2005-01-01"}, "give either DATE or -f, not both"},
        {{"--format"}, "Missing value after '--format'"},
        {{"--format", "d", "2005-02-30"}, "'2005-02-30' is not a date"},
        {{"--info", "yesterday"}, "'yesterday' is not a date: give yyyy-mm-dd or a date serial number"},
        {{"--format", "d", "0-01-01"}, "the year of '0-01-01' lies outside 1..9999"},
        {{"--format", "d", "10000-01-01"}, "the year of '10000-01-01' lies outside 1..9999"},
        {{"--info", "2958466"}, "the year of '2958466' lies outside 1..9999"},
        {{"--info", "--", "-693594"}, "the year of '-693594' lies outside 1..9999"},
        {{"--info", "--lang", "fr"}, "--lang takes nl or en, not 'fr'"},
        {{"--lang", "nl"}, "--lang goes with --info"},
        {{"--format", "d", "--info"},
         "give one of --format, --info, --export-settings and --import-settings"},
        {{"2005-01-01"}, "unexpected argument '2005-01-01'"},
        {{"--info", "2005-01-01", "2005-01-02"}, "unexpected argument '2005-01-02'"},
        {{"--tray", "--info"}, "--minimized and --tray go with starting the window"},
        {{}, "no display found; orvani --help lists what works without one", 1},
        {{"--minimized"}, "no display found; orvani --help lists what works without one", 1},
    };
    for (const auto &[arguments, message, status] : cases) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.Status, status) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.Out, "");
        EXPECT_TRUE(run.Err.startsWith(QString("orvani: ") + message)) << run.Err.toStdString();
        EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
    }
    EXPECT_TRUE(QDir(config.path()).isEmpty()) << "the settings folder was written";
}

TEST_F(CommandLine, HelpListsEveryOptionWithExamples)
{
    const TRun run = Run({"--help"});
    EXPECT_EQ(run.Status, 0);
    for (const char *text :
         {"--help", "--version", "--format <PATTERN>", "--info", "--lang <nl|en>", "-f, --file <FILE>",
          "--export-settings <FILE>", "--import-settings <FILE>", "--minimized", "--tray", "DATE",
          "Examples:", "orvani --format \"'Week' ww iiii\" 2005-01-01"})
        EXPECT_TRUE(run.Out.contains(text)) << text;
    EXPECT_FALSE(run.Out.contains("-platform")) << "Qt's own options stay out of the help";
    EXPECT_TRUE(QDir(config.path()).isEmpty());
}

TEST_F(CommandLine, SettingsGoOutForTheRegistryEditorAndComeBackIn)
{
    WriteStore("Windows Registry Editor Version 5.00\n\n"
               "[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n"
               "\"Taal\"=dword:00000000\n");
    const QString exported = runtime.path() + "/exported.reg";
    const TRun out = Run({"--export-settings", exported});
    EXPECT_EQ(out.Status, 0) << out.Err.toStdString();
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\xFF\xFE")) << "UTF-16LE with a byte-order mark";

    const QString english = runtime.path() + "/english.reg";
    QFile import(english);
    ASSERT_TRUE(import.open(QIODevice::WriteOnly));
    import.write(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\r\n\"Taal\"=dword:1\r\n");
    import.close();
    const TRun in = Run({"--import-settings", english});
    EXPECT_EQ(in.Status, 0) << in.Err.toStdString();
    EXPECT_TRUE(Run({"--info", "2005-01-01"}).Out.contains("\nISO weeknumber: 53\n"));

    const TRun missing = Run({"--import-settings", runtime.path() + "/missing.reg"});
    EXPECT_NE(missing.Status, 0);
    EXPECT_EQ(missing.Err.count('\n'), 1) << missing.Err.toStdString();

    // Standard input and output, and a FIFO, which stays one.
    const TRun dutch =
        Run({"--import-settings=-"}, "en_GB.UTF-8",
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KX\\Orvani\\Algemeen]\n\"Taal\"=dword:0");
    EXPECT_EQ(dutch.Status, 0) << dutch.Err.toStdString();
    EXPECT_TRUE(Run({"--export-settings", "-"}).Bytes.contains(Utf16("\"Taal\"=dword:00000000\r\n")));
    const QByteArray fifo = QFile::encodeName(runtime.path() + "/fifo");
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const int reader = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    EXPECT_EQ(Run({"--export-settings", QFile::decodeName(fifo)}).Status, 0);
    char bytes[4096];
    const QByteArray written(bytes, std::max<ssize_t>(read(reader, bytes, sizeof bytes), 0));
    close(reader);
    EXPECT_TRUE(written.contains(Utf16("\"Taal\"=dword:00000000\r\n")));
    struct stat info {};
    EXPECT_TRUE(stat(fifo.constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}

TEST_F(CommandLine, ANewUserExportsTheDefaults)
{
    const TRun run = Run({"--export-settings", "-"}, "nl_NL.UTF-8");
    EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
    for (const char *value :
         {"\"KleurAchtergrond\"=dword:00f5f2f1", "\"Lettertype\"=\"Arial\"", "\"Taal\"=dword:00000000"})
        EXPECT_TRUE(run.Bytes.contains(Utf16(value))) << value;
    EXPECT_TRUE(QDir(config.path()).isEmpty()) << "the settings folder was written";
}

// One date a line, as GNU date -f: a bad line is said with its number and the rest go on.
TEST_F(CommandLine, FormatsADateALine)
{
    const QByteArray dates = "2005-01-01\r\n37773.5\nyesterday\n2004-02-30\n9999-12-31";
    const QString file = runtime.path() + "/dates.txt";
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(dates);
    out.close();
    for (const QString &from : {file, QString("-")}) {
        const TRun run = Run({"--format", "yyyy-mm-dd ww", "-f", from}, "en_GB.UTF-8", dates);
        const QString name = from == "-" ? "standard input" : file;
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Out, "2005-01-01 53\n2003-06-01 22\n9999-12-31 52\n");
        EXPECT_EQ(
            run.Err,
            "orvani: " + name +
                ":3: 'yesterday' is not a date: give yyyy-mm-dd or a date serial number such as 37773.5\n"
                "orvani: " +
                name + ":4: '2004-02-30' is not a date\n");
    }
    EXPECT_EQ(Run({"--format", "yyyy", "-f", "-"}, "en_GB.UTF-8", "2005-01-01\n").Status, 0);
}

// Output that cannot be written is a failure, said on standard error.
TEST_F(CommandLine, WriteErrorsEndWithStatusOne)
{
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]); // nobody reads
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"--version"}, QStringList{"--format", "d", "2005-01-01"},
          QStringList{"--info", "2005-01-01", "--lang", "en"}, QStringList{"--export-settings", "-"}}) {
        const TRun run = Run(arguments, "en_GB.UTF-8", {}, pipeEnds[1]);
        EXPECT_EQ(run.Status, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.Err.startsWith("orvani: ") && run.Err.contains("Broken pipe"))
            << run.Err.toStdString();
        EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
    }
    close(pipeEnds[1]);
}

} // namespace
