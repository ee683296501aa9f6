#pragma once
// The program's GUI-thread hand-off: posted calls run in the Qt event loop of the thread that
// owns the QCoreApplication.

#include <functional>
#include <string>

#include "HidGuiDispatcher.h"

namespace leeb {

class QtGuiDispatcher : public HidGuiDispatcher {
  public:
    // `reportError` receives the text of an exception that escaped a posted call (an event
    // handler's failure must not unwind through the Qt event loop). Without one the text goes
    // to qWarning.
    explicit QtGuiDispatcher(std::function<void(const std::string&)> reportError = {});

    void Post(std::function<void()> call) override;

  private:
    std::function<void(const std::string&)> reportError_;
};

}  // namespace leeb
