// The date engine against its peers over the same dates:
//  - serial -> year/month/day -> serial round trips against std::chrono's calendar types;
//  - the default user pattern through ExpandDateTags against strftime and QDate::toString with
//    the equivalent formats. strftime runs twice: on a struct tm prepared in advance (the date
//    already split into fields, weekday and day of the year), and from a time value through
//    gmtime_r, the C library's own route from a date to text. Times are CPU time per date.
#include "date/DateFormat.h"

#include "BenchSupport.h"
#include <QDate>
#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

namespace chr = std::chrono;

constexpr int UnixEpochSerial = 25569; // 1 January 1970
constexpr std::int64_t JulianDayOfSerialZero = 2415019;
constexpr std::size_t DateCount = 4096;
const std::string DefaultPattern = "ww * dddd dd-mm-yy * yyyy"; // as the settings hold it

// The same random whole days of years 1..9999 for every contender.
const std::vector<int> &Serials()
{
    static const std::vector<int> serials = [] {
        std::mt19937 random(20030620);
        std::uniform_int_distribution<int> day(static_cast<int>(MinDateSerial),
                                               static_cast<int>(MaxDateSerial));
        std::vector<int> v(DateCount);
        for (int &s : v) {
            s = day(random);
        }
        return v;
    }();
    return serials;
}

void Finish(benchmark::State &state)
{
    state.SetItemsProcessed(state.iterations() * DateCount);
}

void BM_RoundTrip_Orvani(benchmark::State &state)
{
    std::vector<double> dates(Serials().begin(), Serials().end());
    for (auto _ : state) {
        for (const double date : dates) {
            const TDateParts p = SplitDate(date);
            benchmark::DoNotOptimize(MakeDate(p.Year, p.Month, p.Day));
        }
    }
    Finish(state);
}

// std::chrono converts without checking; MakeDate must reject invalid dates, so the chrono round
// trip runs twice: as it stands, and checking its date with ok() as MakeDate checks its input.
template <bool Checked> void BM_RoundTrip_Chrono(benchmark::State &state)
{
    std::vector<int> days;
    for (const int s : Serials()) {
        days.push_back(s - UnixEpochSerial);
    }
    for (auto _ : state) {
        for (const int d : days) {
            const chr::year_month_day ymd{chr::sys_days{chr::days{d}}};
            if (Checked && !ymd.ok()) {
                state.SkipWithError("invalid date");
            }
            benchmark::DoNotOptimize(chr::sys_days{ymd}.time_since_epoch().count());
        }
    }
    Finish(state);
}

void BM_Pattern_Orvani(benchmark::State &state)
{
    const TFormatSettings settings = DefaultFormatSettings();
    std::vector<double> dates(Serials().begin(), Serials().end());
    for (auto _ : state) {
        for (const double date : dates) {
            benchmark::DoNotOptimize(ExpandDateTags(DefaultPattern, date, settings));
        }
    }
    Finish(state);
}

void BM_Pattern_strftime(benchmark::State &state)
{
    std::vector<std::tm> times;
    for (const int s : Serials()) {
        const std::time_t t = static_cast<std::time_t>(s - UnixEpochSerial) * 86400;
        std::tm split{};
        gmtime_r(&t, &split);
        times.push_back(split);
    }
    char buffer[128];
    for (auto _ : state) {
        for (const std::tm &t : times) {
            benchmark::DoNotOptimize(std::strftime(buffer, sizeof buffer, "%V * %A %d-%m-%y * %Y", &t));
            benchmark::ClobberMemory();
        }
    }
    Finish(state);
}

void BM_Pattern_gmtime_strftime(benchmark::State &state)
{
    std::vector<std::time_t> times;
    for (const int s : Serials()) {
        times.push_back(static_cast<std::time_t>(s - UnixEpochSerial) * 86400);
    }
    char buffer[128];
    for (auto _ : state) {
        for (const std::time_t t : times) {
            std::tm split;
            gmtime_r(&t, &split);
            benchmark::DoNotOptimize(std::strftime(buffer, sizeof buffer, "%V * %A %d-%m-%y * %Y", &split));
            benchmark::ClobberMemory();
        }
    }
    Finish(state);
}

void BM_Pattern_QDate(benchmark::State &state)
{
    std::vector<QDate> dates;
    for (const int s : Serials()) {
        dates.push_back(QDate::fromJulianDay(s + JulianDayOfSerialZero));
    }
    // Qt's pattern language has no week tag: the week number is formatted apart.
    const QString rest = QStringLiteral(" * dddd dd-MM-yy * yyyy");
    for (auto _ : state) {
        for (const QDate &d : dates) {
            benchmark::DoNotOptimize(QStringLiteral("%1").arg(d.weekNumber(), 2, 10, QLatin1Char('0')) +
                                     d.toString(rest));
        }
    }
    Finish(state);
}

BENCHMARK(BM_RoundTrip_Orvani);
BENCHMARK(BM_RoundTrip_Chrono<false>)->Name("BM_RoundTrip_Chrono");
BENCHMARK(BM_RoundTrip_Chrono<true>)->Name("BM_RoundTrip_ChronoChecked");
BENCHMARK(BM_Pattern_Orvani);
BENCHMARK(BM_Pattern_strftime);
BENCHMARK(BM_Pattern_gmtime_strftime);
BENCHMARK(BM_Pattern_QDate);

// The time per date of two benchmarks and their ratio, ours/peer: below 1 we are faster.
void PrintRatio(const bench::TTimesReporter &times, const std::string &ours, const std::string &peer,
                const char *target = "")
{
    const auto a = times.Time(ours), b = times.Time(peer);
    if (a && b)
        std::printf("%-20s %7.2f ns per date | %-27s %7.2f ns per date | ours/peer %.2f%s\n", ours.c_str(),
                    *a / DateCount, peer.c_str(), *b / DateCount, *a / *b, target);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    bench::TTimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    PrintRatio(reporter, "BM_RoundTrip_Orvani", "BM_RoundTrip_Chrono", " (target <= 1.0)");
    PrintRatio(reporter, "BM_RoundTrip_Orvani", "BM_RoundTrip_ChronoChecked");
    PrintRatio(reporter, "BM_Pattern_Orvani", "BM_Pattern_strftime");
    PrintRatio(reporter, "BM_Pattern_Orvani", "BM_Pattern_gmtime_strftime");
    PrintRatio(reporter, "BM_Pattern_Orvani", "BM_Pattern_QDate");
    benchmark::Shutdown();
    return 0;
}
