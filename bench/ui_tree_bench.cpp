// The record tree with a full tester's records: 61,439 records of 32 readings. Measures the
// rebuild of the tree and chart with the first paint, then expanding and selecting records,
// and the resident memory above an empty window. A small timed program: each step runs once,
// as a user meets it.

#include <QApplication>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "ManualGuiDispatcher.h"
#include "RecordFile.h"
#include "RecordTreeModel.h"
#include "SimulatedHidBus.h"
#include "MainWindow.h"

namespace {

constexpr int RecordCount = 61439;
constexpr int ReadingCount = 32;

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

leeb::RecordLines FullTester(char separator) {
    leeb::RecordLines lines{std::string(leeb::RecordFileHeader)};
    lines.reserve(RecordCount + 1);
    leeb::MeasurementRecord record;
    record.ImpactCount = ReadingCount;
    record.DateWord = static_cast<uint16_t>(24 | 5 << 7 | 17 << 11);
    for (int r = 1; r <= RecordCount; ++r) {
        // Every fifth record on HRC (one decimal), the rest on HL.
        record.SettingsWord = static_cast<uint16_t>(r % 5 == 0 ? 3 << 12 | 1 : 2);
        for (int k = 0; k < ReadingCount; ++k) {
            record.Readings[static_cast<std::size_t>(k)] =
                static_cast<uint16_t>(400 + (r * 7 + k * 13) % 150);
        }
        lines.push_back(leeb::FormatRecordLine(record, separator));
    }
    return lines;
}

template <class Step>
double Milliseconds(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto dispatcher = std::make_shared<leeb::ManualGuiDispatcher>();
    leeb::MainWindow form(std::make_shared<leeb::SimulatedHidBus>(), dispatcher);
    form.show();
    dispatcher->ProcessPending();
    QApplication::processEvents();
    form.repaint();
    const long emptyKiB = ResidentKiB();

    leeb::RecordLines lines = FullTester(form.DecimalSeparatorInUse());
    const long linesKiB = ResidentKiB() - emptyKiB;

    // The rebuild converts every line once (an open does the same as the file streams in).
    QTreeView* tree = form.RecordTree();
    leeb::RecordTreeModel& model = form.TreeModel();
    const double rebuild = Milliseconds([&] {
        form.ClearRecords();
        form.Lines() = std::move(lines);
        form.RebuildRecordTree();
        tree->setCurrentIndex(model.RecordIndex(0));
        QApplication::processEvents();
        form.repaint();
    });

    double expandSelect = 0.0;
    for (int row : {0, RecordCount / 2, RecordCount - 1}) {
        expandSelect += Milliseconds([&] {
            const QModelIndex record = model.RecordIndex(row);
            tree->expand(record);
            tree->setCurrentIndex(record);
            tree->scrollTo(record);
            QApplication::processEvents();
            form.repaint();
        });
    }
    const long totalKiB = ResidentKiB() - emptyKiB;

    // Limits entered: every record's reading rows are told their colours may have changed.
    leeb::QualitySettings limits;
    limits.PerScale["HL"] = leeb::ToleranceLimits{450.0, 520.0};
    const double marks = Milliseconds([&] {
        model.SetQuality(limits);
        QApplication::processEvents();
        form.repaint();
    });

    std::printf("records                      %d x %d readings\n", model.RecordCount(),
                ReadingCount);
    std::printf("rebuild + select + paint     %8.1f ms\n", rebuild);
    std::printf("expand + select + paint (3)  %8.1f ms\n", expandSelect);
    std::printf("limits set, marks repainted  %8.1f ms\n", marks);
    std::printf("resident above empty window  %8.1f MiB (record lines alone %.1f MiB)\n",
                static_cast<double>(totalKiB) / 1024.0, static_cast<double>(linesKiB) / 1024.0);
    return model.RecordCount() == RecordCount ? 0 : 1;
}
