// Many dates at once: 100,000 dates, one a line, formatted by the program (orvani --format PATTERN
// -f FILE) and by GNU date (date -f FILE +FORMAT) with an equivalent pattern. Each sample is one
// whole process, from its start to its end, output to /dev/null, both pinned to the same
// processor; the ratio is our time over date's (at most 1.0: one start, then only formatting).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int DateCount = 100000;

// One date a line, walking through the years from 1601 on with a step that meets every weekday
// and month; ISO dates, which both programs read.
std::string MakeDateFile()
{
    char name[] = "/tmp/orvani-batch-XXXXXX";
    const int fd = mkstemp(name);
    FILE *file = fdopen(fd, "w");
    for (long i = 0, day = 0; i < DateCount; ++i, day += 53) {
        const long year = 1601 + day / 365 % 2400, month = 1 + day / 31 % 12, dayOfMonth = 1 + day % 28;
        std::fprintf(file, "%04ld-%02ld-%02ld\n", year, month, dayOfMonth);
    }
    std::fclose(file);
    return name;
}

const std::string &DateFile()
{
    static const std::string path = MakeDateFile();
    return path;
}

// Wall time of one run of the program, output discarded; negative when it failed.
double RunSeconds(const std::vector<std::string> &arguments)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(0, &one);
        sched_setaffinity(0, sizeof one, &one);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        std::vector<char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed.count() : -1;
}

double oursTotal = 0, peerTotal = 0;
long oursRuns = 0, peerRuns = 0;

void Measure(benchmark::State &state, const std::vector<std::string> &arguments, double &total, long &runs)
{
    for (auto _ : state) {
        const double seconds = RunSeconds(arguments);
        if (seconds < 0) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        ++runs;
    }
}

void BM_Batch_Orvani(benchmark::State &state)
{
    Measure(state, {ORVANI_PROGRAM, "--format", "yyyy-mm-dd dddd ww", "-f", DateFile()}, oursTotal, oursRuns);
}

void BM_Batch_date(benchmark::State &state)
{
    Measure(state, {"date", "-f", DateFile(), "+%Y-%m-%d %A %V"}, peerTotal, peerRuns);
}

BENCHMARK(BM_Batch_Orvani)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Batch_date)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    // The same locale and zone for both: English names, no daylight saving to look up.
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("TZ", "UTC", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unlink(DateFile().c_str());
    if (oursRuns > 0 && peerRuns > 0)
        std::printf("\n%d dates: orvani %.1f ms | date -f %.1f ms | orvani/date %.2f (at most 1.0)\n",
                    DateCount, 1000 * oursTotal / oursRuns, 1000 * peerTotal / peerRuns,
                    (oursTotal / oursRuns) / (peerTotal / peerRuns));
}
