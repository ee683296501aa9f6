// The window's own open (MainWindow::OpenRecordFile, through its record set) refusing a bad
// file: the header and 200 MB of empty lines. The refusal must come on line 2 at once, without
// the file being read into memory first: under 1 s and under 50 MiB of peak resident memory
// above the window's own. Each run is a child process of its own; a child that only builds and
// shows the window gives the window's own peak for comparison.
//
// Exits 1 when a limit is exceeded or the refusal does not name line 2.
//
// Usage: window_open_bench [megabytes of empty lines]   (default 200)

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "ChildMeasurement.h"
#include "DialogHost.h"
#include "MainWindow.h"
#include "ManualGuiDispatcher.h"
#include "RecordFile.h"
#include "SimulatedHidBus.h"

namespace {

constexpr double LimitSeconds = 1.0;
constexpr double LimitMiB = 50.0;

// Answers every box at once and keeps the last message.
class RecordingDialogs : public leeb::DialogHost {
  public:
    QString Message;
    int MessageBox(const QString& text, const QString&, unsigned) override {
        Message = text;
        return leeb::IDOK;
    }
    int AskQuestion(const QString&, const QString&, const QStringList&) override { return 0; }
    std::optional<leeb::SaveFileChoice> GetSaveFileName(const QString&) override { return {}; }
    std::optional<QString> GetOpenFileName(const QString&) override { return {}; }
};

long StatusKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

// From now on the peak resident size (VmHWM) counts from the present size.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::string MakeBadFile(std::size_t megabytes) {
    const std::string path = "/tmp/leebdesk-window-open-" + std::to_string(::getpid()) + ".txt";
    std::ofstream file(path, std::ios::binary);
    file << leeb::RecordFileHeader << "\r\n";
    const std::string blanks(1 << 20, '\n');
    for (std::size_t i = 0; i < megabytes; ++i) {
        file << blanks;
    }
    if (!file.flush()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    return path;
}

// Builds and shows the window as the program does; with a path, opens it through the window
// and reports the open alone. 0: as it should be; 1: a limit exceeded or the wrong refusal.
int WindowChild(int argc, char** argv, const std::string& path) {
    QApplication app(argc, argv);
    auto dispatcher = std::make_shared<leeb::ManualGuiDispatcher>();
    RecordingDialogs dialogs;
    leeb::MainWindow form(std::make_shared<leeb::SimulatedHidBus>(), dispatcher, &dialogs);
    form.show();
    dispatcher->ProcessPending();
    QApplication::processEvents();
    if (path.empty())
        return 0;

    ResetPeak();
    const long before = StatusKiB("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    form.RunCommand([&] { form.OpenRecordFile(QString::fromStdString(path)); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double grownMiB = static_cast<double>(StatusKiB("VmHWM:") - before) / 1024.0;
    const bool line2 = dialogs.Message.contains(QStringLiteral("第 2 行"));
    std::printf("  the open alone: %.3f s, peak %.1f MiB above the shown window, refused on "
                "line 2: %s\n",
                seconds, grownMiB, line2 ? "yes" : "no");
    std::fflush(stdout);
    return line2 && seconds < LimitSeconds && grownMiB < LimitMiB ? 0 : 1;
}

void Print(const char* what, const leeb::bench::Measurement& m) {
    std::printf("%-52s peak %6.1f MiB  wall %6.3f s  cpu %6.3f s  status %d\n", what, m.PeakMiB,
                m.Seconds, m.CpuSeconds, m.Status);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200;
    const std::string bad = MakeBadFile(megabytes);

    using leeb::bench::InChild;
    const leeb::bench::Measurement window =
        InChild([&] { return WindowChild(argc, argv, std::string()); });
    Print("the window, shown, nothing opened", window);
    const leeb::bench::Measurement open = InChild([&] { return WindowChild(argc, argv, bad); });
    const std::string what =
        "the window refusing header + " + std::to_string(megabytes) + " MB of empty lines";
    Print(what.c_str(), open);
    std::remove(bad.c_str());

    const double aboveWindow = open.PeakMiB - window.PeakMiB;
    std::printf("peak above the window alone: %.1f MiB\n", aboveWindow);
    if (open.Status != 0 || aboveWindow >= LimitMiB) {
        std::printf("FAILED: the refusal must name line 2 within %.0f s and %.0f MiB\n",
                    LimitSeconds, LimitMiB);
        return 1;
    }
    return 0;
}
