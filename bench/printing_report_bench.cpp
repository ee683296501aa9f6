// Time and peak memory of a report written to PDF: records of 32 readings (four to a page).
// Usage: printing_report_bench [records=1000] [output.pdf]
// Pages are generated and written one at a time, so peak memory should stay about flat as the
// record count grows; compare 1000 with 4000.
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "MeasurementRecord.h"
#include "RecordFile.h"
#include "ReportFonts.h"
#include "ReportPdf.h"

namespace {

leeb::RecordLines MakeRecords(int count) {
    leeb::RecordLines lines{std::string(leeb::RecordFileHeader)};
    for (int r = 0; r < count; ++r) {
        leeb::MeasurementRecord record;
        record.ImpactCount = 32;
        for (int k = 0; k < 32; ++k) {
            record.Readings[static_cast<std::size_t>(k)] =
                static_cast<uint16_t>(400 + (r + k) % 300);
        }
        record.SettingsWord = static_cast<uint16_t>((r % 5) | (r % 3 == 0 ? 3 << 12 : 0));
        record.DateWord = 23 | 5 << 7 | 17 << 11;
        lines.push_back(leeb::FormatRecordLine(record, '.'));
    }
    return lines;
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    leeb::InstallFontSubstitutions();
    const int records = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString path =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::temp().filePath("leebdesk_bench.pdf");
    const leeb::RecordLines lines = MakeRecords(records);
    const long before = PeakRssKiB();

    const auto start = std::chrono::steady_clock::now();
    leeb::WriteReportPdf(lines, path, '.');
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    std::printf(
        "records %d  pages %d  time %.2f s  peak RSS %.1f MiB (%.1f MiB before)  PDF %.1f MiB\n",
        records, (records + 3) / 4, elapsed.count(), PeakRssKiB() / 1024.0, before / 1024.0,
        QFileInfo(path).size() / 1048576.0);
    return 0;
}
