// `leebdesk-cli export` and `show` on large record files: peak resident memory and time, each
// run in a child process of its own.
//
//   export, 200 MB file:   the CSV table written while the file is read (two passes); the
//                          peak must stay at or below 50 MB.
//   show vs show --json:   the full tester's file (61,439 records), the two run alternately
//                          so that a busy machine slows both alike; the median of each and
//                          their ratio (at most 1.5).
//
// Usage: cli_stream_bench [MEGABYTES [ROUNDS]]   (defaults 200 and 5)

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChildMeasurement.h"
#include "FullRecordFile.h"

namespace {

using leeb::bench::Measurement;

std::string TempPath(const char* name) {
    return "/tmp/leebdesk-stream-bench-" + std::to_string(::getpid()) + "-" + name;
}

// leebdesk-cli with `arguments`, its output to /dev/null, under the C locale.
Measurement RunCli(const std::vector<std::string>& arguments) {
    return leeb::bench::InChild([&arguments] {
        if (std::freopen("/dev/null", "w", stdout) == nullptr ||
            std::freopen("/dev/null", "w", stderr) == nullptr) {
            return 126;
        }
        ::setenv("LC_ALL", "C", 1);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(LEEBDESK_CLI_PATH));
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(LEEBDESK_CLI_PATH, argv.data());
        return 127;
    });
}

void Print(const std::string& what, const Measurement& m) {
    std::printf("%-44s peak %7.1f MiB  wall %7.2f s  cpu %7.2f s  status %d\n", what.c_str(),
                m.PeakMiB, m.Seconds, m.CpuSeconds, m.Status);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::string large = TempPath("large.txt");
    const std::string full = TempPath("full.txt");
    const std::string csv = TempPath("out.csv");
    leeb::bench::WriteLargeRecordFile(large, megabytes * 1024 * 1024);
    leeb::bench::WriteFullRecordFile(full);

    const std::string size = std::to_string(megabytes) + " MB";
    Print("export, " + size, RunCli({"export", large, "-o", csv}));
    Print("export --each-reading --limits, " + size,
          RunCli({"export", large, "-o", csv, "--limits", "HL:400-800,HRC:45-", "--each-reading"}));
    Print("show, " + size, RunCli({"show", large}));
    Print("show --json, " + size, RunCli({"show", large, "--json"}));

    std::vector<double> text;
    std::vector<double> json;
    for (int round = 0; round < rounds; ++round) {
        text.push_back(RunCli({"show", full}).CpuSeconds);
        json.push_back(RunCli({"show", full, "--json"}).CpuSeconds);
    }
    const double textMedian = Median(text);
    const double jsonMedian = Median(json);
    std::printf(
        "show vs show --json, 61,439 records, %d alternating rounds (cpu, median): "
        "show %.3f s, --json %.3f s, ratio %.2f\n",
        rounds, textMedian, jsonMedian, jsonMedian / textMedian);

    std::remove(large.c_str());
    std::remove(full.c_str());
    std::remove(csv.c_str());
    return 0;
}
