// bench_ctl: vo3112ctl as a script runs it, start to exit, against the
// simulator on loopback TCP: `identify` 20 times (median, min, max) beside the
// program's bare start (`--version`, the reference) and a process start of
// the machine (/bin/true), and the peak resident memory of `config`.
#include "../transport/SimulatorProcess.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace
{

struct Run {
    int exit = -1;
    double ms = 0;
    long maxRssKiB = 0; // ru_maxrss of the child: its VmHWM
    double cpuMs = 0;   // user and system time of the child
};

// posix_spawn and wait4: the child's own peak memory comes with its end.
Run Spawn(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.maxRssKiB = usage.ru_maxrss;
    run.cpuMs =
        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// VmHWM of this process: a spawned child's ru_maxrss counts the memory it
// shared with its parent before exec, so no figure below this one is its own.
long OwnPeakKiB()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1)
            break;
    std::fclose(status);
    return kib;
}

struct Summary {
    double median = 0, min = 0, max = 0;
    double cpuMedian = 0; // less swayed by other load than the wall clock
    long maxRssKiB = 0;
    bool allDone = true;
};

Summary Repeat(const std::vector<std::string> &args, int runs)
{
    std::vector<double> ms, cpu;
    Summary s;
    for (int i = 0; i < runs; ++i) {
        const Run r = Spawn(args);
        s.allDone = s.allDone && r.exit == 0;
        s.maxRssKiB = std::max(s.maxRssKiB, r.maxRssKiB);
        ms.push_back(r.ms);
        cpu.push_back(r.cpuMs);
    }
    std::sort(cpu.begin(), cpu.end());
    s.cpuMedian = cpu[cpu.size() / 2];
    std::sort(ms.begin(), ms.end());
    s.median = ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
    s.min = ms.front();
    s.max = ms.back();
    return s;
}

void Print(const char *what, const Summary &s, int runs)
{
    std::printf("%-32s %2d runs  median %6.1f ms  min %6.1f  max %6.1f  CPU median %5.1f ms  max RSS %6ld KiB\n", what,
                runs, s.median, s.min, s.max, s.cpuMedian, s.maxRssKiB);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 20;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--smoke")
            runs = 3;
    SimulatorProcess sim;
    if (sim.port() == 0) {
        std::fprintf(stderr, "bench_ctl: simulator: %s\n", qPrintable(sim.error()));
        return 1;
    }
    // A HOME of its own: the runs must not find the user's settings.
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    const std::string ctl = VO_CTL_BINARY;
    const std::string link = "127.0.0.1:" + std::to_string(sim.port());

    Spawn({ctl, "--tcp", link, "identify"}); // warm the page cache
    const Summary spawnOnly = Repeat({"/bin/true"}, runs);
    const Summary bare = Repeat({ctl, "--version"}, runs);
    const Summary identify = Repeat({ctl, "--tcp", link, "identify"}, runs);
    const Summary config = Repeat({ctl, "--tcp", link, "--json", "config"}, runs);
    Print("/bin/true (process start)", spawnOnly, runs);
    Print("vo3112ctl --version (reference)", bare, runs);
    Print("vo3112ctl identify", identify, runs);
    Print("vo3112ctl --json config", config, runs);
    std::printf("identify median / reference median: %.2f (goal: identify under 50 ms)\n",
                identify.median / std::max(bare.median, 0.001));
    std::printf("config peak resident memory (VmHWM): %ld KiB (the bench itself: %ld KiB, the floor of the figure)\n",
                config.maxRssKiB, OwnPeakKiB());
    if (!spawnOnly.allDone || !bare.allDone || !identify.allDone || !config.allDone) {
        std::fprintf(stderr, "bench_ctl: a run did not exit 0\n");
        return 1;
    }
    return 0;
}
