// Work put off until the window's first paint: it never runs before the window is painted,
// and always runs, also when the window was painted already.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <string_view>
#include <vector>

#include "FirstPaint.h"

namespace leeb {
namespace {

// Notes each paint and each run of the work in one sequence.
class PaintNotingWindow : public QWidget {
  public:
    std::vector<const char*>* Seen = nullptr;

  protected:
    void paintEvent(QPaintEvent*) override { Seen->push_back("paint"); }
};

TEST(FirstPaintTest, TheWorkRunsAfterTheFirstPaintAndOnlyOnce) {
    struct Case {
        const char* Name;
        bool ExposedBefore;  // the window was exposed and painted before the work was given
    };
    for (const Case c : {Case{"given right after show()", false}, Case{"given later", true}}) {
        SCOPED_TRACE(c.Name);
        std::vector<const char*> seen;
        PaintNotingWindow window;
        window.Seen = &seen;
        window.resize(200, 100);
        window.show();
        if (c.ExposedBefore) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            QApplication::processEvents();
        }
        RunAfterFirstPaint(window, [&seen] { seen.push_back("work"); });
        EXPECT_EQ(std::count(seen.begin(), seen.end(), std::string_view("work")), 0)
            << "the work waits for the event loop";
        ASSERT_TRUE(QTest::qWaitFor([&seen] {
            return std::find(seen.begin(), seen.end(), std::string_view("work")) != seen.end();
        }));
        QTest::qWait(50);  // later exposures must not run it again
        window.update();
        QApplication::processEvents();
        EXPECT_EQ(std::count(seen.begin(), seen.end(), std::string_view("work")), 1);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(std::string_view(seen.front()), "paint") << "painted before the work ran";
    }
}

}  // namespace
}  // namespace leeb
