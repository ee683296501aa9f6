// The Qt hand-off: calls posted from any thread run on the GUI thread, in order, and a failing
// call is reported instead of unwinding through the event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <string>
#include <thread>
#include <vector>

#include "QtGuiDispatcher.h"

namespace leeb::test {
namespace {

TEST(QtGuiDispatcherTest, CallsFromAThreadRunOnTheGuiThreadInOrder) {
    QtGuiDispatcher dispatcher;
    std::vector<int> order;
    bool allOnGui = true;
    QEventLoop loop;
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i) {
            dispatcher.Post([&, i] {
                allOnGui = allOnGui && QThread::currentThread() == qApp->thread();
                order.push_back(i);
                if (i == 49) {
                    loop.quit();
                }
            });
        }
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    poster.join();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    }
    EXPECT_TRUE(allOnGui);
}

TEST(QtGuiDispatcherTest, FailingCallIsReportedAndTheLoopGoesOn) {
    std::vector<std::string> reported;
    QtGuiDispatcher dispatcher([&](const std::string& text) { reported.push_back(text); });
    bool after = false;
    dispatcher.Post([] { throw std::runtime_error("device cannot be opened"); });
    dispatcher.Post([&] { after = true; });
    QCoreApplication::processEvents();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "device cannot be opened");
    EXPECT_TRUE(after);
}

}  // namespace
}  // namespace leeb::test
