#pragma once
// Work that can wait until the user sees the window: run once the window has been exposed
// and painted for the first time, so that slow work (a large record file named on the
// command line) never keeps the window from appearing.

#include <QWidget>
#include <functional>

namespace leeb {

// Runs `work` from the event loop after `window`'s first exposure has been handled (Qt paints
// the window while handling it); at the next pass of the event loop when it is already exposed.
// A window that has still not been exposed after a few seconds (started minimised, a platform
// that never tells) gets its work then. `window` must have been shown.
void RunAfterFirstPaint(QWidget& window, std::function<void()> work);

}  // namespace leeb
