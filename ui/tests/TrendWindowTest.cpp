// The trend window over archived records: the charts read back from their plots with the lab's
// exclusion and limits, the filters that chose the records, a click naming a record's archive
// id, and the page printed and saved as a PDF (or why not).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <vector>

#include "ArchiveTrendRecords.h"
#include "InterfaceTranslation.h"
#include "PdfText.h"
#include "ReportFonts.h"
#include "ReportLabels.h"
#include "ScriptedDialogHost.h"
#include "TrendWindow.h"

namespace leeb {
namespace {

using testing::PdfInfo;
using testing::PdfWords;

constexpr int HrcSteelD = 0x3000;
constexpr int HrcSteelDl = 0x3020;

// Ten HRC records, archive ids 101.. in date order: nine at 41, then 40. The fourth holds a
// failed impact (88.8) beside its 41, which the lab's exclusion leaves out. Mean 40.9; the
// nine make a run above the centre line, the last lies below LCL = 40.9 - 2.66 / 9.
std::vector<ArchivedRecord> RunThenDrop() {
    std::vector<ArchivedRecord> records;
    for (int i = 0; i < 10; ++i) {
        ArchivedRecord& record = records.emplace_back();
        record.Id = 101 + i;
        record.TesterNumber = i + 1;
        record.DateText = i < 5 ? "2025/03/14" : "2025/03/15";
        record.SettingsWord = HrcSteelD;
        record.Readings = {i < 9 ? 41.0 : 40.0};
        if (i == 3)
            record.Readings.push_back(88.8);
    }
    return records;
}

QualitySettings LabQuality() {
    QualitySettings quality;
    quality.PerScale["HRC"] = {39.0, 43.0};
    quality.PerScale["HL"] = {400.0, 500.0};  // another scale's limits play no part
    quality.ExcludeInvalid = true;
    return quality;
}

ArchiveFilter Chosen() {
    ArchiveFilter filter;
    filter.Scale = "HRC";
    filter.Lot = "H2291";
    return filter;
}

class TrendWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        InstallFontSubstitutions();
        ASSERT_TRUE(folder_.isValid());
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    std::unique_ptr<TrendWindow> Open(const std::vector<ArchivedRecord>& records) {
        auto window =
            std::make_unique<TrendWindow>(records, LabQuality(), Chosen(), nullptr, &dialogs_);
        window->show();
        QCoreApplication::processEvents();
        for (QCustomPlot* plot : std::initializer_list<QCustomPlot*>{
                 window->View()->Charts().Individuals, window->View()->Charts().MovingRanges,
                 window->View()->Charts().Histogram})
            plot->replot(QCustomPlot::rpImmediateRefresh);
        return window;
    }
    QString Path(const QString& name) const { return folder_.filePath(name); }
    static QString PageText(const QString& pdf) {
        QStringList words;
        for (const testing::PdfWord& word : PdfWords(pdf))
            words << word.Text;
        return words.join(' ');
    }

    ScriptedDialogHost dialogs_;
    QTemporaryDir folder_;
};

TEST_F(TrendWindowTest, ShowsTheChosenRecordsWithTheLabsSettingsAndFilters) {
    const auto window = Open(RunThenDrop());
    EXPECT_EQ(window->objectName(), "TrendWindow");
    EXPECT_TRUE(window->isWindow());
    EXPECT_FALSE(window->isModal());

    // The 88.8 is left out: the fourth point is 41, not 64.9.
    const TrendView* view = window->View();
    EXPECT_EQ(view->Charts().Individuals->PlottedValues(),
              (std::vector<double>{41, 41, 41, 41, 41, 41, 41, 41, 41, 40}));
    EXPECT_EQ(view->Charts().Individuals->SignalPoints(), (std::vector<std::size_t>{8, 9}));
    EXPECT_EQ(view->Charts().Histogram->LimitLineXs(), (std::vector<double>{39.0, 43.0}));
    EXPECT_EQ(view->FiguresTable()->item(4, 0)->text(), "6.77");  // Cp = 4 * 1.128 * 9 / 6

    EXPECT_EQ(window->FilterTexts(), (QStringList{"硬度制 HRC", "批号 H2291"}));
    EXPECT_EQ(window->findChild<QLabel*>("TrendFilters")->text(),
              "筛选条件: 硬度制 HRC; 批号 H2291");
    EXPECT_EQ(window->windowTitle(), "趋势与过程能力 - 钢和铸钢 HRC D");
    EXPECT_TRUE(window->PrintButton()->isEnabled());
    EXPECT_TRUE(window->SavePdfButton()->isEnabled());
    EXPECT_EQ(window->PrintButton()->text(), "打印…");
    EXPECT_EQ(window->SavePdfButton()->text(), "保存 PDF…");

    // No filter: the line says the whole archive. The archive's lean read makes the same trend.
    const TrendWindow all(TrendRecordsOf(RunThenDrop()), LabQuality(), {}, nullptr, &dialogs_);
    EXPECT_EQ(all.findChild<QLabel*>("TrendFilters")->text(), "筛选条件: 无 (档案中全部记录)");
    EXPECT_EQ(all.View()->Charts().Individuals->PlottedValues(),
              view->Charts().Individuals->PlottedValues());
}

// The window's own texts reach the English interface (its translation context is its own).
TEST_F(TrendWindowTest, SpeaksTheInterfaceLanguage) {
    const InterfaceTranslation english{
        InterfaceLanguage::English, {QStringLiteral(LEEBDESK_BUILD_TRANSLATIONS)}, {}};
    ASSERT_TRUE(english.Missing().isEmpty()) << english.Missing().join(' ').toStdString();
    const auto window = Open(RunThenDrop());
    EXPECT_EQ(window->PrintButton()->text(), "Print…");
    EXPECT_EQ(window->SavePdfButton()->text(), "Save PDF…");
    EXPECT_EQ(window->findChild<QLabel*>("TrendFilters")->text(), "Filters: Scale HRC; Lot H2291");
    EXPECT_EQ(window->windowTitle(), "Trend and process capability - Steel/cast st. HRC D");
}

TEST_F(TrendWindowTest, AClickedPointNamesItsArchivedRecord) {
    const auto window = Open(RunThenDrop());
    std::optional<int64_t> clicked;
    window->SetPointClickHandler([&clicked](int64_t id) { clicked = id; });
    const ControlChart* individuals = window->View()->Charts().Individuals;
    QTest::mouseClick(window->View()->Charts().Individuals, Qt::LeftButton, {},
                      individuals->PointPixel(9).toPoint());
    EXPECT_EQ(clicked, 110);
    QTest::mouseClick(window->View()->Charts().Individuals, Qt::LeftButton, {},
                      individuals->PointPixel(3).toPoint());
    EXPECT_EQ(clicked, 104);
    // A range of zero is no harder to hit than any other: MR 2 belongs to the third record.
    clicked.reset();
    QTest::mouseClick(window->View()->Charts().MovingRanges, Qt::LeftButton, {},
                      window->View()->Charts().MovingRanges->PointPixel(1).toPoint());
    EXPECT_EQ(clicked, 103);
    QTest::mouseClick(window->View()->Charts().MovingRanges, Qt::LeftButton, {},
                      window->View()->Charts().MovingRanges->PointPixel(8).toPoint());
    EXPECT_EQ(clicked, 110);
}

TEST_F(TrendWindowTest, SavesAndPrintsThePageWithFiltersAndDate) {
    const auto window = Open(RunThenDrop());
    dialogs_.SaveNames = {Path("trend")};
    QTest::mouseClick(window->SavePdfButton(), Qt::LeftButton);
    const QString saved = Path("trend.pdf");
    ASSERT_TRUE(QFile::exists(saved)) << window->Feedback().toStdString();
    EXPECT_EQ(dialogs_.Filters.back(), "PDF 文件 (*.pdf)");
    EXPECT_EQ(window->Feedback(), "已保存 " + QDir::toNativeSeparators(saved));
    const QString info = PdfInfo(saved);
    EXPECT_TRUE(info.contains("842 x 595 pts (A4)")) << info.toStdString();
    const QString text = PageText(saved);
    const QString today = PrintDateText(QDate::currentDate());
    for (const QString& expected : {QStringLiteral("趋势与过程能力"), QStringLiteral("HRC"),
                                    QStringLiteral("H2291"), QStringLiteral("6.77"), today})
        EXPECT_TRUE(text.contains(expected))
            << expected.toStdString() << " in " << text.toStdString();

    // An existing file is replaced only when the user says so.
    QFile::remove(saved);
    QFile stale(saved);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("old");
    stale.close();
    dialogs_.SaveNames = {saved};
    dialogs_.Answers = {IDNO};
    QTest::mouseClick(window->SavePdfButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs_.Messages.back().Caption, "文件名重复");
    QFile kept(saved);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");

    // A printer that writes to a file takes the same page.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(Path("printed.pdf"));
    window->UsePrinter(std::move(printer));
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
    EXPECT_TRUE(PageText(Path("printed.pdf")).contains("H2291"));
    EXPECT_EQ(window->Feedback(), "已保存 " + QDir::toNativeSeparators(Path("printed.pdf")));
}

TEST_F(TrendWindowTest, FailuresAreShownAndWriteNothing) {
    const auto window = Open(RunThenDrop());
    dialogs_.SaveNames = {Path("missing/trend.pdf")};
    QTest::mouseClick(window->SavePdfButton(), Qt::LeftButton);
    ASSERT_FALSE(dialogs_.Messages.empty());
    EXPECT_EQ(dialogs_.Messages.back().Icon(), "error");
    EXPECT_EQ(dialogs_.Messages.back().Caption, "保存 PDF");
    EXPECT_TRUE(window->Feedback().isEmpty());
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());

    // Without a printer the user learns it and may keep the page as a PDF instead.
    auto printer = std::make_unique<QPrinter>();
    if (!printer->printerName().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    window->UsePrinter(std::move(printer));
    dialogs_.QuestionAnswers = {0};
    dialogs_.SaveNames = {Path("instead.pdf")};
    QTest::mouseClick(window->PrintButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs_.Questions.size(), 1u);
    EXPECT_EQ(dialogs_.Questions[0].Caption, "打印趋势图");
    EXPECT_TRUE(QFile::exists(Path("instead.pdf")));
}

TEST_F(TrendWindowTest, RecordsThatMakeNoTrendSayWhyAndPrintNothing) {
    std::vector<ArchivedRecord> mixed = RunThenDrop();
    mixed[4].SettingsWord = HrcSteelDl;
    const auto window = Open(mixed);
    EXPECT_TRUE(window->View()->Message().contains("钢和铸钢 HRC DL"));
    EXPECT_FALSE(window->PrintButton()->isEnabled());
    EXPECT_FALSE(window->SavePdfButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), "趋势与过程能力");

    const auto one = Open({RunThenDrop()[0]});
    EXPECT_EQ(one->View()->Message(), "趋势图至少需要 2 个点, 所选记录只有 1 个。");
    EXPECT_FALSE(one->SavePdfButton()->isEnabled());
}

}  // namespace
}  // namespace leeb
