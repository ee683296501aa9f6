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
#include "UploadArchiveWindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

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
