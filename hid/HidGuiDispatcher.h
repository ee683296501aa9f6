#pragma once
// The GUI-thread hand-off. Read threads and the change-notification helper never run handlers
// themselves: they post a call here and the GUI thread runs it when it next dispatches events.

#include <functional>

namespace leeb {

class HidGuiDispatcher {
  public:
    virtual ~HidGuiDispatcher() = default;

    // Queues `call` to run once on the GUI thread. Callable from any thread; never blocks and
    // never runs `call` before returning. Calls run in the order they were posted.
    virtual void Post(std::function<void()> call) = 0;
};

}  // namespace leeb
