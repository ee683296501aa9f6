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
#include "FileSizeLimit.h"
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
    EXPECT_EQ(form->FeedbackPanel()->text(), "已读入 3 条记录; 档案: 3 条新记录, 0 条已在档案中");
    dialogs.QuestionAnswers.push_back(1);  // 不保存
    ASSERT_TRUE(UploadAndArchive());
    EXPECT_EQ(ArchivedLines({ArchivePath()}).size(), 3u);
    // The same records, as a repeat measurement with the same readings would give: the status
    // bar says they were in the archive already.
    EXPECT_EQ(form->FeedbackPanel()->text(), "已读入 3 条记录; 档案: 0 条新记录, 3 条已在档案中");
    EXPECT_TRUE(dialogs.Messages.empty());
}

// Records that no archive took: a warning box the user must dismiss, not a line in the status
// bar, and the records stay in the window to be saved. The parameter: a disk that fills during
// the upload, else an archive whose folder cannot be made (a file stands there).
class UploadArchiveNotTakenTest : public UploadArchiveWindowTest,
                                  public ::testing::WithParamInterface<bool> {};

TEST_P(UploadArchiveNotTakenTest, RecordsNoArchiveTookBringAWarningThatStays) {
    constexpr int Records = 200;
    const bool fullDisk = GetParam();
    {
        QFile blocker(folder.filePath("blocker"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const std::string path = fullDisk ? ArchivePath()
                                      : folder.filePath("blocker/archive.sqlite").toStdString();
    if (fullDisk)
        OpenArchive({path});
    Install({path});
    TesterSimulator tester(WindowTest::Records(Records));
    tester.PlugInto(bus);
    Pump();
    {
        std::optional<FileSizeLimit> limit;
        if (fullDisk)
            limit.emplace(QFileInfo(QString::fromStdString(path)).size() + 32 * 1024);
        ASSERT_TRUE(UploadAndArchive());
    }
    ASSERT_EQ(form->Lines().size(), Records + 1u) << "the records stay in the window";
    const int archived = fullDisk ? static_cast<int>(ArchivedLines({path}).size()) : 0;
    if (fullDisk) {
        EXPECT_GT(archived, 0);
        EXPECT_LT(archived, Records);
    }
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Icon(), "warning");
    EXPECT_TRUE(dialogs.Messages[0].Text.startsWith(
        QString("%1 条记录未能存入档案。").arg(Records - archived)))
        << dialogs.Messages[0].Text.toStdString();
    EXPECT_EQ(form->FeedbackPanel()->text(),
              QString("已读入 %1 条记录; 档案: %2 条新记录, 0 条已在档案中")
                  .arg(Records)
                  .arg(archived));
}

INSTANTIATE_TEST_SUITE_P(Faults, UploadArchiveNotTakenTest, ::testing::Bool(),
                         [](const auto& info) {
                             return info.param ? "FullDisk" : "ArchiveCannotBeOpened";
                         });

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
