#include "QtGuiDispatcher.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QtGlobal>
#include <exception>

namespace leeb {

QtGuiDispatcher::QtGuiDispatcher(std::function<void(const std::string&)> reportError)
    : reportError_(std::move(reportError)) {}

void QtGuiDispatcher::Post(std::function<void()> call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;  // no event loop any more: nothing could run it
    }
    // A queued functor call runs in the application object's thread, the GUI thread.
    QMetaObject::invokeMethod(
        app,
        [call = std::move(call), report = reportError_] {
            try {
                call();
            } catch (const std::exception& error) {
                if (report) {
                    report(error.what());
                } else {
                    qWarning("%s", error.what());
                }
            } catch (...) {
                if (report) {
                    report("unknown error");
                } else {
                    qWarning("unknown error");
                }
            }
        },
        Qt::QueuedConnection);
}

}  // namespace leeb
