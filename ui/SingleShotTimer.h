#pragma once
// A timer that fires once, some milliseconds after it is started. The window's runs on Qt's
// event loop; a test gives the upload one whose time it moves itself, since sleeping around
// a 10 ms timer proves nothing on a busy machine.

#include <QTimer>
#include <functional>

namespace leeb {

class SingleShotTimer {
  public:
    virtual ~SingleShotTimer() = default;
    // Runs on the thread that started the timer, once per start that was not stopped.
    virtual void SetHandler(std::function<void()> fired) = 0;
    // Starting an active timer starts it again from now.
    virtual void Start(int milliseconds) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

class QtSingleShotTimer : public SingleShotTimer {
  public:
    QtSingleShotTimer() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (fired_)
                fired_();
        });
    }
    void SetHandler(std::function<void()> fired) override { fired_ = std::move(fired); }
    void Start(int milliseconds) override { timer_.start(milliseconds); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }

  private:
    std::function<void()> fired_;
    QTimer timer_;
};

}  // namespace leeb
