// Start-up of the window program against a bare QMainWindow program, both started as
// processes on the offscreen platform, taking turns (the order turns every round, so that a
// busy spell of the machine falls on both alike). Each run is timed from the fork to the first
// exposure of the window and to its first paint, as the preloaded start-up probe sees them
// (StartupProbe.cpp), and by the CPU time the process used up to then. The medians and their
// ratio are printed; the ratio of the first paints must stay at or under 1.25. A third program,
// the bare window with one line of Chinese text, shows what the first text of a window costs.
//
// Then `leebdesk FILE` with a full tester's record file (61,439 records): the first paint
// must come before the records are in (the title names the file), so the window is shown
// at once and filled after.
//
// Usage: startup_bench [rounds]   (default 21; each round starts both programs once)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FullRecordFile.h"

namespace {

constexpr double RatioLimit = 1.25;

long long NowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Run {
    std::map<std::string, double> Ms;  // moment -> milliseconds since the fork
    double CpuMs = 0;
    bool Ok = false;
};

// Starts `program` with the probe preloaded and waits until the probe ends it at `until`.
Run Start(const std::vector<std::string>& command, const char* until) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::fflush(stdout);  // or the child's freopen would write the parent's buffered lines again
    const long long start = NowNs();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setenv("LD_PRELOAD", LEEBDESK_STARTUP_PROBE_PATH, 1);
        ::setenv("LEEBDESK_PROBE_FD", std::to_string(pipeFds[1]).c_str(), 1);
        ::setenv("LEEBDESK_PROBE_UNTIL", until, 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr) {
            std::_Exit(126);
        }
        std::vector<char*> argv;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    ::close(pipeFds[1]);
    Run run;
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    run.CpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) {
            run.Ms[line.substr(space + 1)] =
                static_cast<double>(std::atoll(line.c_str()) - start) / 1e6;
        }
        at = end == std::string::npos ? text.size() : end + 1;
    }
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.Ms.count(until) == 1;
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Series {
    std::vector<double> Exposed, Painted, Titled, Cpu;
    int Failed = 0;
    void Add(const Run& run) {
        if (!run.Ok) {
            ++Failed;
            return;
        }
        // A moment the probe did not see before it ended the process is left out.
        const auto add = [&run](const char* moment, std::vector<double>& to) {
            if (run.Ms.count(moment) == 1)
                to.push_back(run.Ms.at(moment));
        };
        add("exposed", Exposed);
        add("painted", Painted);
        add("titled", Titled);
        Cpu.push_back(run.CpuMs);
    }
};

void Print(const char* what, const Series& s) {
    std::printf("%-34s exposed %6.1f ms  painted %6.1f ms  cpu %6.1f ms  (%zu runs",
                what, Median(s.Exposed), Median(s.Painted), Median(s.Cpu), s.Painted.size());
    if (s.Failed > 0)
        std::printf(", %d failed", s.Failed);
    std::printf(")\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // Settings of a scratch home, so that no remembered window or file changes what starts.
    char home[] = "/tmp/leebdesk-startup-XXXXXX";
    if (::mkdtemp(home) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", home, 1);
    ::setenv("XDG_RUNTIME_DIR", home, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    const std::vector<std::string> window{LEEBDESK_WINDOW_PATH};
    const std::vector<std::string> bare{LEEBDESK_BARE_WINDOW_PATH};
    const std::vector<std::string> bareWithText{LEEBDESK_BARE_WINDOW_PATH, "--text"};
    Series windowRuns, bareRuns, textRuns;
    // The three take turns, each round starting with the next one.
    const std::vector<std::pair<const std::vector<std::string>*, Series*>> programs{
        {&window, &windowRuns}, {&bare, &bareRuns}, {&bareWithText, &textRuns}};
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const auto& [command, series] = programs[(round + i) % programs.size()];
            series->Add(Start(*command, "painted"));
        }
    }
    std::printf("start-up to the first paint, medians of %d alternating rounds:\n", rounds);
    Print("bare QMainWindow", bareRuns);
    Print("bare QMainWindow, one line of text", textRuns);
    Print("leebdesk", windowRuns);
    const double ratio = Median(windowRuns.Painted) / Median(bareRuns.Painted);
    std::printf("ratio (first paint): %.2f   exposed: %.2f   cpu: %.2f\n", ratio,
                Median(windowRuns.Exposed) / Median(bareRuns.Exposed),
                Median(windowRuns.Cpu) / Median(bareRuns.Cpu));
    // For the reader: how much of the difference any window with text has to pay.
    std::printf("one line of text alone: %.2f x the bare window; leebdesk %.2f x that\n",
                Median(textRuns.Painted) / Median(bareRuns.Painted),
                Median(windowRuns.Painted) / Median(textRuns.Painted));

    const std::string full = std::string(home) + "/full.txt";
    leeb::bench::WriteFullRecordFile(full);
    Series fileRuns;
    int paintedFirst = 0;
    const int fileRounds = std::max(1, rounds / 4);
    for (int round = 0; round < fileRounds; ++round) {
        const Run run = Start({LEEBDESK_WINDOW_PATH, full}, "titled");
        fileRuns.Add(run);
        if (run.Ok && run.Ms.count("painted") == 1 && run.Ms.at("painted") < run.Ms.at("titled"))
            ++paintedFirst;
    }
    std::printf("leebdesk FILE (%d records), medians of %d runs: painted %.1f ms, records in "
                "%.1f ms; painted before filled in %d of %zu\n",
                leeb::bench::FullRecordCount, fileRounds, Median(fileRuns.Painted),
                Median(fileRuns.Titled), paintedFirst, fileRuns.Titled.size());
    std::remove(full.c_str());
    ::rmdir(home);

    bool ok = true;
    if (windowRuns.Failed + bareRuns.Failed + textRuns.Failed + fileRuns.Failed > 0) {
        std::printf("FAILED: a program did not reach its first paint\n");
        ok = false;
    }
    if (ratio > RatioLimit) {
        std::printf("FAILED: leebdesk's first paint is %.2f x the bare window's (limit %.2f)\n",
                    ratio, RatioLimit);
        ok = false;
    }
    if (paintedFirst != static_cast<int>(fileRuns.Titled.size()) || fileRuns.Titled.empty()) {
        std::printf("FAILED: with a file named, the window must paint before the records are in\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
