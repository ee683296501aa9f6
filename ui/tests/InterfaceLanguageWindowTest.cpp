// The interface in each of its languages: the window's texts, a message box and a report page,
// from one table. The English report keeps the columns of the Chinese one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDate>
#include <QMessageBox>
#include <array>

#include "BarChart.h"
#include "GbkText.h"
#include "InterfaceTranslation.h"
#include "QtDialogHost.h"
#include "RecordingPageWriter.h"
#include "ReportGenerator.h"
#include "ReportLabels.h"
#include "SaveOpenFixture.h"

namespace leeb {
namespace {

using namespace fixtures;

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
    // A message box: an open stopped by a reading that does not convert (%1: the file).
    const char* BadLineMessage;
    const char* BadLineCaption;
    std::array<const char*, 2> YesNo;  // the buttons of a question box
    // A report page: title, page label, date label, then the body lines of a steel record.
    const char* ReportTitle;
    const char* PageLabel;
    const char* DateLabel;  // when the system's own locale speaks another language
    std::array<const char*, 5> ReportBlock;
};

const LanguageTexts Languages[] = {
    {InterfaceLanguage::Chinese,
     "Chinese",
     "里氏硬度计  V1.02",
     {"读入数据", "保存", "打印图表", "打印报表", "打开"},
     "未连接",
     "存储记录1",
     "记录号: 1",
     "测量材料",
     "硬度制",
     "钢和铸钢",
     "硬度 / 强度测试情况",
     "文句格式不正确!\n请重新输入文件名......\n\n文件 %1 第 3 行: 记录无法转换 (第 1 个读数 '4x0' "
     "不是数值)",
     "文件格式错误",
     {"是(&Y)", "否(&N)"},
     "硬度/强度测试报表",
     "\u3000第  1  页",
     "日期:   2026/12/10   ",
     {"测试材料: 钢和铸钢        硬度制: HRC             测试日期:2024/05/17",
      "冲击装置: D               冲击方向                冲击次数: 3", "45.3    88.8    46.1    ",
      "最大值:  88.8            最小值:  45.3            平均值: 60.1", " "}},
    {InterfaceLanguage::English,
     "English",
     "Leeb Hardness Tester  V1.02",
     {"Read", "Save", "Print chart", "Print report", "Open"},
     "Not connected",
     "Record 1",
     "Record: 1",
     "Material",
     "Scale",
     "Steel/cast st.",
     "Hardness / Strength Readings",
     "The file is not a record file!\nPlease enter another file name.\n\nFile %1, line 3: the "
     "record cannot be read (reading 1, '4x0', is not a number)",
     "Wrong file format",
     {"&Yes", "&No"},
     "Hardness / Strength Test Report",
     "\u3000Page 1",
     "Date:   12/10/26   ",
     {"Material: Steel/cast st.  Scale:  HRC             Date:    2024/05/17",
      "Device:   D               Angle:                  Impacts:  3", "45.3    88.8    46.1    ",
      "Max:     88.8            Min:     45.3            Mean:   60.1", " "}},
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
        form = std::make_unique<TForm1>(bus, dispatcher, &dialogs);
    }

    static QString S(const char* utf8) { return QString::fromUtf8(utf8); }
};

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
    EXPECT_EQ(form->Chart1()->Title()->text(), S(texts.ChartTitle));

    WriteFile(PathOf("records.txt"), FileContent(Sample()));
    Open(PathOf("records.txt"));
    ASSERT_TRUE(dialogs.Messages.empty());
    EXPECT_EQ(TreeTexts().value(0), S(texts.FirstRecordNode));
    EXPECT_EQ(Text("reclab"), S(texts.RecordNumber));
    EXPECT_EQ(Text("Label2"), S(texts.ScaleCaption));
    EXPECT_EQ(Text("matel"), S(texts.Material));
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
}

TEST_P(InterfaceLanguageTest, ReportPage) {
    const LanguageTexts& texts = GetParam();
    RecordingPageWriter writer;
    const QString date = PrintDateText(QDate(2026, 12, 10));
    ReportSystem1Print(writer, WithHeader({Line(SteelHRC, {453, 888, 461}, '.')}), '.', date);
    std::vector<QString> lines;
    for (const RecordedOperation& op : writer.Operations()) {
        if (op.Type == RecordedOperation::Kind::Text)
            lines.push_back(op.Text);
    }
    ASSERT_EQ(lines.size(), 4u + texts.ReportBlock.size());
    EXPECT_EQ(lines[0], S(texts.ReportTitle));
    EXPECT_EQ(lines[1], S(texts.PageLabel));
    // The user's own short date stays where the system speaks the report's language.
    const QLocale::Language spoken =
        texts.Language == InterfaceLanguage::Chinese ? QLocale::Chinese : QLocale::English;
    if (QLocale::system().language() != spoken) {
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

INSTANTIATE_TEST_SUITE_P(Languages, InterfaceLanguageTest, ::testing::ValuesIn(Languages),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace leeb
