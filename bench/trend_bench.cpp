// The trend of archived records: 100,000 records from the archive's query to the JSON object
// the command line prints, in this process and as `leebdesk-cli archive trend --json`; the
// same records' lines to the JSON without the query; and the window's trend view drawing
// 10,000 points. The archive is an SQLite file filled once in a temporary folder.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ArchiveTrend.h"
#include "ChildMeasurement.h"
#include "RecordFile.h"
#include "SyntheticArchive.h"
#include "TrendJson.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"
#include "TrendView.h"

namespace {

// Records of one kind (HRC, steel, D) with a slow drift and a wobble, a day each 400 records.
std::vector<std::string> ArchivedLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    leeb::MeasurementRecord record;
    record.ImpactCount = 32;
    record.SettingsWord = 0x3000;
    for (int r = 0; r < count; ++r) {
        const int day = 1 + (r / 400) % 28;
        const int month = 1 + (r / (400 * 28)) % 12;
        record.DateWord = static_cast<uint16_t>(25 | month << 7 | day << 11);
        for (int k = 0; k < 32; ++k) {
            record.Readings[static_cast<std::size_t>(k)] =
                static_cast<uint16_t>(440 + (r / 1000) % 20 + (r * 7 + k * 13) % 11);
        }
        lines.push_back(leeb::FormatRecordLine(record, '.'));
    }
    return lines;
}

std::vector<leeb::TrendRecord> Records(int count) {
    std::vector<leeb::TrendRecord> records;
    const std::vector<std::string> lines = ArchivedLines(count);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        records.push_back(leeb::TrendRecordFromLine(static_cast<int64_t>(i + 1),
                                                    static_cast<int>(i % 500 + 1), lines[i], '.'));
    }
    return records;
}

// From the lines a query hands over to the whole JSON text.
void TrendLinesToJson(benchmark::State& state) {
    const std::vector<std::string> lines = ArchivedLines(static_cast<int>(state.range(0)));
    leeb::QualitySettings quality;
    quality.ExcludeInvalid = true;
    for (auto _ : state) {
        std::vector<leeb::TrendRecord> records;
        records.reserve(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            records.push_back(leeb::TrendRecordFromLine(static_cast<int64_t>(i + 1), 1, lines[i], '.'));
        }
        const leeb::TrendSeries series = leeb::BuildTrendSeries(std::move(records), quality);
        const leeb::TrendFigures figures =
            leeb::ComputeTrendFigures(series.Values(), {42.0, 48.0});
        std::ostringstream out;
        leeb::WriteTrendJson(out, series, figures);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(TrendLinesToJson)->Arg(100000)->Unit(benchmark::kMillisecond);

// The archive the query benchmarks read: TrendArchiveRecords records of one kind (steel, HL,
// device D) over ten years, so that all of them make one trend.
constexpr int TrendArchiveRecords = 100000;
std::string archivePath;

void FillTrendArchive(const QString& folder) {
    archivePath = (folder + QStringLiteral("/trend.sqlite")).toStdString();
    const auto archive = leeb::OpenArchive({archivePath});
    std::mt19937 random(11);
    leeb::bench::FillArchive(*archive, TrendArchiveRecords, random, 1);
}

// What `archive trend --json` does between its arguments and its output.
void TrendArchiveQueryToJson(benchmark::State& state) {
    const auto archive = leeb::OpenArchive({archivePath});
    leeb::QualitySettings quality;
    quality.ForAll = leeb::ToleranceLimits{400.0, 700.0};
    quality.ExcludeInvalid = true;
    std::size_t points = 0;
    for (auto _ : state) {
        const leeb::ArchiveTrend trend = leeb::ArchiveTrendOf(*archive, {}, quality);
        std::ostringstream out;
        leeb::WriteTrendJson(out, trend.Series, trend.Figures);
        benchmark::DoNotOptimize(out.str().size());
        points = trend.Series.Points.size();
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(TrendArchiveQueryToJson)->Unit(benchmark::kMillisecond);

// The command itself, start to exit, its output to /dev/null: the time a user waits.
void TrendCliJson(benchmark::State& state) {
    for (auto _ : state) {
        const leeb::bench::Measurement run = leeb::bench::InChild([] {
            if (std::freopen("/dev/null", "w", stdout) == nullptr)
                return 126;
            ::setenv("LC_ALL", "C", 1);
            const char* argv[] = {LEEBDESK_CLI_PATH, "archive", "trend", "--archive",
                                  archivePath.c_str(), "--lower", "400", "--upper", "700",
                                  "--exclude-invalid", "--json", nullptr};
            ::execv(LEEBDESK_CLI_PATH, const_cast<char**>(argv));
            return 127;
        });
        if (run.Status != 0) {
            state.SkipWithError("leebdesk-cli archive trend failed");
            return;
        }
        state.SetIterationTime(run.Seconds);
        state.counters["peak_MiB"] = run.PeakMiB;
        state.counters["cpu_s"] = run.CpuSeconds;
    }
}
BENCHMARK(TrendCliJson)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Figures and charts set and drawn once, as the window does for new records.
void TrendViewDraw(benchmark::State& state) {
    const std::vector<leeb::TrendRecord> records = Records(static_cast<int>(state.range(0)));
    leeb::QualitySettings quality;
    quality.PerScale["HRC"] = {42.0, 48.0};
    leeb::TrendView view;
    view.resize(1100, 700);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.ShowRecords(records, quality);
        for (QCustomPlot* plot : std::initializer_list<QCustomPlot*>{
                 view.Charts().Individuals, view.Charts().MovingRanges, view.Charts().Histogram})
            plot->replot(QCustomPlot::rpImmediateRefresh);
        QApplication::processEvents();
    }
}
BENCHMARK(TrendViewDraw)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "trend_bench: no temporary folder\n");
        return 1;
    }
    FillTrendArchive(folder.path());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
