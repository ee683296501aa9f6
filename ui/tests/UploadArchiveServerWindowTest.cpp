// The window's archive on a server: records kept locally while it could not be reached go to
// it at start and, while the window runs, at the next retry once it answers. These cases share
// the test server's database with the archive's own tests, so they run one at a time with them.

#include <QFile>
#include <chrono>

#include "ArchiveTestSupport.h"
#include "UploadArchiveWindowFixture.h"
#include "UploadArchiving.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

TEST_F(UploadArchiveWindowTest, RecordsWaitingLocallyGoToTheServerAtStart) {
    const testing::ArchivePlace server(testing::Backend::Postgres);
    if (!server.Available())
        GTEST_SKIP() << "no test server (" << testing::PostgresVariable << ")";
    {
        UploadArchiving offline({"postgresql://127.0.0.1:1/leebdesk"}, {LocalPath()});
        offline.Begin("tester", "2025-03-14T08:00:00Z", {}, "");
        for (int day : {3, 4, 5})
            ASSERT_TRUE(offline.Add(testing::Line(day, 0x0100, {450, 460}), day));
        ASSERT_EQ(offline.Pending(), 3);
    }
    Install(server.Location());
    ASSERT_TRUE(dispatcher->ProcessUntil(
        [&] {
            QCoreApplication::processEvents();
            return archive->Worker().Queued() == 0 && dispatcher->PendingCount() == 0;
        },
        10000ms));
    EXPECT_EQ(OpenArchive(server.Location())->Count({}), 3);
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 0);
    EXPECT_EQ(archive->Pending(), 0);
    EXPECT_TRUE(archive->StatusPanel()->isHidden());
}

// A server that answers and refuses every write (a reviewer's read-only role): the records wait
// in the local file as for a server that is down, and the status bar says so; nothing is lost,
// so no warning.
TEST_F(UploadArchiveWindowTest, AServerThatRefusesWritesKeepsTheRecordsPending) {
    const testing::ArchivePlace server(testing::Backend::Postgres);
    if (!server.Available())
        GTEST_SKIP() << "no test server (" << testing::PostgresVariable << ")";
    OpenArchive(server.Location());  // the tables, as the owner made them
    const std::string& location = server.Location().Text;
    Install({location + (location.find('?') == std::string::npos ? "?" : "&") +
             "options=-c%20default_transaction_read_only%3Don"});
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(archive->Pending(), 3);
    EXPECT_EQ(archive->StatusPanel()->text(), "3 条记录等待发送到档案服务器");
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 3);
    EXPECT_EQ(OpenArchive(server.Location())->Count({}), 0);
    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(form->FeedbackPanel()->text(), "已读入 3 条记录; 档案: 3 条新记录, 0 条已在档案中");
}

// The server comes back while the window runs: what waited goes to it at the next try, without
// a restart or a sync. The server's socket folder is reached through a link that is not there
// at first, so the same location is refused, then answers.
TEST_F(UploadArchiveWindowTest, RecordsWaitingLocallyGoToTheServerWhenItAnswersAgain) {
    const testing::ArchivePlace server(testing::Backend::Postgres);
    if (!server.Available())
        GTEST_SKIP() << "no test server (" << testing::PostgresVariable << ")";
    const QString location = QString::fromStdString(server.Location().Text);
    const qsizetype hostAt = location.indexOf("host=");
    if (hostAt < 0)
        GTEST_SKIP() << "the test server listens on TCP, not on a socket folder";
    const qsizetype hostEnd = location.indexOf('&', hostAt);
    const QString socketFolder = location.mid(hostAt + 5, hostEnd < 0 ? -1 : hostEnd - hostAt - 5);
    const QString link = folder.filePath("server");
    QString throughLink = location;
    throughLink.replace(hostAt + 5, socketFolder.size(), link);
    Install({throughLink.toStdString()}, true, 200);
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(UploadAndArchive());
    ASSERT_EQ(archive->Pending(), 3);

    ASSERT_TRUE(QFile::link(socketFolder, link));
    // The retry timer fires in the event loop; the archive thread answers through the
    // dispatcher: both turn until the count is down.
    const auto deadline = std::chrono::steady_clock::now() + 10000ms;
    while (archive->Pending() > 0 && std::chrono::steady_clock::now() < deadline) {
        dispatcher->WaitAndProcess(10ms);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(archive->Pending(), 0);
    EXPECT_EQ(OpenArchive(server.Location())->Count({}), 3);
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 0);
    EXPECT_TRUE(archive->StatusPanel()->isHidden());
}

}  // namespace
}  // namespace leeb
