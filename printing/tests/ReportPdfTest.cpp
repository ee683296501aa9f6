// The report as a PDF file, read back with poppler: texts on the right pages at the right
// places, the Chinese faces embedded, and no file left behind by a failure.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "FileSizeLimit.h"
#include "PainterPageWriter.h"
#include "PdfText.h"
#include "ReportErrors.h"
#include "ReportFonts.h"
#include "ReportPdf.h"
#include "ReportTestRecords.h"

namespace leeb {
namespace {

using namespace leeb::testing;

constexpr double PointsPerInch = 72.0;
constexpr double Tol = 0.01 * PointsPerInch;

class ReportPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallFontSubstitutions();
        ASSERT_TRUE(dir_.isValid());
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    // Descent of 宋体 at a size as the PDF device reports it, in inches.
    static double Descent(double size) {
        QPdfWriter device(QStringLiteral("/dev/null"));
        device.setResolution(1200);
        return QFontMetricsF(PainterPageWriter::ToQFont({QStringLiteral("宋体"), size}), &device)
                   .descent() /
               1200.0;
    }
    static const PdfWord* Find(const std::vector<PdfWord>& words, const QString& text, int page) {
        for (const auto& word : words) {
            if (word.Text == text && word.Page == page) {
                return &word;
            }
        }
        return nullptr;
    }

    QTemporaryDir dir_;
};

TEST_F(ReportPdf, FontsResolveToChineseFaces) {
    EXPECT_EQ(QFontInfo(PainterPageWriter::ToQFont({QStringLiteral("黑体"), 24})).family(),
              QStringLiteral("WenQuanYi Zen Hei"));
    EXPECT_EQ(QFontInfo(PainterPageWriter::ToQFont({QStringLiteral("宋体"), 12})).family(),
              QStringLiteral("AR PL UMing CN"));
}

TEST_F(ReportPdf, WriterInstallsTheChineseFacesItself) {
    // A program that never installed the substitutions still prints with the Chinese faces.
    QFont::removeSubstitutions(QStringLiteral("黑体"));
    QFont::removeSubstitutions(QStringLiteral("宋体"));
    QPdfWriter device(Path(QStringLiteral("faces.pdf")));
    QPainter painter(&device);
    PainterPageWriter writer(device, painter);
    EXPECT_EQ(QFontInfo(PainterPageWriter::ToQFont({QStringLiteral("黑体"), 24})).family(),
              QStringLiteral("WenQuanYi Zen Hei"));
    EXPECT_EQ(QFontInfo(PainterPageWriter::ToQFont({QStringLiteral("宋体"), 12})).family(),
              QStringLiteral("AR PL UMing CN"));
}

TEST_F(ReportPdf, TextsOnTheirPagesAndPositions) {
    const QString pdf = Path(QStringLiteral("report.pdf"));
    WriteReportPdf(RecordsOf({32, 32, 32, 32, 32, 32}), pdf, '.');
    const auto words = PdfWords(pdf);
    ASSERT_FALSE(words.empty());

    const double d10 = Descent(10), d12 = Descent(12);
    const double a4Width = 210 / 25.4;
    struct Expect {
        QString text;
        int page;
        double xMin;  // inches; negative: check the centre of the word at -xMin instead
        double baseline;
        double descent;
    } expects[] = {
        {QStringLiteral("No."), 1, 0.6, 1.9 + d10 - d12, d12},
        {QStringLiteral("No."), 2, 0.6, 1.75 + d10 - d12, d12},
        {QStringLiteral("第"), 1, 0.6 + 10.0 / 72, 10.75 - d10, d10},
        {QStringLiteral("第"), 2, 0.6 + 10.0 / 72, 10.75 - d10, d10},
        {QStringLiteral("测试材料:"), 2, 0.6, 1.75 + d10 - d12 + 0.25, d12},
    };
    for (const auto& e : expects) {
        const PdfWord* word = Find(words, e.text, e.page);
        ASSERT_NE(word, nullptr) << e.text.toStdString() << " page " << e.page;
        EXPECT_NEAR(word->XMin, e.xMin * PointsPerInch, Tol) << e.text.toStdString();
        // pdftotext's box ends at the font's descent below the baseline.
        EXPECT_NEAR(word->YMax, (e.baseline + e.descent) * PointsPerInch, Tol)
            << e.text.toStdString() << " page " << e.page;
    }
    const PdfWord* title = Find(words, QStringLiteral("硬度/强度测试报表"), 1);
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR((title->XMin + title->XMax) / 2, a4Width / 2 * PointsPerInch, Tol);
    const PdfWord* mark = Find(words, QStringLiteral("(续)"), 2);
    ASSERT_NE(mark, nullptr);
    EXPECT_NEAR((mark->XMin + mark->XMax) / 2, (a4Width - 2.0) * PointsPerInch, Tol);
    EXPECT_EQ(Find(words, QStringLiteral("硬度/强度测试报表"), 2), nullptr);
    EXPECT_EQ(Find(words, QStringLiteral("No."), 3), nullptr);
}

TEST_F(ReportPdf, ChineseFacesAreEmbedded) {
    const QString pdf = Path(QStringLiteral("fonts.pdf"));
    WriteReportPdf(RecordsOf({3}), pdf, '.');
    const QStringList fonts = PdfFonts(pdf).split('\n');
    for (const QString& face : {QStringLiteral("WenQuanYiZenHei"), QStringLiteral("UMingCN")}) {
        const auto line = std::find_if(fonts.begin(), fonts.end(), [&face](const QString& l) {
            return l.startsWith(face + ' ');
        });
        ASSERT_NE(line, fonts.end()) << face.toStdString() << "\n"
                                     << fonts.join('\n').toStdString();
        EXPECT_TRUE(line->contains(QStringLiteral(" yes "))) << line->toStdString();
    }
}

TEST_F(ReportPdf, FailuresLeaveNoFileAndKeepAnOldOne) {
    std::string bad = Line(HardnessHL, Readings(5));
    bad.resize(bad.size() - 6);
    const RecordLines lines = Lines({Line(HardnessHL, Readings(3)), bad});

    const QString fresh = Path(QStringLiteral("fresh.pdf"));
    EXPECT_THROW(WriteReportPdf(lines, fresh, '.'), ConversionError);
    EXPECT_FALSE(QFile::exists(fresh));

    const QString old = Path(QStringLiteral("old.pdf"));
    WriteReportPdf(RecordsOf({3}), old, '.');
    const QByteArray before = [&] {
        QFile file(old);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    EXPECT_THROW(WriteReportPdf(lines, old, '.'), ConversionError);
    QFile after(old);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);

    EXPECT_THROW(WriteReportPdf(RecordsOf({3}), Path(QStringLiteral("missing/dir/x.pdf")), '.'),
                 ReportError);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ReportPdf, ADiskThatFillsPartWayKeepsTheOldReport) {
    // A file size limit stands for a disk that fills up: writes beyond 32 KiB fail (EFBIG).
    // The report must fail, the old report stay whole and no temporary file remain.
    const QString pdf = Path(QStringLiteral("old.pdf"));
    WriteReportPdf(RecordsOf({3}), pdf, '.');
    QFile before(pdf);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    before.close();

    std::string message;
    {
        const FileSizeLimit limit(32 * 1024);
        try {
            WriteReportPdf(RecordsOf({32, 32, 32, 32, 32, 32, 32, 32, 32}), pdf, '.');
        } catch (const ReportError& error) {
            message = error.what();
        }
    }

    EXPECT_NE(message.find("文件太大"), std::string::npos) << message;  // EFBIG, in Chinese
    QFile after(pdf);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.pdf"});
}

TEST_F(ReportPdf, ATargetThatIsNoRegularFileIsRefused) {
    const QString fifo = Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Each refusal names the target and its cause in the interface language (Chinese here).
    const struct {
        QString Target;
        const char* Cause;
    } cases[] = {{fifo, "它不是普通文件"}, {dir_.path(), "这是一个文件夹"}};
    for (const auto& c : cases) {
        try {
            WriteReportPdf(RecordsOf({3}), c.Target, '.');
            ADD_FAILURE() << c.Target.toStdString() << ": written";
        } catch (const ReportError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.Target.toStdString()), std::string::npos) << message;
            EXPECT_NE(message.find(c.Cause), std::string::npos) << message;
        }
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"fifo"});
}

TEST_F(ReportPdf, PageRangeWritesOnlyThosePages) {
    const QString pdf = Path(QStringLiteral("range.pdf"));
    PdfReportOptions options;
    options.FirstPage = 2;
    options.LastPage = 2;
    WriteReportPdf(RecordsOf({32, 32, 32, 32, 32, 32, 32, 32, 32}), pdf, '.', options);
    EXPECT_TRUE(PdfInfo(pdf).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    const auto words = PdfWords(pdf);
    ASSERT_NE(Find(words, QStringLiteral("(续)"), 1), nullptr);
    EXPECT_NE(Find(words, QStringLiteral("2"), 1), nullptr);  // the page label's number
    EXPECT_EQ(Find(words, QStringLiteral("硬度/强度测试报表"), 1), nullptr);
}

// The long company name of a real lab pushed the report number off the sheet.
TEST_F(ReportPdf, ALongCompanyNameHidesNoDetailAndStaysOnTheSheet) {
    const QString pdf = Path(QStringLiteral("identified.pdf"));
    PdfReportOptions options;
    options.Content.Details.Company =
        "East China Materials Testing and Inspection Centre Co., Ltd. - Quality Laboratory No. 2";
    options.Content.Details.ReportNumber = "R-2026-0017";
    WriteReportPdf(RecordsOf({32, 32, 32, 32, 32}), pdf, '.', options);
    const auto words = PdfWords(pdf);
    ASSERT_FALSE(words.empty());
    int pages = 0;
    for (const PdfWord& word : words) {
        pages = std::max(pages, word.Page);
        EXPECT_LE(word.XMax, 7.5 * PointsPerInch + Tol) << word.Text.toStdString();
    }
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_NE(Find(words, QStringLiteral("R-2026-0017"), page), nullptr) << "page " << page;
    }
    for (const char* word : {"Centre", "Laboratory", "No.", "2"}) {
        EXPECT_NE(Find(words, QString::fromLatin1(word), 1), nullptr) << word;
    }
}

}  // namespace
}  // namespace leeb
