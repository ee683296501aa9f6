// The lab's additions in the window: limits entered in the detail panel and remembered per
// scale, the verdict and spread of the record shown, marked readings in the tree, invalid
// readings left out, and what the report and the CSV export take of them.

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QSettings>

#include "BarChart.h"
#include "LabSettings.h"
#include "RecordCsv.h"
#include "ReportSystem.h"
#include "SaveOpenFixture.h"
#include "WindowShortcuts.h"

namespace leeb {
namespace {

class LabWindowTest : public SaveOpenTest {
  protected:
    void SetUp() override {
        form->UseLabSettings(NewSettings());
        form->Reports().SetOptionsProvider([](QWidget*) { return std::nullopt; });
    }
    std::unique_ptr<LabSettings> NewSettings() const {
        return std::make_unique<LabSettings>(
            std::make_unique<QSettings>(PathOf("lab.ini"), QSettings::IniFormat));
    }
    QLineEdit* Edit(const char* name) const {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void EnterLimits(const QString& lower, const QString& upper) {
        Edit("LowerLimit")->setText(lower);
        Edit("UpperLimit")->setText(upper);
        emit Edit("UpperLimit")->editingFinished();
    }
    QColor ReadingColour(int record, int reading) const {
        const QModelIndex parent = form->TreeModel().RecordIndex(record);
        return form->TreeModel().index(reading, 0, parent).data(Qt::ForegroundRole).value<QColor>();
    }
    bool VerdictShown() const { return !Picture("Verdict")->isHidden(); }
    void LayOutChart() {
        form->show();
        QCoreApplication::processEvents();
        form->Chart()->replot(QCustomPlot::rpImmediateRefresh);
    }
};

TEST_F(LabWindowTest, NothingSetShowsThePanelAsBefore) {
    ShowAsUploaded(Sample());
    SelectRecord(0);
    EXPECT_EQ(Text("maxp"), "88.8");  // the failed impact counts, as it always did
    // The spread too: over all three readings, 888 among them, and one line with no count of
    // valid readings.
    EXPECT_EQ(Text("Spread"), "标准偏差 24.89  极差 43.5");
    EXPECT_FALSE(VerdictShown());
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(ReadingColour(0, k).isValid()) << k;
    }
    EXPECT_EQ(Edit("LowerLimit")->text(), "");
    LayOutChart();
    EXPECT_TRUE(form->Chart()->LimitLineYs().empty());
    EXPECT_TRUE(form->Chart()->LimitMarks().Marks.empty());
}

TEST_F(LabWindowTest, LimitsJudgeTheRecordAndAreRememberedForItsScale) {
    ShowAsUploaded(Sample());
    SelectRecord(2);  // HL 450 460 470 480
    EnterLimits("455", "475");
    EXPECT_EQ(Text("Verdict"), "合格");
    EXPECT_TRUE(VerdictShown());
    EXPECT_EQ(Text("Spread"), "标准偏差 12.9  极差 30");
    // 450 below, 480 above: coloured; the texts stay.
    EXPECT_TRUE(ReadingColour(2, 0).isValid());
    EXPECT_FALSE(ReadingColour(2, 1).isValid());
    EXPECT_TRUE(ReadingColour(2, 3).isValid());
    EXPECT_NE(ReadingColour(2, 0), ReadingColour(2, 3));
    EXPECT_EQ(TreeTexts(form->TreeModel().RecordIndex(2)),
              (QStringList{"450", "460", "470", "480"}));
    // The chart draws both limits as lines and the two readings outside in another colour.
    LayOutChart();
    const std::vector<double> lines = form->Chart()->LimitLineYs();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0], lines[1]);  // the lower limit lies lower on the screen
    EXPECT_EQ(form->Chart()->LimitMarks().Marks,
              (std::vector<ReadingMark>{ReadingMark::BelowLower, ReadingMark::Valid,
                                        ReadingMark::Valid, ReadingMark::AboveUpper}));

    // An HRC record has limits of its own: none yet, so no verdict and no marks.
    SelectRecord(0);
    EXPECT_EQ(Edit("LowerLimit")->text(), "");
    EXPECT_FALSE(VerdictShown());
    EXPECT_FALSE(ReadingColour(0, 0).isValid());
    EXPECT_TRUE(ReadingColour(2, 0).isValid());

    // A new run reads them back.
    form->UseLabSettings(NewSettings());
    SelectRecord(2);
    EXPECT_EQ(Edit("LowerLimit")->text(), "455");
    EXPECT_EQ(Edit("UpperLimit")->text(), "475");
    EnterLimits("466", "");
    EXPECT_EQ(Text("Verdict"), "不合格");
}

TEST_F(LabWindowTest, LimitsThatCannotJudgeAreNotApplied) {
    ShowAsUploaded(Sample());
    SelectRecord(2);
    EnterLimits("455", "475");
    struct Case {
        QString lower, upper;
        const char* wrong;
        const char* why;  // part of the field's tooltip
    } cases[] = {{"abc", "475", "LowerLimit", "不是数值"},
                 {"455", "4 7", "UpperLimit", "不是数值"},
                 {"480", "470", "LowerLimit", "下限不能大于上限"},
                 {"inf", "", "LowerLimit", "不是数值"},
                 // A thousand, or one? Refused rather than read as 1.
                 {"455", "1,000", "UpperLimit", "写作 1000 或 1.5"}};
    for (const Case& c : cases) {
        EnterLimits(c.lower, c.upper);
        EXPECT_EQ(form->Lab().Limits("HL"), (ToleranceLimits{455.0, 475.0}))
            << c.lower.toStdString();
        EXPECT_FALSE(Edit(c.wrong)->styleSheet().isEmpty()) << c.lower.toStdString();
        EXPECT_TRUE(Edit(c.wrong)->toolTip().contains(QString::fromUtf8(c.why)))
            << Edit(c.wrong)->toolTip().toStdString();
        EXPECT_EQ(Text("Verdict"), "合格");
    }
    // A decimal comma is read as the separator; empty fields remove the limits.
    EnterLimits("455,5", "");
    EXPECT_EQ(form->Lab().Limits("HL"), (ToleranceLimits{455.5, std::nullopt}));
    EnterLimits("", "");
    EXPECT_FALSE(form->Lab().Limits("HL").Any());
    EXPECT_FALSE(VerdictShown());
    LayOutChart();
    EXPECT_TRUE(form->Chart()->LimitLineYs().empty());
}

TEST_F(LabWindowTest, ExcludedInvalidReadingsLeaveTheStatisticsShownAsSuch) {
    ShowAsUploaded(Sample());
    SelectRecord(0);  // HRC 45.3 88.8 46.1
    auto* exclude = form->findChild<QCheckBox*>(QStringLiteral("ExcludeInvalid"));
    exclude->setChecked(true);
    EXPECT_EQ(Text("maxp"), "46.1");
    EXPECT_EQ(Text("minp"), "45.3");
    EXPECT_EQ(Text("avgp"), "45.7");
    EXPECT_EQ(Text("attackl"), "3");
    EXPECT_EQ(SpreadText(), "标准偏差 0.57  极差 0.8  有效 2/3");
    EXPECT_TRUE(ReadingColour(0, 1).isValid());  // the failed impact is marked
    exclude->setChecked(false);
    EXPECT_EQ(Text("maxp"), "88.8");
    EXPECT_FALSE(ReadingColour(0, 1).isValid());
}

// Judged each, one reading outside fails the record whose mean lies within; no reading is
// dropped, and a record of failed impacts only is never a pass.
TEST_F(LabWindowTest, EachReadingJudgedFailsARecordWithOneReadingOutside) {
    ShowAsUploaded(Sample());
    SelectRecord(2);  // HL 450 460 470 480, mean 465
    EnterLimits("455", "475");
    EXPECT_EQ(Text("Verdict"), "合格");
    auto* each = form->findChild<QCheckBox*>(QStringLiteral("EachReading"));
    ASSERT_NE(each, nullptr);
    each->setChecked(true);
    EXPECT_EQ(Text("Verdict"), "不合格");
    EXPECT_EQ(Text("maxp"), "480");
    EXPECT_EQ(Text("minp"), "450");
    EXPECT_EQ(SpreadText(), "标准偏差 12.9  极差 30");
    EXPECT_TRUE(form->Lab().Quality().EachReading);
    // Remembered under its own name.
    form->UseLabSettings(NewSettings());
    EXPECT_TRUE(each->isChecked());
}

// A setting written when the box asked for readings outside the limits to be made invalid is
// read as judging each reading: both mean that no reading outside may go unnoticed.
TEST_F(LabWindowTest, TheRetiredSettingIsReadAsEachReading) {
    {
        QSettings old(PathOf("lab.ini"), QSettings::IniFormat);
        old.setValue(QStringLiteral("Statistics/RejectOutside"), true);
    }
    form->UseLabSettings(NewSettings());
    auto* each = form->findChild<QCheckBox*>(QStringLiteral("EachReading"));
    EXPECT_TRUE(each->isChecked());
    each->setChecked(false);
    form->UseLabSettings(NewSettings());
    EXPECT_FALSE(each->isChecked());
    EXPECT_FALSE(QSettings(PathOf("lab.ini"), QSettings::IniFormat)
                     .contains(QStringLiteral("Statistics/RejectOutside")));
}

TEST_F(LabWindowTest, ReportAsksForDetailsOnlyWhenWantedOrFilledInBefore) {
    ShowAsUploaded(Sample());
    SelectRecord(2);
    EnterLimits("455", "");
    // Ctrl-click records 1 and 3.
    QItemSelectionModel* selection = form->RecordTree()->selectionModel();
    selection->select(form->TreeModel().RecordIndex(0), QItemSelectionModel::Select);
    ReportDetails details;
    details.Company = "华东检测中心";
    details.Signatures = true;
    dialogs.DetailsAnswer = ReportDetailsChoice{details, QStringLiteral("1,3"), false};

    // Nothing filled in: straight to the output options, with the chosen records and limits;
    // there "报表信息..." asks for the details of this run.
    int asked = 0;
    std::optional<ReportContent> beforeDetails;
    form->Reports().SetOptionsProvider([&](QWidget*) -> std::optional<OutputOptions> {
        ++asked;
        beforeDetails = form->Reports().Content();
        form->Reports().EditDetails();
        return std::nullopt;
    });
    form->RunCommand([this] { form->PrintReportClicked(); });
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(beforeDetails);
    EXPECT_FALSE(beforeDetails->Details.Any());
    EXPECT_EQ(beforeDetails->Records, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(beforeDetails->Quality.For(DecodeSettingsWord(fixtures::SteelHL)).Limits.Lower,
              455.0);
    ASSERT_EQ(dialogs.DetailsProposals.size(), 1u);
    EXPECT_EQ(dialogs.DetailsProposals[0].Records, "1,3");
    const ReportContent& content = form->Reports().Content();
    EXPECT_EQ(content.Details, details);
    EXPECT_EQ(content.Records, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(form->Lab().Details(), details);  // remembered for the next report

    // Filled in before: proposed first. Skip prints no details and keeps the remembered ones.
    form->Reports().SetOptionsProvider([&asked](QWidget*) {
        ++asked;
        return std::nullopt;
    });
    dialogs.DetailsAnswer = ReportDetailsChoice{{}, QString(), true};
    form->RunCommand([this] { form->PrintReportClicked(); });
    ASSERT_EQ(dialogs.DetailsProposals.size(), 2u);
    EXPECT_EQ(dialogs.DetailsProposals.back().Details, details);
    EXPECT_FALSE(form->Reports().Content().Details.Any());
    EXPECT_TRUE(form->Reports().Content().Records.empty());
    EXPECT_EQ(asked, 2);

    // Cancel ends the run before the output options.
    dialogs.DetailsAnswer = std::optional<ReportDetailsChoice>{};
    form->RunCommand([this] { form->PrintReportClicked(); });
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(LabWindowTest, ReportWithDetailsKeyAsksFirstEvenWithNothingFilledIn) {
    ShowAsUploaded(Sample());
    int asked = 0;
    form->Reports().SetOptionsProvider([&asked](QWidget*) {
        ++asked;
        return std::nullopt;
    });
    dialogs.DetailsAnswer = std::optional<ReportDetailsChoice>{};
    form->RunCommand([this] { form->PrintReportWithDetails(); });
    EXPECT_EQ(dialogs.DetailsProposals.size(), 1u);
    EXPECT_EQ(asked, 0);
    // The print-report button's tooltip names the key.
    const QString tip = form->Button(CommandButton::PrintReport)->toolTip();
    EXPECT_TRUE(tip.contains(ReportWithDetailsKey().toString(QKeySequence::NativeText)))
        << tip.toStdString();
    // Printing the chart keeps its own key.
    EXPECT_EQ(ShortcutOf(CommandButton::PrintChart), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
}

TEST_F(LabWindowTest, CsvExportTakesLimitsAndTheChosenRecords) {
    ShowAsUploaded(Sample());
    SelectRecord(2);
    EnterLimits("455", "475");
    QItemSelectionModel* selection = form->RecordTree()->selectionModel();
    selection->select(form->TreeModel().RecordIndex(1), QItemSelectionModel::Select);
    Save(PathOf("lab.csv"), CsvFilterIndex);
    RecordCsvOptions expected;
    expected.DecimalSeparator = sep();
    expected.Quality = form->Lab().Quality();
    expected.Records = {2, 3};
    EXPECT_EQ(ReadFile(PathOf("lab.csv")),
              QByteArray::fromStdString(FormatRecordCsv(Sample(), expected)));
    const QList<QByteArray> rows = ReadFile(PathOf("lab.csv")).split('\n');
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[0].contains(QStringLiteral(",下限,上限,判定").toUtf8()));
    EXPECT_TRUE(rows[2].trimmed().endsWith(QStringLiteral(",455,475,合格").toUtf8()));
}

}  // namespace
}  // namespace leeb
