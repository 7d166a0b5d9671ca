// The host program from start to its first feed printed, the whole process,
// without and with its injected libraries, one run of each in turn: the
// counters give both times and what the libraries add.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Seconds from spawning the host until the last of its feed has arrived on
// its standard output. What the process does after that, in exit (the kernel
// tears a watcher's inotify instance down in milliseconds), is no part of
// start-up.
double runHost(bool inject) {
    std::string feed = std::string(TAVELIN_STAGE_ROOT) + "/Applications/Instagram.app/feed.json";
    std::vector<const char*> arguments = {TAVELIN_HOST, "--feed", feed.c_str(), "--quiet"};
    if (!inject) arguments.push_back("--no-inject");
    arguments.push_back(nullptr);
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 1;
    bool spawned = posix_spawn(&child, TAVELIN_HOST, &actions, nullptr,
                               const_cast<char**>(arguments.data()), environ) == 0;
    ::close(output[1]);
    std::size_t printed = 0;
    auto printedAt = start;
    char buffer[65536];
    for (ssize_t length; spawned && (length = ::read(output[0], buffer, sizeof buffer)) > 0;) {
        printed += static_cast<std::size_t>(length);
        printedAt = std::chrono::steady_clock::now();
    }
    std::chrono::duration<double> elapsed = printedAt - start;
    ::close(output[0]);
    if (spawned) waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return printed && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed.count() : -1;
}

void hostStartup(benchmark::State& state) {
    double without = 0, with = 0;
    for (auto _ : state) {
        double plain = runHost(false), injected = runHost(true);
        if (plain < 0 || injected < 0) state.SkipWithError("the host did not print its feed");
        without += plain;
        with += injected;
        state.SetIterationTime(plain + injected);
    }
    using benchmark::Counter;
    state.counters["without_ms"] = Counter(without * 1e3, Counter::kAvgIterations);
    state.counters["with_ms"] = Counter(with * 1e3, Counter::kAvgIterations);
    state.counters["added_pct"] = Counter(100 * (with - without) / without);
}
BENCHMARK(hostStartup)
    ->UseManualTime()
    ->Iterations(40)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
