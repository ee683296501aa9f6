// The trend page as a PDF read back with poppler: one A4 landscape page with the title, the
// filters, the date, the figures and the charts' lines; a failed write keeps the old file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "PdfText.h"
#include "ReportErrors.h"
#include "ReportFonts.h"
#include "TrendPage.h"

namespace leeb {
namespace {

using namespace leeb::testing;

constexpr uint16_t HrcSteelD = 0x3000;

TrendPageContent Drift(int points) {
    std::vector<TrendRecord> records;
    for (int i = 0; i < points; ++i) {
        records.push_back({i + 1, i + 1, "2025/03/14", HrcSteelD, {44.0 + 0.1 * i, 44.2 + 0.1 * i}});
    }
    TrendPageContent content;
    content.Series = BuildTrendSeries(records, {});
    content.Limits = {44.0, 48.0};
    content.Figures = ComputeTrendFigures(content.Series.Values(), content.Limits);
    content.Filters = {QStringLiteral("日期 2025/03/01 - 2025/03/31"),
                       QStringLiteral("零件 齿轮轴")};
    content.PrintDate = QStringLiteral("2026/12/10");
    return content;
}

class TrendPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        InstallFontSubstitutions();
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    static QByteArray Content(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

TEST_F(TrendPageTest, OneLandscapePageWithFiguresFiltersAndDate) {
    const QString pdf = Path(QStringLiteral("trend.pdf"));
    WriteTrendPdf(Drift(30), pdf);

    const QString info = PdfInfo(pdf);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("842 x 595 pts (A4)"))) << info.toStdString();
    QStringList words;
    for (const PdfWord& word : PdfWords(pdf)) {
        EXPECT_EQ(word.Page, 1);
        words << word.Text;
    }
    const QString text = words.join(' ');
    for (const char* expected : {"趋势与过程能力", "钢和铸钢", "HRC", "2026/12/10", "齿轮轴",
                                 "单值图", "移动极差图", "直方图", "UCL", "LCL", "LSL", "USL",
                                 "Cpk", "Ppk", "组内", "30"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " in " << text.toStdString();
    }
    // 30 points: no rough-estimate note.
    EXPECT_FALSE(text.contains(QStringLiteral("粗略估计")));
}

TEST_F(TrendPageTest, AFailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
    const QString pdf = Path(QStringLiteral("trend.pdf"));
    WriteTrendPdf(Drift(5), pdf);
    const QByteArray old = Content(pdf);
    ASSERT_FALSE(old.isEmpty());

    std::string message;
    {
        const FileSizeLimit limit(4 * 1024);
        try {
            WriteTrendPdf(Drift(200), pdf);
        } catch (const ReportError& error) {
            message = error.what();
        }
    }
    EXPECT_NE(message.find("文件太大"), std::string::npos) << message;
    EXPECT_EQ(Content(pdf), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"trend.pdf"});

    EXPECT_THROW(WriteTrendPdf(Drift(5), Path(QStringLiteral("missing/trend.pdf"))), ReportError);

    // One point makes no trend: refused, and the old page stays.
    try {
        WriteTrendPdf(Drift(1), pdf);
        ADD_FAILURE() << "a page without a trend was written";
    } catch (const ReportError& error) {
        EXPECT_STREQ(error.what(), "趋势图至少需要 2 个点, 所选记录只有 1 个。");
    }
    EXPECT_EQ(Content(pdf), old);
}

}  // namespace
}  // namespace leeb
