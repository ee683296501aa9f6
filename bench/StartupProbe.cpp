// A probe preloaded (LD_PRELOAD) into a Qt program to time its start-up from outside without
// changing the program. When the program's QCoreApplication is made, the probe watches every
// event and writes one line to the file descriptor in LEEBDESK_PROBE_FD for each moment it
// sees, the CLOCK_MONOTONIC time in nanoseconds first:
//
//   "<ns> exposed"  the first top-level window is exposed (on the offscreen platform: shown)
//   "<ns> painted"  that exposure has been handled: Qt paints the widgets during it
//   "<ns> titled"   the window title changed to one naming a file (" - " in it): the records
//                   of the file named on the command line are in
//
// LEEBDESK_PROBE_UNTIL names the moment after which the probe ends the process at once
// (default "painted"), so that no shutdown is timed.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <unistd.h>

namespace {

int ProbeFd() {
    const char* fd = std::getenv("LEEBDESK_PROBE_FD");
    return fd != nullptr ? std::atoi(fd) : -1;
}

std::string Until() {
    const char* until = std::getenv("LEEBDESK_PROBE_UNTIL");
    return until != nullptr && *until != '\0' ? until : "painted";
}

void Note(const char* moment) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%lld %s\n",
                                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                     moment);
    const int fd = ProbeFd();
    if (fd >= 0 && length > 0 && ::write(fd, line, static_cast<std::size_t>(length)) < 0)
        std::_Exit(3);
    if (Until() == moment)
        std::_Exit(0);
}

class StartupWatch : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && !exposed_) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window != nullptr && window->isTopLevel()) {
                exposed_ = true;
                Note("exposed");
                // Runs once the exposure, and with it the first paint, has been handled.
                QTimer::singleShot(0, this, [] { Note("painted"); });
            }
        } else if (event->type() == QEvent::WindowTitleChange && !titled_) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->isWindow() &&
                widget->windowTitle().contains(QStringLiteral(" - "))) {
                titled_ = true;
                Note("titled");
            }
        }
        return false;
    }

  private:
    bool exposed_ = false;
    bool titled_ = false;
};

void InstallStartupWatch() {
    QCoreApplication::instance()->installEventFilter(new StartupWatch);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallStartupWatch)
