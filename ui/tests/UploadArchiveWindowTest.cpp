// The window's upload archiving: each record committed as it completes, whatever ends the
// upload; nothing written with archiving off; a server that cannot be reached keeps the
// records in the local file, and the status bar says how many wait.

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <chrono>
#include <optional>

#include "Archive.h"
#include "ArchiveTestSupport.h"
#include "TesterSimulator.h"
#include "UploadScenarios.h"
#include "WindowArchive.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

class UploadArchiveWindowTest : public WindowTest {
  protected:
    QTemporaryDir folder;
    WindowArchive* archive = nullptr;

    std::string ArchivePath() const { return folder.filePath("archive.sqlite").toStdString(); }
    std::string LocalPath() const { return folder.filePath("local.sqlite").toStdString(); }

    void Install(ArchiveLocation location, bool enabled = true, int retryMilliseconds = 60000) {
        auto settings = std::make_unique<QSettings>(folder.filePath("settings.ini"),
                                                    QSettings::IniFormat);
        settings->setValue(ArchiveEnabledKey, enabled);
        archive = new WindowArchive(*form, {std::move(location), {LocalPath()}, dispatcher,
                                            std::move(settings), retryMilliseconds});
    }

    static SimulatorRecordSet Records(int count) {
        SimulatorRecordSet set;
        for (int r = 1; r <= count; ++r) {
            SimulatedRecord record;
            record.Number = r;
            record.Record.ImpactCount = 3;
            record.Record.Readings = {static_cast<uint16_t>(440 + r), 450, 460};
            record.Record.SettingsWord = 2;
            record.Record.DateWord = static_cast<uint16_t>(24 | 5 << 7 | 17 << 11);
            set.Records.push_back(record);
        }
        return set;
    }

    // The upload, then the archive thread's work and its replies.
    bool UploadAndArchive() {
        form->RunCommand([this] { form->ReadRecordsClicked(); });
        const auto deadline = std::chrono::steady_clock::now() + 10000ms;
        while ((form->UploadRunning() || archive->Worker().Queued() > 0) &&
               std::chrono::steady_clock::now() < deadline) {
            dispatcher->WaitAndProcess(10ms);
            QCoreApplication::processEvents();
        }
        Pump();
        return !form->UploadRunning() && archive->Worker().Queued() == 0;
    }

    static std::vector<std::string> ArchivedLines(const ArchiveLocation& location) {
        std::vector<std::string> lines;
        for (const ArchivedRecord& record : OpenArchive(location)->Fetch({}, 0, 100000))
            lines.push_back(record.Line);
        return lines;
    }
};

class UploadArchiveScenarioTest : public UploadArchiveWindowTest,
                                  public ::testing::WithParamInterface<test::UploadScenario> {};

TEST_P(UploadArchiveScenarioTest, EveryRecordTheWindowKeptIsArchived) {
    const test::UploadScenario& scenario = GetParam();
    Install({ArchivePath()});
    TesterSimulator tester(scenario.Tester);
    test::ApplyFaults(scenario, tester);
    tester.PlugInto(bus);
    Pump();
    form->SetVerifiedUpload(scenario.Verified);
    ASSERT_TRUE(UploadAndArchive());
    // An upload cut off by an unplug, a time-out or a data error keeps what it completed.
    const std::vector<std::string> kept(form->Lines().begin() + 1, form->Lines().end());
    EXPECT_EQ(ArchivedLines({ArchivePath()}), kept);
    EXPECT_TRUE(archive->StatusPanel()->isHidden()) << archive->StatusPanel()->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UploadArchiveScenarioTest,
                         ::testing::ValuesIn(test::UploadScenarios()),
                         [](const auto& info) { return test::ScenarioTestName(info.param); });

TEST_F(UploadArchiveWindowTest, SwitchedOffNothingIsWrittenAndTheStatusBarIsAsBefore) {
    Install({ArchivePath()}, false);
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(ArchivePath())));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(LocalPath())));
    EXPECT_TRUE(archive->StatusPanel()->isHidden());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form->StatusPanel(i)->geometry().width(), (i == 1 ? 100 : 50)) << i;
}

TEST_F(UploadArchiveWindowTest, AnUploadTwiceAddsNothingTheSecondTime) {
    Install({ArchivePath()});
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(UploadAndArchive());
    dialogs.QuestionAnswers.push_back(1);  // 不保存
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(ArchivedLines({ArchivePath()}).size(), 3u);
}

TEST_F(UploadArchiveWindowTest, AServerThatCannotBeReachedKeepsTheRecordsPendingAndSaysSo) {
    // Nothing listens on port 1: refused at once.
    Install({"postgresql://127.0.0.1:1/leebdesk"});
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(archive->Pending(), 3);
    EXPECT_TRUE(archive->StatusPanel()->isVisible() || !form->isVisible());
    EXPECT_FALSE(archive->StatusPanel()->isHidden());
    EXPECT_EQ(archive->StatusPanel()->text(), "3 条记录等待发送到档案服务器");
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 3);
}

TEST_F(UploadArchiveWindowTest, AFileImportedWhileTheServerCannotBeReachedWaitsLocally) {
    Install({"postgresql://127.0.0.1:1/leebdesk"});
    const QString path = folder.filePath("records.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("@Import Data@\r\n" + testing::Line(4, 0, {400, 410}) + "\r\n" +
                    testing::Line(5, 0, {420, 430}) + "\r\n")
                       .c_str());
    }
    std::optional<ArchiveImportSummary> summary;
    archive->ImportFile(
        path, [&](const ArchiveImportSummary& done) { summary = done; },
        [](const ArchiveFailure& failure) { ADD_FAILURE() << failure.Detail; });
    const auto deadline = std::chrono::steady_clock::now() + 10000ms;
    while (!summary && std::chrono::steady_clock::now() < deadline) {
        dispatcher->WaitAndProcess(10ms);
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->Added, 2);
    EXPECT_EQ(archive->Pending(), 2);
    EXPECT_EQ(archive->StatusPanel()->text(), "2 条记录等待发送到档案服务器");
    EXPECT_EQ(OpenArchive({LocalPath()})->PendingCount(), 2);
}

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

TEST_F(UploadArchiveWindowTest, ArchivedRecordsWaitWhileAnUploadWritesTheRecords) {
    Install({ArchivePath()});
    TesterSimulator tester(Records(300));
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->Lines().size() > 2; }, 5000ms));
    ASSERT_TRUE(form->UploadRunning());
    ASSERT_FALSE(form->Button(CommandButton::Open)->isEnabled());
    ArchivedRecord other;
    other.Line = form->Lines()[1];
    form->RunCommand([&] { form->ShowArchivedRecords({other}); });
    EXPECT_EQ(Text("StatusMessage"), "正在读入数据, 档案记录稍后再打开");
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(form->Lines().size(), 301u);
    EXPECT_EQ(form->TreeModel().RecordCount(), 300);
}

TEST_F(UploadArchiveWindowTest, ClosingTheWindowMidUploadCommitsEveryRecordHandedOver) {
    Install({ArchivePath()});
    TesterSimulator tester(Records(40));
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->Lines().size() > 10; }, 5000ms));
    const std::vector<std::string> kept(form->Lines().begin() + 1, form->Lines().end());
    form.reset();
    const std::vector<std::string> archived = ArchivedLines({ArchivePath()});
    ASSERT_GE(archived.size(), kept.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), archived.begin()));
}

}  // namespace
}  // namespace leeb
