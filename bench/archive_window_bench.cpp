// The archive window's first rows over 1,000,000 records: the time from the query to the
// first page in the table, and the memory the window and its archive thread take on top of
// the program, unfiltered and with a date range + material filter.
//   archive_window_bench FOLDER    the archive is FOLDER/window-bench.sqlite, filled once

#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "ArchiveFilterBar.h"
#include "ArchiveTableModel.h"
#include "ArchiveWindow.h"
#include "ArchiveWorker.h"
#include "QtGuiDispatcher.h"
#include "SyntheticArchive.h"

namespace {

using namespace leeb;
using Clock = std::chrono::steady_clock;

// VmRSS or VmHWM of this process, in MiB.
double StatusMiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::strtod(line.c_str() + std::strlen(key) + 1, nullptr) / 1024.0;
    }
    return 0;
}

// Sets the peak (VmHWM) back to the resident size now (Linux 4.0 and later).
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct FirstRows {
    double Milliseconds = 0;
    double MoreMiB = 0;  // the peak during the run above the resident size before it
    int Rows = 0;
    long long Total = 0;
};

FirstRows Measure(const ArchiveLocation& location, const ArchiveFilter& filter) {
    ResetPeak();
    const double before = StatusMiB("VmRSS:");
    FirstRows result;
    {
        auto gui = std::make_shared<QtGuiDispatcher>();
        ArchiveWorker worker(location, location, gui);
        ArchiveWindow window(worker, {}, '.');
        QEventLoop loop;
        QObject::connect(&window.Model(), &QAbstractItemModel::rowsInserted, &loop,
                         &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        const auto start = Clock::now();
        window.show();
        window.Model().SetFilter(filter);
        loop.exec();
        QCoreApplication::processEvents();  // the rows painted
        result.Milliseconds =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        result.Rows = window.Model().rowCount();
        result.Total = window.Model().Total().value_or(-1);
        result.MoreMiB = StatusMiB("VmHWM:") - before;
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: archive_window_bench FOLDER\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const ArchiveLocation location{
        (std::filesystem::path(argv[1]) / "window-bench.sqlite").string()};
    try {
        {
            auto archive = OpenArchive(location);
            std::mt19937 random(7);
            const auto start = Clock::now();
            bench::FillArchive(*archive, 1000000, random);
            std::printf("archive of %lld records ready in %.1f s\n",
                        static_cast<long long>(archive->Count({})),
                        std::chrono::duration<double>(Clock::now() - start).count());
        }
        {
            // The table only grows at its end, one page at a time, each asked for as the page
            // after its last row's id: the deepest page bounds what a page costs after
            // scrolling through everything. (By an offset, for comparison.)
            auto archive = OpenArchive(location);
            const int64_t lastRowBefore =
                archive->Fetch({}, 1000000 - ArchiveTableModel::PageSize - 1, 1).at(0).Id;
            ArchiveFilter after;
            after.AfterId = lastRowBefore;
            auto start = Clock::now();
            auto page = archive->Fetch(after, 0, ArchiveTableModel::PageSize);
            std::printf("the last page (%zu rows after record %lld): %.1f ms\n", page.size(),
                        static_cast<long long>(lastRowBefore),
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            start = Clock::now();
            page = archive->Fetch({}, 1000000 - ArchiveTableModel::PageSize,
                                  ArchiveTableModel::PageSize);
            std::printf("the same page by its offset %d: %.1f ms\n",
                        1000000 - ArchiveTableModel::PageSize,
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        ArchiveFilter narrowed;
        narrowed.From = "2020-03-01";
        narrowed.To = "2020-03-31";
        narrowed.Material = "钢和铸钢";
        const std::pair<const char*, ArchiveFilter> cases[] = {{"no filter", {}},
                                                               {"date range + material", narrowed}};
        for (const auto& [name, filter] : cases) {
            for (int run = 1; run <= 3; ++run) {
                const FirstRows rows = Measure(location, filter);
                std::printf("%s, run %d: first %d of %lld rows in %.1f ms, %.1f MiB more at peak\n",
                            name, run, rows.Rows, rows.Total, rows.Milliseconds, rows.MoreMiB);
            }
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "archive_window_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
