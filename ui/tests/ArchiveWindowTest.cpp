// The archive window over a small archive: pages fetched as the table asks, the filters, the
// chosen records opened in the main window, the trend button's filter, and the window's
// import command with its count of new and known records.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>

#include "Archive.h"
#include "LabSettings.h"
#include "AmendDetailsDialog.h"
#include "ArchiveCommands.h"
#include "ArchiveFilterBar.h"
#include "ArchiveTableModel.h"
#include "ArchiveWindow.h"
#include "RecordSet.h"
#include "TrendWindow.h"
#include "WindowFixture.h"

namespace leeb {
namespace {

using namespace std::chrono_literals;

std::string Line(int day, uint16_t settings, std::vector<uint16_t> readings) {
    MeasurementRecord record;
    record.ImpactCount = static_cast<uint16_t>(readings.size());
    for (std::size_t i = 0; i < readings.size(); ++i)
        record.Readings[i] = readings[i];
    record.SettingsWord = settings;
    record.DateWord = static_cast<uint16_t>(25 | (3 << 7) | (day << 11));  // 2025/03/day
    return FormatRecordLine(record, '.');
}

class ArchiveWindowTest : public WindowTest {
  protected:
    QTemporaryDir folder;
    ArchiveCommands* commands = nullptr;

    ArchiveLocation Location() const { return {folder.filePath("archive.sqlite").toStdString()}; }

    void Install(bool enabled = true) {
        auto settings = std::make_unique<QSettings>(folder.filePath("settings.ini"),
                                                    QSettings::IniFormat);
        settings->setValue(ArchiveEnabledKey, enabled);
        commands = new ArchiveCommands(
            *form, {Location(), {folder.filePath("local.sqlite").toStdString()}, dispatcher,
                    std::move(settings), 60000});
    }

    // `count` records on days 1..28, steel (0x0000) and stainless steel (0x0200) in turn, all
    // HL; every third one (imported second) of part "P-7".
    void Fill(int count) {
        auto archive = OpenArchive(Location());
        std::vector<ArchiveInput> plain, parts;
        for (int i = 0; i < count; ++i) {
            const uint16_t settings = i % 2 == 0 ? 0x0000 : 0x0200;
            (i % 3 == 0 ? parts : plain)
                .push_back({Line(1 + i % 28, settings, {uint16_t(300 + i % 500), 450}), i + 1});
        }
        archive->Import({ArchiveSourceKind::File, "plain.txt", "a", "", ""}, plain, {}, "lab");
        ArchiveLabDetails details;
        details.Part = "P-7";
        details.Operator = "Li";
        archive->Import({ArchiveSourceKind::File, "parts.txt", "b", "", ""}, parts, details, "");
    }

    bool Settled(const std::function<bool()>& done) {
        return dispatcher->ProcessUntil(
            [&] {
                QCoreApplication::processEvents();
                return done();
            },
            5000ms);
    }
    bool Idle(ArchiveTableModel& model) {
        return Settled([&] { return !model.Busy() && commands->Archive().Worker().Queued() == 0; });
    }
};

TEST_F(ArchiveWindowTest, TheTableFetchesAPageAtATimeUntilEveryRecordIsIn) {
    Fill(450);
    form->UseLabSettings(std::make_unique<LabSettings>(
        std::make_unique<QSettings>(folder.filePath("lab.ini"), QSettings::IniFormat)));
    form->Lab().SetLimits("HL", {377.0, 500.0});
    Install();
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ArchiveTableModel& model = window.Model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_TRUE(Idle(model));
    EXPECT_EQ(model.Total(), 450);
    EXPECT_EQ(model.rowCount(), ArchiveTableModel::PageSize);
    EXPECT_EQ(window.StateText()->text(), "450 条记录");
    for (int expected : {400, 450}) {
        ASSERT_TRUE(model.canFetchMore({}));
        model.fetchMore({});
        model.fetchMore({});  // a second ask while a page is on its way adds nothing
        ASSERT_TRUE(Idle(model));
        EXPECT_EQ(model.rowCount(), expected);
    }
    EXPECT_FALSE(model.canFetchMore({}));
    // Each page starts after the page before: every record once, in archive order.
    for (int row = 1; row < model.rowCount(); ++row)
        ASSERT_LT(model.RowAt(row - 1).Record.Id, model.RowAt(row).Record.Id) << row;
    // The first row is the first record archived: the second one made (the first has a part).
    // The archive's id, which history, amend and the trend name, beside the tester's number.
    EXPECT_EQ(model.index(0, ArchiveTableModel::Id).data().toLongLong(), model.RowAt(0).Record.Id);
    EXPECT_EQ(model.index(0, ArchiveTableModel::Number).data().toInt(),
              model.RowAt(0).Record.TesterNumber);
    EXPECT_EQ(model.headerData(ArchiveTableModel::Number, Qt::Horizontal).toString(), "仪器记录号");
    EXPECT_EQ(model.index(0, ArchiveTableModel::Date).data().toString(), "2025/03/02");
    EXPECT_EQ(model.index(0, ArchiveTableModel::Material).data().toString(), "不锈钢");
    EXPECT_EQ(model.index(0, ArchiveTableModel::Scale).data().toString(), "HL");
    EXPECT_EQ(model.index(0, ArchiveTableModel::Mean).data().toString(), "376");  // 375.5, halves to even
    // Judged by the lab's limits for its scale, as the main window would judge it.
    EXPECT_EQ(model.index(0, ArchiveTableModel::Verdict).data().toString(), "不合格");
    EXPECT_EQ(model.index(2, ArchiveTableModel::Verdict).data().toString(), "合格");  // 377
}

TEST_F(ArchiveWindowTest, EachFilterNarrowsTheTable) {
    Fill(60);
    Install();
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ASSERT_TRUE(Idle(window.Model()));
    struct Case {
        const char* Name;
        ArchiveFilter Filter;
        int64_t Expected;
    };
    ArchiveFilter steel, part, days, none;
    steel.Material = "钢和铸钢";
    part.Part = "P-7";
    days.From = "2025-03-01";
    days.To = "2025-03-02";
    none.Scale = "HRC";
    // Means (300 + i + 450) / 2, judged rounded half to even as the lab row judges them:
    // below 390 fail, i = 0..28 (389.5 rounds to 390).
    ArchiveFilter failing;
    failing.Verdict = ArchiveVerdict::Fail;
    failing.Quality.PerScale["HL"] = {390.0, 500.0};
    const Case cases[] = {{"steel", steel, 30},   {"part", part, 20}, {"days", days, 6},
                          {"no HRC", none, 0},    {"all", {}, 60},    {"failing", failing, 29}};
    for (const Case& c : cases) {
        window.Model().SetFilter(c.Filter);
        ASSERT_TRUE(Idle(window.Model())) << c.Name;
        EXPECT_EQ(window.Model().Total(), c.Expected) << c.Name;
    }
    EXPECT_EQ(window.Filters().Filter().Material, std::nullopt);
}

TEST_F(ArchiveWindowTest, ChosenRecordsOpenInTheMainWindowAsFromAFileAndTrendGetsTheFilter) {
    Fill(6);
    Install();
    std::optional<ArchiveFilter> trended;
    commands->SetTrendListener([&](const ArchiveFilter& filter) { trended = filter; });
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ASSERT_TRUE(Idle(window.Model()));
    QItemSelectionModel& selection = *window.Table()->selectionModel();
    selection.select(window.Model().index(3, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.select(window.Model().index(1, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const std::vector<ArchivedRecord> chosen = window.ChosenRecords();
    ASSERT_EQ(chosen.size(), 2u);
    window.findChild<QPushButton*>("OpenArchivedButton")->click();

    EXPECT_EQ(form->Lines(), (RecordLines{"@Import Data@", chosen[0].Line, chosen[1].Line}));
    EXPECT_EQ(form->TreeModel().RecordCount(), 2);
    EXPECT_TRUE(form->CurrentFile().isEmpty());
    EXPECT_FALSE(form->RecordsUnsaved());
    EXPECT_EQ(ButtonStates(), "11111");
    EXPECT_EQ(Text("reclab"), QString("记录号: %1").arg(chosen[0].TesterNumber));

    window.findChild<QPushButton*>("TrendButton")->click();
    ASSERT_TRUE(trended.has_value());
    EXPECT_EQ(trended->Material, window.Model().Filter().Material);
}

TEST_F(ArchiveWindowTest, AmendingChosenRecordsAddsVersionsTheTableShows) {
    Fill(6);
    Install();
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ASSERT_TRUE(Idle(window.Model()));
    auto* amend = window.findChild<QPushButton*>("AmendDetailsButton");
    ASSERT_NE(amend, nullptr);
    EXPECT_FALSE(amend->isEnabled());  // nothing chosen yet
    QItemSelectionModel& selection = *window.Table()->selectionModel();
    for (int row : {0, 5})
        selection.select(window.Model().index(row, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_TRUE(amend->isEnabled());
    const std::vector<ArchivedRecord> chosen = window.ChosenRecords();
    ASSERT_EQ(chosen.size(), 2u);

    // The dialog as the user fills it: the chosen records' part differs ("P-7" and none), so
    // it starts empty; only the lot is typed, with a reason.
    std::vector<ArchivedRecord> asked;
    window.SetAmendmentAsker([&](const std::vector<ArchivedRecord>& records) {
        asked = records;
        AmendDetailsDialog dialog(records, &window);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("AmendPart")->text(), "");
        dialog.findChild<QLineEdit*>("AmendLot")->setText("H2292");
        dialog.findChild<QLineEdit*>("AmendReason")->setText("heat number misread");
        return std::optional<ArchiveWindow::Amendment>{{dialog.Change(), dialog.Reason()}};
    });
    bool done = false;
    window.AmendChosen([&] { done = true; });
    ASSERT_TRUE(Settled([&] { return done; }));
    ASSERT_TRUE(Idle(window.Model()));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(window.StateText()->text().contains("已修改 2 条记录的信息"))
        << window.StateText()->text().toStdString();

    auto archive = OpenArchive(Location());
    for (const ArchivedRecord& record : chosen) {
        const auto history = archive->History(record.Id);
        ASSERT_EQ(history.size(), 2u);
        EXPECT_EQ(history[1].Details.Lot, "H2292");
        EXPECT_EQ(history[1].Details.Part, record.Details.Part);  // untouched
        EXPECT_EQ(history[1].Reason, "heat number misread");
    }
    const int lotColumn = ArchiveTableModel::Lot;
    EXPECT_EQ(window.Model().index(0, lotColumn).data().toString(), "H2292");
    EXPECT_EQ(window.Model().index(5, lotColumn).data().toString(), "H2292");
    EXPECT_EQ(window.Model().index(1, lotColumn).data().toString(), "");
    // Cancelled: nothing asked of the archive.
    window.SetAmendmentAsker([](const auto&) { return std::nullopt; });
    window.AmendChosen();
    EXPECT_EQ(archive->History(chosen[0].Id).size(), 2u);
}

TEST_F(ArchiveWindowTest, LimitsTypedInTheLabRowJudgeTheOpenTableAtOnce) {
    Fill(6);
    form->UseLabSettings(std::make_unique<LabSettings>(
        std::make_unique<QSettings>(folder.filePath("lab.ini"), QSettings::IniFormat)));
    Install();
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ASSERT_TRUE(Idle(window.Model()));
    EXPECT_EQ(window.Model().index(0, ArchiveTableModel::Verdict).data().toString(), "");
    // A record of the table in the main window gives the lab row its scale (HL); limits typed
    // there reach the open archive window without a new search.
    window.Table()->selectionModel()->select(
        window.Model().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window.OpenChosen();
    auto* lower = form->findChild<QLineEdit*>("LowerLimit");
    auto* upper = form->findChild<QLineEdit*>("UpperLimit");
    ASSERT_TRUE(lower != nullptr && upper != nullptr);
    lower->setText("300");
    upper->setText("900");
    emit upper->editingFinished();
    ASSERT_TRUE(Settled([&] { return window.Model().rowCount() > 0 && !window.Model().Busy(); }));
    ASSERT_TRUE(Idle(window.Model()));
    EXPECT_EQ(window.Model().index(0, ArchiveTableModel::Verdict).data().toString(), "合格");
}

TEST_F(ArchiveWindowTest, TheTrendChartsTheChosenRecordsAndAPointOpensItsRecord) {
    Fill(6);
    Install();
    ArchiveFilter steel;
    steel.Material = "钢和铸钢";
    // The trend button's default: a trend window of the records the filter chooses.
    commands->ShowArchiveWindow().findChild<QPushButton*>("TrendButton")->click();
    commands->ShowTrend(steel);
    std::vector<TrendWindow*> trends;
    ASSERT_TRUE(Settled([&] {
        // TrendWindow has no meta-object of its own: findChildren would take any dialog.
        trends.clear();
        for (QWidget* child : form->findChildren<QWidget*>())
            if (auto* trend = dynamic_cast<TrendWindow*>(child))
                trends.push_back(trend);
        return trends.size() == 2;
    }));
    // All six mix steel and stainless steel: refused, saying why; steel alone is charted in
    // date order, each point the mean of its record (i = 0, 2, 4 on days 1, 3, 5).
    TrendWindow* mixed = trends[0]->View()->Message().isEmpty() ? trends[1] : trends[0];
    TrendWindow* charted = mixed == trends[0] ? trends[1] : trends[0];
    EXPECT_FALSE(mixed->View()->Message().isEmpty());
    EXPECT_EQ(charted->View()->Charts().Individuals->PlottedValues(),
              (std::vector<double>{375.0, 376.0, 377.0}));

    const std::vector<int64_t> ids = OpenArchive(Location())->IdsByDate(steel);
    ASSERT_EQ(ids.size(), 3u);
    commands->ShowArchivedRecord(ids[1]);
    ASSERT_TRUE(Settled([&] { return form->Lines().size() == 2; }));
    EXPECT_EQ(form->Lines()[1], Line(3, 0x0000, {302, 450}));
    EXPECT_EQ(form->TreeModel().RecordCount(), 1);
}

TEST_F(ArchiveWindowTest, ImportCountsNewAndKnownRecordsAndWaitsForTheSwitch) {
    const QString path = folder.filePath("records.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("@Import Data@\r\n" + Line(4, 0, {400, 410}) + "\r\n" +
                    Line(5, 0, {420, 430}) + "\r\n")
                       .c_str());
    }
    Install();
    form->OpenRecordFile(path);
    for (const char* expected : {"records.txt: 2 条新记录, 0 条已在档案中",
                                 "records.txt: 0 条新记录, 2 条已在档案中"}) {
        commands->ImportAction()->trigger();
        ASSERT_TRUE(Settled([&] { return Text("StatusMessage") == expected; }))
            << Text("StatusMessage").toStdString();
    }
    commands->ArchivingAction()->setChecked(false);
    EXPECT_FALSE(commands->ImportAction()->isEnabled());
    EXPECT_EQ(Text("StatusMessage"), "存档已关闭");
}

TEST_F(ArchiveWindowTest, ADamagedArchiveIsSaidInTheWindowAndLeftUntouched) {
    {
        QFile file(QString::fromStdString(Location().Text));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("garbage, not a database\n").repeated(100));
    }
    Install();
    ArchiveWindow& window = commands->ShowArchiveWindow();
    ASSERT_TRUE(Settled([&] { return window.StateText()->text().startsWith("不是 leebdesk 档案"); }))
        << window.StateText()->text().toStdString();
    EXPECT_EQ(window.Model().rowCount(), 0);
    EXPECT_FALSE(window.Model().canFetchMore({}));
    QFile file(QString::fromStdString(Location().Text));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("garbage"));
}

}  // namespace
}  // namespace leeb
