// The interface in each of its languages: the window's texts, a message box and a report page,
// from one table. The English report keeps the columns of the Chinese one.
#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <algorithm>
#include <array>

#include "AboutBox.h"
#include "BarChart.h"
#include "GbkText.h"
#include "InterfaceTranslation.h"
#include "LabSettings.h"
#include "LeebdeskVersion.h"
#include "QtDialogHost.h"
#include "RecordCsv.h"
#include "RecordEvaluation.h"
#include "RecordSelectionText.h"
#include "RecordingPageWriter.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"
#include "ReportQualityLines.h"
#include "SaveOpenFixture.h"

namespace leeb {
namespace {

using namespace fixtures;
using ::testing::HasSubstr;

struct LanguageTexts {
    InterfaceLanguage Language;
    const char* Name;
    // The window.
    const char* Title;
    std::array<const char*, 5> Buttons;  // read, save, print chart, print report, open
    const char* NotConnected;
    const char* FirstRecordNode;
    const char* RecordNumber;  // reclab once record 1 is shown
    const char* MaterialCaption;
    const char* ScaleCaption;
    const char* Material;  // of a steel record
    const char* ChartTitle;
    const char* AboutLine;  // the About box's line that says what the program does
    // A message box: an open stopped by a reading that does not convert (%1: the file).
    const char* BadLineMessage;
    const char* BadLineCaption;
    std::array<const char*, 2> YesNo;  // the buttons of a question box
    const char* RecordChoiceError;     // the report dialog's answer to records "0"
    // A report page: title, page label, date label, then the body lines of a steel record.
    const char* ReportTitle;
    const char* PageLabel;
    const char* DateLabel;  // when the system's own locale speaks another language
    std::array<const char*, 5> ReportBlock;
    // The lab's report lines for 45.3, 88.8, 46.1 with limits 44..47 and 888 left out, and the
    // page label that counts the pages.
    const char* SpreadLine;
    const char* LimitsLine;
    const char* PageOfPages;
    // The CSV table with limits and invalid readings excluded: the header before and after the
    // reading columns (%1: the reading's number), and the names in the cells of record 1 (a
    // steel record, 45° down, passing) and record 2 (a strength record).
    const char* CsvHeaderStart;
    const char* CsvReadingHeader;
    const char* CsvHeaderEnd;
    const char* CsvRecord1Names;
    const char* CsvRecord1Verdict;
    const char* CsvRecord2Names;
};

const LanguageTexts Languages[] = {
    {InterfaceLanguage::Chinese,
     "Chinese",
     "里氏硬度计  " LEEBDESK_CAPTION_VERSION,
     {"读入数据", "保存", "打印图表", "打印报表", "打开"},
     "未连接",
     "存储记录1",
     "记录号: 1",
     "测量材料",
     "硬度制",
     "钢和铸钢",
     "硬度 / 强度测试情况",
     "读入、查看、保存和打印里氏硬度计的测量记录。",
     "第 3 行无法读取\n\n文件 %1 第 3 行: 记录无法转换 (第 1 个读数 '4x0' "
     "不是数值)",
     "文件格式错误",
     {"是(&Y)", "否(&N)"},
     "记录号从 1 开始。(Record numbers start at 1: \"0\".)",
     "硬度/强度测试报表",
     "\u3000第  1  页",
     "日期:   2026/12/10   ",
     {"测试材料: 钢和铸钢        硬度制: HRC             测试日期:2024/05/17",
      "冲击装置: D               冲击方向                冲击次数: 3", "45.3    88.8    46.1    ",
      "最大值:  88.8            最小值:  45.3            平均值: 60.1", " "},
     "标准差:  0.57            极差:    0.8             有效数: 2/3",
     "下限:    44              上限:    47              判定:   合格",
     "\u3000第  2  页 / 共  3  页",
     "记录号,测量日期,测量材料,硬度制/强度,冲击装置,冲击方向,冲击次数,",
     "读数%1",
     ",最大值,最小值,平均值,标准偏差,极差,无效读数,有效读数数,有效最大值,有效最小值,有效平均值,"
     "有效标准偏差,有效极差,下限,上限,判定",
     ",钢和铸钢,HRC,D,45°向下,3,",
     ",合格",
     ",强度,"},
    {InterfaceLanguage::English,
     "English",
     "Leeb Hardness Tester  " LEEBDESK_CAPTION_VERSION,
     {"Read", "Save", "Print chart", "Print report", "Open"},
     "Not connected",
     "Record 1",
     "Record: 1",
     "Material",
     "Scale",
     "Steel/cast st.",
     "Hardness / Strength Readings",
     "Upload, view, save and print the records of a Leeb hardness tester.",
     "Line 3 cannot be read\n\nFile %1, line 3: the "
     "record cannot be read (reading 1, '4x0', is not a number)",
     "Wrong file format",
     {"&Yes", "&No"},
     "Record numbers start at 1: \"0\".",
     "Hardness / Strength Test Report",
     "\u3000Page 1",
     "Date:   2026-12-10   ",
     {"Material: Steel/cast st.  Scale:  HRC             Date:    2024/05/17",
      "Device:   D               Angle:                  Impacts:  3", "45.3    88.8    46.1    ",
      "Max:     88.8            Min:     45.3            Mean:   60.1", " "},
     "Std dev: 0.57            Range:   0.8             Valid:  2/3",
     "Lower:   44              Upper:   47              Result: Pass",
     "\u3000Page 2 of 3",
     "Record no.,Date,Material,Scale/strength,Impact device,Impact direction,Impacts,",
     "Reading %1",
     ",Maximum,Minimum,Mean,Std. deviation,Range,Invalid readings,Valid readings,Valid maximum,"
     "Valid minimum,Valid mean,Valid std. deviation,Valid range,Lower limit,Upper limit,Verdict",
     ",Steel/cast st.,HRC,D,45° down,3,",
     ",Pass",
     ",Strength,"},
};

class InterfaceLanguageTest : public SaveOpenTest,
                              public ::testing::WithParamInterface<LanguageTexts> {
  protected:
    // The translation goes in before the window is made, as in the program.
    InterfaceTranslation translation{GetParam().Language,
                                     {QStringLiteral(LEEBDESK_BUILD_TRANSLATIONS)},
                                     QtTranslationFolders(QCoreApplication::applicationDirPath())};

    void SetUp() override {
        ASSERT_TRUE(translation.Missing().isEmpty())
            << translation.Missing().join(' ').toStdString();
        form = std::make_unique<MainWindow>(bus, dispatcher, &dialogs);
    }

    static QString S(const char* utf8) { return QString::fromUtf8(utf8); }

    // Limits 44..47 for record 1's scale and invalid readings left out, so that the spread,
    // the verdict and the lab's columns show.
    void SetLimitsAndExclusion() {
        form->UseLabSettings(std::make_unique<LabSettings>(
            std::make_unique<QSettings>(PathOf("lab.ini"), QSettings::IniFormat)));
        SelectRecord(0);
        auto* lower = form->findChild<QLineEdit*>(QStringLiteral("LowerLimit"));
        auto* upper = form->findChild<QLineEdit*>(QStringLiteral("UpperLimit"));
        lower->setText(QStringLiteral("44"));
        upper->setText(QStringLiteral("47"));
        emit upper->editingFinished();
        form->findChild<QCheckBox*>(QStringLiteral("ExcludeInvalid"))->setChecked(true);
    }

    // The captions, texts and tips of every control, the status bar and the tree included.
    std::vector<QString> ShownTexts() const {
        std::vector<QString> shown = {form->windowTitle(), form->Chart()->Title()->text()};
        for (const QWidget* widget : form->findChildren<QWidget*>()) {
            shown.push_back(widget->toolTip());
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                shown.push_back(label->text());
            if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
                shown.push_back(button->text());
        }
        for (const QString& node : TreeTexts())
            shown.push_back(node);
        return shown;
    }
};

bool HasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) || c.unicode() >= 0xFF00;
    });
}

TEST_P(InterfaceLanguageTest, WindowTexts) {
    const LanguageTexts& texts = GetParam();
    Pump();  // the watcher's first run writes the connection state
    EXPECT_EQ(form->windowTitle(), S(texts.Title));
    const CommandButton buttons[] = {CommandButton::Read, CommandButton::Save,
                                     CommandButton::PrintChart, CommandButton::PrintReport,
                                     CommandButton::Open};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        EXPECT_EQ(form->Button(buttons[i])->text(), S(texts.Buttons[i]));
    }
    EXPECT_EQ(form->StatusPanel(1)->text(), S(texts.NotConnected));
    EXPECT_EQ(Text("Label1"), S(texts.MaterialCaption));
    EXPECT_EQ(form->Chart()->Title()->text(), S(texts.ChartTitle));

    WriteFile(PathOf("records.txt"), FileContent(Sample()));
    Open(PathOf("records.txt"));
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(TreeTexts().value(0), S(texts.FirstRecordNode));
    EXPECT_EQ(Text("reclab"), S(texts.RecordNumber));
    EXPECT_EQ(Text("Label2"), S(texts.ScaleCaption));
    EXPECT_EQ(Text("matel"), S(texts.Material));
    EXPECT_THAT(AboutText().toStdString(), HasSubstr(texts.AboutLine));

    // English leaves nothing Chinese behind, the lab's row and verdict included.
    SetLimitsAndExclusion();
    ASSERT_FALSE(Picture("Verdict")->isHidden());
    if (texts.Language == InterfaceLanguage::English) {
        for (const QString& shown : ShownTexts())
            EXPECT_FALSE(HasChinese(shown)) << shown.toStdString();
        EXPECT_FALSE(HasChinese(AboutText())) << AboutText().toStdString();
    }
}

// The lab's row was laid out for the Chinese texts: a longer translation must not be cut, and
// the Chinese row keeps its places.
TEST_P(InterfaceLanguageTest, LabRowTextsFit) {
    WriteFile(PathOf("records.txt"), FileContent(Sample()));
    Open(PathOf("records.txt"));
    SetLimitsAndExclusion();
    QWidget* row = form->findChild<QWidget*>(QStringLiteral("LowerLimit"))->parentWidget();
    for (const QWidget* widget : row->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The lab's part of the top row: right of the record number, left of the verdict.
        if (widget->y() > 30 || widget->x() < 130 || widget == Picture("Verdict"))
            continue;
        const auto* label = qobject_cast<const QLabel*>(widget);
        const auto* box = qobject_cast<const QCheckBox*>(widget);
        if (box == nullptr && (label == nullptr || label->text().isEmpty()))
            continue;
        SCOPED_TRACE((box ? box->text() : label->text()).toStdString());
        EXPECT_LE(widget->sizeHint().width(), widget->width());
        // A second line (the spread's count of valid readings) needs the row's full height.
        if (label != nullptr && label->text().contains(QLatin1Char('\n'))) {
            EXPECT_GE(label->height(), 2 * label->fontMetrics().height());
        }
        EXPECT_LE(widget->geometry().right(), 524) << "runs into the verdict";
    }
    if (GetParam().Language == InterfaceLanguage::Chinese) {
        EXPECT_EQ(form->findChild<QCheckBox*>(QStringLiteral("ExcludeInvalid"))->geometry(),
                  QRect(304, 8, 76, 15));
        EXPECT_EQ(form->findChild<QCheckBox*>(QStringLiteral("EachReading"))->geometry(),
                  QRect(304, 23, 76, 15));
    }
}

// The window's CSV export: headers and the names in the cells in the interface language; the
// Chinese table is the one written before a language could be chosen.
TEST_P(InterfaceLanguageTest, CsvExport) {
    const LanguageTexts& texts = GetParam();
    WriteFile(PathOf("records.txt"), FileContent(Sample()));
    Open(PathOf("records.txt"));
    SetLimitsAndExclusion();
    Save(PathOf("table.csv"), CsvFilterIndex);
    ASSERT_TRUE(dialogs.Messages.empty());
    const QByteArray written = ReadFile(PathOf("table.csv"));
    ASSERT_TRUE(written.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(written.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_GE(rows.size(), 3);
    QString header = S(texts.CsvHeaderStart);
    for (int i = 1; i <= 32; ++i)
        header += (i > 1 ? QStringLiteral(",") : QString()) + S(texts.CsvReadingHeader).arg(i);
    EXPECT_EQ(rows[0], header + S(texts.CsvHeaderEnd));
    EXPECT_THAT(rows[1].toStdString(), HasSubstr(texts.CsvRecord1Names));
    EXPECT_TRUE(rows[1].endsWith(S(texts.CsvRecord1Verdict))) << rows[1].toStdString();
    EXPECT_THAT(rows[2].toStdString(), HasSubstr(texts.CsvRecord2Names));

    if (texts.Language == InterfaceLanguage::Chinese) {
        RecordCsvOptions plain;
        plain.DecimalSeparator = sep();
        plain.Quality = form->Lab().Quality();
        EXPECT_EQ(ReadFile(PathOf("table.csv")).toStdString(), FormatRecordCsv(Sample(), plain));
    }
}

TEST_P(InterfaceLanguageTest, MessageNamesFileLineAndCause) {
    const LanguageTexts& texts = GetParam();
    const QString path = PathOf("bad.txt");
    WriteFile(path, FileContent(
                        WithHeader({Line(SteelHRC, {453}, sep()), "  1,2024/05/17,    0,  4x0,"})));
    Open(path);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text,
              S(texts.BadLineMessage).arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(dialogs.Messages[0].Caption, S(texts.BadLineCaption));
    EXPECT_EQ(dialogs.Messages[0].Icon(), "error");

    // Qt's own buttons speak the same language.
    QMessageBox box;
    ConfigureMessageBox(box, dialogs.Messages[0].Text, dialogs.Messages[0].Caption,
                        MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), S(texts.YesNo[0]));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), S(texts.YesNo[1]));

    EXPECT_EQ(RecordSelectionText::Of(ParseRecordSelection("0", 3), 3), S(texts.RecordChoiceError));
}

TEST_P(InterfaceLanguageTest, ReportPage) {
    const LanguageTexts& texts = GetParam();
    RecordingPageWriter writer;
    const QString date = PrintDateText(QDate(2026, 12, 10));
    PrintReportBody(writer, WithHeader({Line(SteelHRC, {453, 888, 461}, '.')}), '.', date);
    std::vector<QString> lines;
    for (const RecordedOperation& op : writer.Operations()) {
        if (op.Type == RecordedOperation::Kind::Text)
            lines.push_back(op.Text);
    }
    ASSERT_EQ(lines.size(), 4u + texts.ReportBlock.size());
    EXPECT_EQ(lines[0], S(texts.ReportTitle));
    EXPECT_EQ(lines[1], S(texts.PageLabel));
    // The user's own Chinese short date stays where the system speaks Chinese; the English
    // report's date is the same everywhere.
    const QLocale::Language spoken =
        texts.Language == InterfaceLanguage::Chinese ? QLocale::Chinese : QLocale::English;
    if (spoken == QLocale::English || QLocale::system().language() != spoken) {
        EXPECT_EQ(lines[2], S(texts.DateLabel));
    }
    EXPECT_EQ(lines[3], QStringLiteral("No. 1"));
    for (std::size_t i = 0; i < texts.ReportBlock.size(); ++i) {
        EXPECT_EQ(lines[4 + i], S(texts.ReportBlock[i])) << i;
    }

    // Every value stands in the column, counted in GBK bytes, that it has in Chinese.
    const auto column = [&](std::size_t line, const char* part) {
        const std::string text = lines[4 + line].toStdString();
        const std::size_t at = text.find(part);
        return at == std::string::npos ? -1 : static_cast<int>(GbkLength(text.substr(0, at)));
    };
    EXPECT_EQ(column(0, "HRC"), 34);
    EXPECT_EQ(column(0, "2024/05/17"), 59);
    EXPECT_EQ(column(1, "D "), 10);
    EXPECT_EQ(column(1, "3"), 60);
    EXPECT_EQ(column(3, "45.3"), 34);
    EXPECT_EQ(column(3, "60.1"), 58);
}

TEST_P(InterfaceLanguageTest, ReportLabLines) {
    const LanguageTexts& texts = GetParam();
    EvaluationOptions options;
    options.Limits = {44.0, 47.0};
    options.ExcludeInvalid = true;
    const RecordEvaluation evaluation = EvaluateRecord({45.3, 88.8, 46.1}, true, options);
    const std::string spread = SpreadLine(evaluation, true, 3, '.');
    const std::string limits = LimitsLine(options.Limits, evaluation.RecordVerdict, '.');
    EXPECT_EQ(QString::fromStdString(spread), S(texts.SpreadLine)) << spread;
    EXPECT_EQ(QString::fromStdString(limits), S(texts.LimitsLine));
    EXPECT_EQ(PageLabelOf(2, 3), S(texts.PageOfPages));
    // The values stand where the Chinese report has them, counted in GBK bytes.
    const auto column = [](const std::string& line, const char* part) {
        const std::size_t at = line.find(part);
        return at == std::string::npos ? -1 : static_cast<int>(GbkLength(line.substr(0, at)));
    };
    EXPECT_EQ(column(spread, "0.57"), 9);
    EXPECT_EQ(column(spread, "0.8"), 34);
    EXPECT_EQ(column(spread, "2/3"), 58);
    EXPECT_EQ(column(limits, "44"), 9);
    EXPECT_EQ(column(limits, "47"), 34);
}

INSTANTIATE_TEST_SUITE_P(Languages, InterfaceLanguageTest, ::testing::ValuesIn(Languages),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace leeb
