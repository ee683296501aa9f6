// The window's archive thread: results and failures come back on the GUI thread, a job never
// holds the GUI thread, and ending the worker commits every record already handed over.

#include <gtest/gtest.h>

#include <QFile>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "ArchiveTestSupport.h"
#include "ArchiveWorker.h"
#include "ManualGuiDispatcher.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;
using testing::ArchivePlace;
using testing::Backend;
using testing::Line;

class ArchiveWorkerTest : public ::testing::Test {
  protected:
    ArchivePlace place{Backend::Sqlite};
    std::shared_ptr<ManualGuiDispatcher> gui = std::make_shared<ManualGuiDispatcher>();
    std::string LocalPath() const { return (place.Folder().Path() / "local.sqlite").string(); }

    std::unique_ptr<ArchiveWorker> Worker(const ArchiveLocation& location) {
        return std::make_unique<ArchiveWorker>(location, ArchiveLocation{LocalPath()}, gui);
    }
};

TEST_F(ArchiveWorkerTest, ResultsAndFailuresArriveOnTheGuiThreadOnly) {
    auto worker = Worker(place.Location());
    const std::thread::id guiThread = std::this_thread::get_id();
    std::atomic<bool> workedOnGuiThread{true};
    std::optional<int64_t> count;
    bool countOnGuiThread = false;
    worker->Ask<int64_t>(
        [&](ArchiveWorker::Access& access) {
            workedOnGuiThread = std::this_thread::get_id() == guiThread;
            return access.Reading().Count({});
        },
        [&](int64_t n) {
            count = n;
            countOnGuiThread = std::this_thread::get_id() == guiThread;
        },
        {});
    ASSERT_TRUE(gui->ProcessUntil([&] { return count.has_value(); }, 5000ms));
    EXPECT_EQ(*count, 0);
    EXPECT_TRUE(countOnGuiThread);
    EXPECT_FALSE(workedOnGuiThread);

    std::optional<ArchiveFailure> failure;
    worker->Ask<int>([](ArchiveWorker::Access&) -> int { throw ConversionError("bad line"); },
                     {}, [&](const ArchiveFailure& f) { failure = f; });
    ASSERT_TRUE(gui->ProcessUntil([&] { return failure.has_value(); }, 5000ms));
    EXPECT_FALSE(failure->FromArchive);
    EXPECT_EQ(failure->Detail, "bad line");
}

TEST_F(ArchiveWorkerTest, ADamagedFileFailsWithItsCodeAndIsLeftAsItWas) {
    const QByteArray foreign = QByteArray("not an archive at all, just some text\n").repeated(200);
    {
        QFile file(QString::fromStdString(place.Location().Text));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(foreign);
    }
    auto worker = Worker(place.Location());
    std::optional<ArchiveFailure> failure;
    worker->Ask<int64_t>([](ArchiveWorker::Access& access) { return access.Reading().Count({}); },
                         {}, [&](const ArchiveFailure& f) { failure = f; });
    ASSERT_TRUE(gui->ProcessUntil([&] { return failure.has_value(); }, 5000ms));
    EXPECT_TRUE(failure->FromArchive);
    EXPECT_EQ(failure->Code, ArchiveErrorCode::NotAnArchive);
    worker.reset();
    QFile file(QString::fromStdString(place.Location().Text));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), foreign);
}

TEST_F(ArchiveWorkerTest, AJobThatWaitsNeverHoldsTheGuiThread) {
    auto worker = Worker(place.Location());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const auto start = std::chrono::steady_clock::now();
    worker->Post([released](ArchiveWorker::Access&) { released.wait(); });
    bool second = false;
    worker->Ask<int>([](ArchiveWorker::Access&) { return 1; }, [&](int) { second = true; }, {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    EXPECT_EQ(worker->Queued(), 2);
    release.set_value();
    ASSERT_TRUE(gui->ProcessUntil([&] { return second; }, 5000ms));
}

TEST_F(ArchiveWorkerTest, EndingCommitsEveryRecordHandedOverAndDropsTheReplies) {
    auto worker = Worker(place.Location());
    constexpr int Records = 40;
    int replies = 0;
    for (int r = 0; r < Records; ++r) {
        worker->Ask<bool>(
            [r](ArchiveWorker::Access& access) {
                return access.Upload("tester", "2025-03-14T08:00:00Z")
                    .Add(Line(1 + r % 28, 0x0100, {uint16_t(400 + r)}), r + 1);
            },
            [&](bool) { ++replies; }, {});
    }
    worker.reset();  // at once: most records are still queued
    gui->ProcessPending();
    EXPECT_EQ(replies, 0);
    EXPECT_EQ(OpenArchive(place.Location())->Count({}), Records);
}

TEST_F(ArchiveWorkerTest, AServerThatCannotBeReachedKeepsTheUploadLocallyAsPending) {
    // Nothing listens on port 1: the connection is refused at once.
    auto worker = Worker({"postgresql://127.0.0.1:1/leebdesk"});
    std::optional<int> pending;
    worker->Ask<int>(
        [](ArchiveWorker::Access& access) {
            UploadArchiving& upload = access.Upload("tester", "2025-03-14T08:00:00Z");
            upload.Add(Line(3, 0x0100, {450, 460}), 1);
            return upload.Pending();
        },
        [&](int n) { pending = n; }, {});
    ASSERT_TRUE(gui->ProcessUntil([&] { return pending.has_value(); }, 10000ms));
    EXPECT_EQ(*pending, 1);
    worker.reset();
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 1);
}

}  // namespace
}  // namespace leeb
