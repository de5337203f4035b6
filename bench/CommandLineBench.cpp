// One call of the command line, a whole process from start to end, against the system's date
// command formatting the same date: `orvani --format PATTERN DATE` and `date -d DATE +FORMAT`.
// Each sample starts both, one after the other, pinned to one processor; the medians of the
// wall times and the peak resident memory of each process are compared. The peak is taken by
// /usr/bin/time: a process started from this one would count this one's memory as its own.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

struct TRun {
    double Seconds = 0;
    long PeakKiB = 0;
};

// Runs a command with its output thrown away; the time from its start to its end.
TRun Run(const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &word : command)
        argv.push_back(const_cast<char *>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    TRun run;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

const std::vector<std::string> Ours{ORVANI_COMMAND, "--format", "dddd d mmmm yyyy", "2003-06-20"};
const std::vector<std::string> Peer{"/bin/date", "-d", "2003-06-20", "+%A %-d %B %Y"};
std::vector<TRun> ours, peer;

// The peak resident memory of a command, in KiB, as /usr/bin/time reports it.
long PeakKiB(const std::vector<std::string> &command)
{
    char report[] = "/tmp/orvani_bench_peakXXXXXX";
    const int file = mkstemp(report);
    if (file < 0)
        return 0;
    close(file);
    std::vector<std::string> timed{"/usr/bin/time", "-f", "%M", "-o", report};
    timed.insert(timed.end(), command.begin(), command.end());
    Run(timed);
    long peak = 0;
    if (FILE *in = std::fopen(report, "r")) {
        if (std::fscanf(in, "%ld", &peak) != 1)
            peak = 0;
        std::fclose(in);
    }
    std::remove(report);
    return peak;
}

void BM_FormatOneDate(benchmark::State &state)
{
    for (auto _ : state) {
        peer.push_back(Run(Peer));
        ours.push_back(Run(Ours));
        if (ours.size() % 10 == 1) {
            peer.back().PeakKiB = PeakKiB(Peer);
            ours.back().PeakKiB = PeakKiB(Ours);
        }
        state.SetIterationTime(ours.back().Seconds);
    }
}
BENCHMARK(BM_FormatOneDate)->UseManualTime()->Iterations(101)->Unit(benchmark::kMillisecond);

template <class Value> double Median(const std::vector<TRun> &runs, Value value)
{
    std::vector<double> values;
    for (const TRun &run : runs)
        if (value(run) > 0)
            values.push_back(value(run));
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    // Children inherit the processor: where the system places one would swing the ratio more
    // than the programs differ.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(std::max(0, sched_getcpu()), &one);
    sched_setaffinity(0, sizeof one, &one);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ours.empty())
        return 0;
    const auto seconds = [](const TRun &run) { return run.Seconds; };
    const auto peak = [](const TRun &run) { return double(run.PeakKiB); };
    const double oursTime = Median(ours, seconds), peerTime = Median(peer, seconds);
    std::printf("One call (medians): orvani --format %.2f ms, date %.2f ms, ratio %.2f (target <= 3); "
                "peak memory orvani %.1f MB (target <= 8), date %.1f MB\n",
                oursTime * 1e3, peerTime * 1e3, oursTime / peerTime, Median(ours, peak) * 1024 / 1e6,
                Median(peer, peak) * 1024 / 1e6);
    return 0;
}
