// Reading and parsing a full record file: 61,439 records of 32 readings (about 13 MB), the
// largest file the tester's record numbers can produce. Reports time per read and the
// process's peak resident memory.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FullRecordFile.h"
#include "RecordFile.h"

namespace {

constexpr int RecordCount = leeb::bench::FullRecordCount;

std::string MakeRecordFile() {
    const std::string path = "/tmp/leebdesk-bench-" + std::to_string(::getpid()) + ".txt";
    leeb::bench::WriteFullRecordFile(path);
    return path;
}

double PeakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

double ReadAndParse(const std::string& path) {
    double sum = 0;
    const leeb::RecordLines lines = leeb::ReadRecordFile(path);
    for (std::size_t r = 1; r < lines.size(); ++r) {
        const leeb::RecordTextFields fields = leeb::ParseRecordLine(lines[r], '.');
        sum += fields.Readings.back();
    }
    return sum;
}

// Runs first and once, so that the process's peak resident memory is that of one read: the
// allocator keeps freed memory, and later runs would only show the high-water mark again.
void PeakMemoryOfOneReadAndParse(benchmark::State& state) {
    const std::string path = MakeRecordFile();
    const double before = PeakRssMiB();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadAndParse(path));
    }
    std::remove(path.c_str());
    state.counters["peak_rss_MiB"] = PeakRssMiB();
    state.counters["peak_rss_before_MiB"] = before;
}
BENCHMARK(PeakMemoryOfOneReadAndParse)->Iterations(1)->Unit(benchmark::kMillisecond);

void ReadAndParseRecordFile(benchmark::State& state) {
    const std::string path = MakeRecordFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadAndParse(path));
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * RecordCount);
}
BENCHMARK(ReadAndParseRecordFile)->Unit(benchmark::kMillisecond);

void ReadRecordFileOnly(benchmark::State& state) {
    const std::string path = MakeRecordFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(leeb::ReadRecordFile(path));
    }
    std::remove(path.c_str());
}
BENCHMARK(ReadRecordFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
