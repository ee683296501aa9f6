// The window's wiring of the upload: the read button, the tester's replies, the automatic
// start, the watcher during an upload and closing the window in the middle of one.

#include <QCheckBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "BarChart.h"
#include "LabSettings.h"
#include "RecordUpload.h"
#include "SingleShotTimer.h"
#include "TesterSimulator.h"
#include "UploadScenarios.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

class UploadWindowTest : public WindowTest {
  protected:
    bool UploadEnds() {
        // The reports come through the dispatcher, the reply timer (which also ends a wait for
        // stray reports) through Qt's own events.
        const auto deadline = std::chrono::steady_clock::now() + 5000ms;
        while (form->UploadRunning() && std::chrono::steady_clock::now() < deadline) {
            dispatcher->WaitAndProcess(10ms);
            QCoreApplication::processEvents();
        }
        return !form->UploadRunning();
    }
    // The tester's "AUTO" frame, and Timer2 running the read command 10 ms later.
    bool AutoStartRuns(TesterSimulator& tester) {
        tester.SendAutoStart();
        if (!dispatcher->ProcessUntil([&] { return form->Upload().AutoStartArmed(); }, 2000ms))
            return false;
        QThread::msleep(20);
        QCoreApplication::processEvents();
        return !form->Upload().AutoStartArmed();
    }
};

TEST_F(UploadWindowTest, TheReadButtonUploadsIntoTreeChartAndPanel) {
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    ASSERT_TRUE(form->DeviceConnected());

    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(form->UploadRunning());
    EXPECT_EQ(ButtonStates(), "00000");
    ASSERT_TRUE(UploadEnds());

    EXPECT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2", "存储记录3"}));
    EXPECT_EQ(TreeTexts(form->TreeModel().RecordIndex(2)), (QStringList{"443", "450", "460"}));
    EXPECT_EQ(ChartValues(), (std::vector<double>{441, 450, 460}));
    EXPECT_EQ(Text("attackl"), "3");
    EXPECT_EQ(Text("reclab"), "记录号: 1");
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_EQ(ButtonStates(), "11111");
    EXPECT_EQ(form->StatusPanel(0)->text(), "");
}

TEST_F(UploadWindowTest, RecordOneIsJudgedAgainstItsScalesLimitsAsItArrives) {
    QTemporaryDir dir;
    form->UseLabSettings(std::make_unique<LabSettings>(
        std::make_unique<QSettings>(dir.filePath("lab.ini"), QSettings::IniFormat)));
    form->Lab().SetLimits("HL", {445.0, 455.0});
    form->Lab().SetExcludeInvalid(true);
    SimulatorRecordSet records = Records(2);
    records.Records[0].Record.Readings = {450, 0, 452};  // 0 arrives as 888, a failed impact
    TesterSimulator tester(records);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(Text("maxp"), "452");
    EXPECT_EQ(Text("Verdict"), "合格");
    EXPECT_EQ(SpreadText(), "标准偏差 1.4  极差 2  有效 2/3");
    EXPECT_EQ(form->Chart()->LimitMarks().Marks,
              (std::vector<ReadingMark>{ReadingMark::Valid, ReadingMark::FailedImpact,
                                        ReadingMark::Valid}));
}

// The built-in sample's record 2 (HRC 45.2 45.3 44.8 45.5 45.1 and a lost reading, 88.8): the
// 88.8 lifts the mean above 46, so judged each the record fails as it does on the mean; with
// the failed impact left out, the mean and every reading lie within.
TEST_F(UploadWindowTest, TheSamplesRecordTwoJudgedEachFailsWithItsMean) {
    QTemporaryDir dir;
    form->UseLabSettings(std::make_unique<LabSettings>(
        std::make_unique<QSettings>(dir.filePath("lab.ini"), QSettings::IniFormat)));
    form->Lab().SetLimits("HRC", {44.0, 46.0});
    TesterSimulator tester;  // the built-in sample records
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    SelectRecord(1);
    ASSERT_EQ(Text("reclab"), "记录号: 2");
    EXPECT_EQ(Text("maxp"), "88.8");
    EXPECT_EQ(Text("Verdict"), "不合格");
    auto* each = form->findChild<QCheckBox*>(QStringLiteral("EachReading"));
    auto* exclude = form->findChild<QCheckBox*>(QStringLiteral("ExcludeInvalid"));
    ASSERT_NE(each, nullptr);
    ASSERT_NE(exclude, nullptr);
    each->setChecked(true);
    EXPECT_EQ(Text("Verdict"), "不合格");
    exclude->setChecked(true);
    EXPECT_EQ(Text("maxp"), "45.5");
    EXPECT_EQ(Text("Verdict"), "合格");
}

TEST_F(UploadWindowTest, TheTestersAutoFrameStartsAnUploadThroughTimer2) {
    TesterSimulator tester(Records(2));
    tester.PlugInto(bus);
    Pump();
    tester.SendAutoStart();
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->Upload().AutoStartArmed(); }, 2000ms));
    QThread::msleep(20);
    QCoreApplication::processEvents();  // Timer2 fires
    ASSERT_TRUE(form->UploadRunning());
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2"}));
}

// A timer whose time passes only when the test says so.
class SteppedTimer : public SingleShotTimer {
  public:
    void SetHandler(std::function<void()> fired) override { fired_ = std::move(fired); }
    void Start(int milliseconds) override { due_ = now_ + std::chrono::milliseconds(milliseconds); }
    void Stop() override { due_.reset(); }
    bool Active() const override { return due_.has_value(); }
    void Advance(std::chrono::milliseconds step) {
        now_ += step;
        if (due_ && *due_ <= now_) {
            due_.reset();
            fired_();
        }
    }

  private:
    std::function<void()> fired_;
    std::chrono::milliseconds now_{0};
    std::optional<std::chrono::milliseconds> due_;
};

TEST_F(UploadWindowTest, ReportsWhileTimer2IsArmedDoNotPutTheStartOff) {
    Pump();
    auto owned = std::make_unique<SteppedTimer>();
    SteppedTimer& timer2 = *owned;
    form->Upload().UseAutoStartTimer(std::move(owned));
    // Reports at controller level, 6 ms apart: Timer2 stays due 10 ms after the first.
    form->Upload().ControllerReportReceived(nullptr, 0, nullptr, 0);
    timer2.Advance(6ms);
    form->Upload().ControllerReportReceived(nullptr, 0, nullptr, 0);
    timer2.Advance(7ms);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->Upload().AutoStartArmed());
    // The start ran: without a tester it only enables the read button.
    EXPECT_EQ(ButtonStates(), "10001");
}

TEST_F(UploadWindowTest, TheWatcherLeavesReadDisabledWhileAnUploadRuns) {
    TesterSimulator tester(Records(2));
    tester.SetReplyDelay(30ms);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    bus->Plug("mouse", 0x046d, 0xc077, 1, 5, 0);
    // The change notice comes through the dispatcher like the replies.
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return form->DeviceList().size() == 2; }, 2000ms));
    EXPECT_TRUE(form->UploadRunning());
    EXPECT_FALSE(form->Button(CommandButton::Read)->isEnabled());
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(ButtonStates(), "11111");
}

// What the tester sends wrong ends the upload with a "数据错误" box; the records before stay in
// the tree and can be saved.
TEST_F(UploadWindowTest, DataErrorsStopTheUploadAndKeepTheRecordsBefore) {
    struct Case {
        const char* name;
        std::function<void(TesterSimulator&)> spoil;
        QStringList tree;
        QStringList words;
        const char* buttons;
    };
    const Case cases[] = {
        {"short count reply",
         [](TesterSimulator& tester) { tester.InjectFault(SimulatorFault::ShortReport, 1); },
         {},
         {"记录数应答长度错误：收到 3 字节，应为 64 字节", "之前读入的 0 条记录已保留"},
         "10001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_unique<MainWindow>(bus, dispatcher, &dialogs);
        dialogs.Messages.clear();
        TesterSimulator tester(Records(3));
        c.spoil(tester);
        tester.PlugInto(bus);
        Pump();
        form->RunCommand([this] { form->ReadRecordsClicked(); });
        ASSERT_TRUE(UploadEnds());
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0].Caption, "数据错误");
        EXPECT_EQ(dialogs.Messages[0].Icon(), "error");
        for (const QString& word : c.words) {
            EXPECT_TRUE(dialogs.Messages[0].Text.contains(word))
                << dialogs.Messages[0].Text.toStdString();
        }
        EXPECT_EQ(TreeTexts(), c.tree);
        EXPECT_EQ(form->Lines().size(), 1u + c.tree.size());
        EXPECT_EQ(ButtonStates(), c.buttons);
        form.reset();
    }
}

// A record the tester stores with an impact count outside 1..32 the same way twice is kept,
// marked in the tree and named when the upload ends; the records after it are read.
TEST_F(UploadWindowTest, ADamagedRecordIsKeptMarkedAndNamed) {
    SimulatorRecordSet records = Records(3);
    records.Records[1].Record.ImpactCount = 40;
    TesterSimulator tester(records);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    EXPECT_EQ(TreeTexts(), (QStringList{"存储记录1", "存储记录2 (已损坏)", "存储记录3"}));
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, "记录 2 已损坏: 冲击次数 40");
    EXPECT_EQ(dialogs.Messages[0].Caption, "记录已损坏");
    EXPECT_EQ(form->Lines().size(), 4u);
    EXPECT_EQ(ButtonStates(), "11111");
}

TEST_F(UploadWindowTest, ClosingTheWindowDuringAnUploadEndsIt) {
    TesterSimulator tester(Records(5));
    tester.SetReplyDelay(50ms);
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    dispatcher->WaitAndProcess(200ms);
    ASSERT_TRUE(form->UploadRunning());
    form->close();
    EXPECT_FALSE(form->UploadRunning());
    form.reset();
    // Replies still on their way find nothing to write into.
    dispatcher->ProcessUntil([] { return false; }, 150ms);
}

TEST_F(UploadWindowTest, AnUploadAsksAboutUnsavedRecordsAndWaitsForTheAnswer) {
    enum Answer { SaveThem = 0, DropThem = 1, KeepThem = 2 };
    struct Case {
        const char* Name;
        bool ByAutoFrame;
        int Answer;
        bool Uploads;
    };
    const Case cases[] = {
        {"read button, keep them", false, KeepThem, false},
        {"read button, drop them", false, DropThem, true},
        {"read button, save them", false, SaveThem, true},
        {"AUTO frame, keep them", true, KeepThem, false},
        {"AUTO frame, drop them", true, DropThem, true},
    };
    QTemporaryDir dir;
    TesterSimulator tester(Records(3));
    tester.PlugInto(bus);
    Pump();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form->RunCommand([this] { form->ReadRecordsClicked(); });
        ASSERT_TRUE(UploadEnds());
        ASSERT_TRUE(form->RecordsUnsaved());
        SelectRecord(2);
        ASSERT_EQ(Text("reclab"), "记录号: 3");
        dialogs.Questions.clear();
        dialogs.QuestionAnswers = {c.Answer};
        const QString saved = dir.filePath(QString::fromLatin1(c.Name) + ".txt");
        if (c.Answer == SaveThem)
            dialogs.SaveNames.push_back(saved);
        const int commandsBefore = tester.CommandsReceived();
        bool startedDuringQuestion = false;
        bool secondStartRan = false;
        dialogs.DuringQuestion = [&] {
            startedDuringQuestion = form->UploadRunning();
            // The tester repeats its frame while the box is up: the start still waits.
            secondStartRan = AutoStartRuns(tester);
        };

        if (c.ByAutoFrame)
            ASSERT_TRUE(AutoStartRuns(tester));
        else
            form->RunCommand([this] { form->ReadRecordsClicked(); });
        dialogs.DuringQuestion = nullptr;

        EXPECT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_FALSE(startedDuringQuestion);
        EXPECT_TRUE(secondStartRan);
        EXPECT_EQ(form->UploadRunning(), c.Uploads);
        ASSERT_TRUE(UploadEnds());
        QThread::msleep(20);
        Pump();
        EXPECT_FALSE(form->UploadRunning()) << "the frame repeated during the question is not a "
                                               "second upload";
        EXPECT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(tester.CommandsReceived() > commandsBefore, c.Uploads);
        EXPECT_EQ(QFile::exists(saved), c.Answer == SaveThem);
        // The records shown after an upload are record 1's, and the record number says so.
        EXPECT_EQ(Text("reclab"), c.Uploads ? "记录号: 1" : "记录号: 3");
        EXPECT_EQ(form->RecordsUnsaved(), c.Answer != SaveThem || c.Uploads);
        EXPECT_EQ(TreeTexts().size(), 3);
    }
}

// The tester's frame while the user answers the question of an open: the upload it asks for is
// not lost but starts after the answer, asking in turn.
TEST_F(UploadWindowTest, AnAutoFrameDuringTheOpenQuestionStartsItsUploadAfterwards) {
    QTemporaryDir dir;
    {
        QFile file(dir.filePath("other.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("@Import Data@\r\n");
    }
    TesterSimulator tester(Records(2));
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    const RecordLines uploaded = form->Lines();

    dialogs.OpenNames.push_back(dir.filePath("other.txt"));
    dialogs.QuestionAnswers = {2, 1};  // the open: 取消; the upload after it: 不保存
    bool autoDuringQuestion = false;
    dialogs.DuringQuestion = [&] {
        if (dialogs.Questions.size() != 1)
            return;
        autoDuringQuestion = AutoStartRuns(tester);
        EXPECT_FALSE(form->UploadRunning());
    };
    form->RunCommand([this] { form->OpenClicked(); });
    EXPECT_TRUE(autoDuringQuestion);
    EXPECT_EQ(form->Lines(), uploaded) << "the open was cancelled";
    EXPECT_EQ(dialogs.Questions.size(), 1u);

    // Timer2 is a Qt timer: Qt's own events run between the looks.
    const int commandsBefore = tester.CommandsReceived();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Questions.size() == 2; }, 2000));
    ASSERT_TRUE(UploadEnds());
    EXPECT_GT(tester.CommandsReceived(), commandsBefore);
    EXPECT_EQ(form->Lines(), uploaded) << "the same two records, uploaded again";
}

TEST_F(UploadWindowTest, SavedRecordsAreReplacedWithoutAQuestion) {
    QTemporaryDir dir;
    TesterSimulator tester(Records(2));
    tester.PlugInto(bus);
    Pump();
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    dialogs.SaveNames.push_back(dir.filePath("saved.txt"));
    form->RunCommand([this] { form->SaveClicked(); });
    ASSERT_FALSE(form->RecordsUnsaved());
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    EXPECT_TRUE(form->UploadRunning());
    ASSERT_TRUE(UploadEnds());
    EXPECT_TRUE(dialogs.Questions.empty());
    EXPECT_TRUE(form->RecordsUnsaved());
}

// The shared scenarios through the window: the read command, the replies through the
// dispatcher, the real reply timer (three seconds for the tester that stops answering), the
// record set, the tree and the message boxes.
class UploadWindowScenarioTest : public UploadWindowTest,
                                 public ::testing::WithParamInterface<test::UploadScenario> {};

TEST_P(UploadWindowScenarioTest, EndsAsTheScenarioSays) {
    const test::UploadScenario& scenario = GetParam();
    TesterSimulator tester(scenario.Tester);
    test::ApplyFaults(scenario, tester);
    const SimulatedDeviceId id = tester.PlugInto(bus);
    Pump();
    form->SetVerifiedUpload(scenario.Verified);
    form->RunCommand([this] { form->ReadRecordsClicked(); });
    ASSERT_TRUE(UploadEnds());
    ASSERT_TRUE(dispatcher->ProcessUntil([&] { return bus->QueuedInputReports(id) == 0; }, 2000ms));
    Pump();

    const RecordUpload& upload = form->Upload().LastUpload();
    test::ScenarioRun run;
    run.Outcome = upload.Outcome();
    run.Lines = form->Lines();
    run.Damaged = upload.Damaged();
    run.Fault = upload.ProtocolError() ? std::optional(upload.ProtocolError()->Fault)
                                       : std::nullopt;
    run.Commands = tester.CommandsReceived();
    run.Named = upload.RecordsNamed();
    test::ExpectScenario(scenario, run);
    // One box for each notice and for a data error; a node for each record kept, a damaged
    // one marked.
    EXPECT_EQ(dialogs.Messages.size(), scenario.Notices().size() + (scenario.Fault ? 1 : 0));
    const QStringList tree = TreeTexts();
    EXPECT_EQ(static_cast<std::size_t>(tree.size()), scenario.Lines.size() - 1);
    for (const DamagedRecord& damaged : scenario.Damaged) {
        EXPECT_TRUE(tree.contains(QStringLiteral("存储记录%1 (已损坏)").arg(damaged.Record)))
            << tree.join(QLatin1Char(' ')).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UploadWindowScenarioTest,
                         ::testing::ValuesIn(test::UploadScenarios()),
                         [](const auto& info) { return test::ScenarioTestName(info.param); });

}  // namespace
}  // namespace leeb
