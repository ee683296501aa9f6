// The archive's figures, a small timed program: import of a full tester's record file, a
// filtered query (date range + material) over 1,000,000 records, bytes per record on disk.
//   archive_bench FOLDER [postgresql://...]   SQLite in FOLDER, and the server when given
// The server's tables are dropped first: point it at a scratch database only.

#include <QSqlQuery>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <random>

#include "Archive.h"
#include "FullRecordFile.h"
#include "RecordFile.h"
#include "SqlArchive.h"
#include "SyntheticArchive.h"

namespace {

using namespace leeb;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The process's own processor time: on a machine shared with other builds the wall time
// varies with their load, this much less.
double ProcessorSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

void Run(const ArchiveLocation& location, const std::string& name) {
    const std::string full = std::filesystem::temp_directory_path() / "archive-bench-full.txt";
    bench::WriteFullRecordFile(full);
    const RecordLines lines = ReadRecordFile(full);
    std::vector<ArchiveInput> fullInputs;
    for (std::size_t i = 1; i < lines.size(); ++i)
        fullInputs.push_back({lines[i], static_cast<int>(i)});

    auto archive = OpenArchive(location);
    auto start = Clock::now();
    const double processor = ProcessorSeconds();
    archive->Import({ArchiveSourceKind::File, full, "x", "", ""}, fullInputs, {}, "bench");
    std::printf("%s: import of %zu records: %.2f s (%.2f s of this process's processor time)\n",
                name.c_str(), fullInputs.size(), Seconds(start), ProcessorSeconds() - processor);

    std::mt19937 random(7);
    start = Clock::now();
    bench::FillArchive(*archive, 1000000, random);
    std::printf("%s: filled to %lld records in %.1f s\n", name.c_str(),
                static_cast<long long>(archive->Count({})), Seconds(start));

    if (!location.IsServer()) {
        // A writing connection checks the file once before its first write (quick_check): its
        // cost over 1,000,000 records, alone and within an import of a full tester's file
        // (new records: a year the synthetic archive does not hold).
        std::vector<ArchiveInput> later = fullInputs;
        for (ArchiveInput& input : later)
            input.Line.replace(input.Line.find(",20") + 1, 4, "2031");
        auto fresh = OpenArchive(location);
        start = Clock::now();
        QSqlQuery(static_cast<SqlArchive&>(*fresh).Database()).exec("PRAGMA quick_check");
        std::printf("%s: quick_check of 1,000,000 records: %.2f s\n", name.c_str(),
                    Seconds(start));
        fresh = OpenArchive(location);
        start = Clock::now();
        const auto added =
            fresh->Import({ArchiveSourceKind::File, full + ".2031", "y", "", ""}, later, {}, "bench");
        std::printf("%s: import of %d new records into 1,000,000 on a new connection (check "
                    "included): %.2f s\n",
                    name.c_str(), added.Added, Seconds(start));
    }

    ArchiveFilter filter;
    filter.From = "2020-03-01";
    filter.To = "2020-03-31";
    filter.Material = "钢和铸钢";
    double best = 1e9;
    int64_t matched = 0;
    std::size_t page = 0;
    for (int run = 0; run < 5; ++run) {
        start = Clock::now();
        matched = archive->Count(filter);
        page = archive->Fetch(filter, 0, 100).size();
        best = std::min(best, Seconds(start));
    }
    std::printf("%s: date range + material over 1,000,000: count %lld and first %zu rows in "
                "%.1f ms (best of 5)\n",
                name.c_str(), static_cast<long long>(matched), page, best * 1000);
    // The same filter with a verdict: the synthetic records are all HL, judged against 400-600
    // record by record after SQL has narrowed them.
    ArchiveFilter judged = filter;
    judged.Verdict = ArchiveVerdict::Fail;
    judged.Quality.PerScale["HL"] = {400.0, 600.0};
    best = 1e9;
    for (int run = 0; run < 5; ++run) {
        start = Clock::now();
        matched = archive->Count(judged);
        page = archive->Fetch(judged, 0, 100).size();
        best = std::min(best, Seconds(start));
    }
    std::printf("%s: the same with --verdict fail (HL 400-600): count %lld and first %zu rows in "
                "%.1f ms (best of 5)\n",
                name.c_str(), static_cast<long long>(matched), page, best * 1000);
    judged = {};
    judged.Verdict = ArchiveVerdict::Fail;
    judged.Quality.PerScale["HL"] = {400.0, 600.0};
    start = Clock::now();
    matched = archive->Count(judged);
    std::printf("%s: --verdict fail alone over 1,000,000: count %lld in %.0f ms\n", name.c_str(),
                static_cast<long long>(matched), Seconds(start) * 1000);
    start = Clock::now();
    const auto ids = archive->IdsByDate(filter);
    std::printf("%s: ids by date of the same filter: %zu in %.1f ms\n", name.c_str(), ids.size(),
                Seconds(start) * 1000);

    if (!location.IsServer()) {
        QSqlQuery(static_cast<SqlArchive&>(*archive).Database())
            .exec("PRAGMA wal_checkpoint(TRUNCATE)");
        const auto bytes = std::filesystem::file_size(location.Text);
        std::printf("%s: %ju bytes on disk, %.0f bytes per record\n", name.c_str(),
                    static_cast<std::uintmax_t>(bytes), double(bytes) / 1000000.0);
    } else {
        QSqlQuery size(static_cast<SqlArchive&>(*archive).Database());
        size.exec("SELECT pg_total_relation_size('records') + pg_total_relation_size('sources')"
                  " + pg_total_relation_size('details_versions')");
        if (size.next())
            std::printf("%s: %lld bytes, %.0f bytes per record\n", name.c_str(),
                        size.value(0).toLongLong(), size.value(0).toDouble() / 1000000.0);
    }
    std::filesystem::remove(full);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: archive_bench FOLDER [postgresql://...]\n");
        return 2;
    }
    try {
        const std::string file = (std::filesystem::path(argv[1]) / "bench.sqlite").string();
        std::filesystem::remove(file);
        Run({file}, "SQLite");
        if (argc > 2) {
            {
                SqlArchive reset({argv[2]});
                QSqlQuery(reset.Database())
                    .exec("DROP TABLE IF EXISTS details_versions, records, sources, leebdesk_schema");
            }
            Run({argv[2]}, "PostgreSQL");
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "archive_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
