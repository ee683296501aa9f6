#include "FirstPaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <memory>

namespace leeb {

namespace {

constexpr int UnexposedWaitMs = 3000;

// Watches the native window for its first exposure; runs the work once, whichever of the
// exposure and the wait comes first, and then goes.
class FirstExposureWatch : public QObject {
  public:
    FirstExposureWatch(QWidget& window, std::function<void()> work)
        : QObject(&window), work_(std::move(work)) {
        window.windowHandle()->installEventFilter(this);
        QTimer::singleShot(UnexposedWaitMs, this, [this] { Run(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            // Queued: the exposure is painted after the filters have seen it.
            QTimer::singleShot(0, this, [this] { Run(); });
        }
        return false;
    }

  private:
    void Run() {
        if (!work_)
            return;
        const std::function<void()> work = std::move(work_);
        work_ = nullptr;
        deleteLater();
        work();
    }

    std::function<void()> work_;
};

}  // namespace

void RunAfterFirstPaint(QWidget& window, std::function<void()> work) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr || handle->isExposed()) {
        QTimer::singleShot(0, &window, std::move(work));
        return;
    }
    new FirstExposureWatch(window, std::move(work));
}

}  // namespace leeb
