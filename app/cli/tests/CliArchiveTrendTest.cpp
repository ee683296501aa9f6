// archive trend over a small archive whose figures are worked out by hand: the JSON object,
// the PDF page, and the choices that make no trend.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>
#include <optional>
#include <vector>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

// The step of the statistics tests on HRC (steel, device D), one reading per record: 40 on
// 2025/03/01..05, 42 on 03/06..10. The file holds the 42s first, so they get the archive ids
// 1-5 and the 40s 6-10, and date order is not file order. The record of 03/02 carries a failed
// impact (88.8) besides its 40. Besides: a HL record inside the dates (another kind) and a HRC
// one after them.
const QByteArray Records =
    "@Import Data@\r\n"
    "  1,2025/03/06,12288,042.0,\r\n"
    "  1,2025/03/07,12288,042.0,\r\n"
    "  1,2025/03/08,12288,042.0,\r\n"
    "  1,2025/03/09,12288,042.0,\r\n"
    "  1,2025/03/10,12288,042.0,\r\n"
    "  1,2025/03/01,12288,040.0,\r\n"
    "  2,2025/03/02,12288,040.0,088.8,\r\n"
    "  1,2025/03/03,12288,040.0,\r\n"
    "  1,2025/03/04,12288,040.0,\r\n"
    "  1,2025/03/05,12288,040.0,\r\n"
    "  1,2025/03/03,    0,  450,\r\n"
    "  1,2025/04/01,12288,050.0,\r\n";

// The step alone: HRC records up to 03/10.
const QStringList StepChoice = {"--scale", "HRC", "--to", "2025-03-10"};

class CliArchiveTrendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_.Write(QStringLiteral("r.txt"), Records);
        const CliResult import = Trend({"archive", "import", "r.txt"});
        ASSERT_EQ(import.ExitCode, 0) << import.Err;
    }
    CliResult Trend(const QStringList& arguments) const {
        return RunCli(arguments, folder_.Root());
    }
    CliResult TrendOf(const QStringList& options) const {
        return Trend(QStringList{"archive", "trend"} + options);
    }
    QString Path(const QString& name) const { return folder_.Path(name); }
    QStringList Files() const {
        return QDir(folder_.Root()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    CliFolder folder_;
};

void ExpectFigure(const QJsonObject& trend, const char* key, std::optional<double> expected) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(trend.contains(QLatin1String(key)));
    const QJsonValue value = trend[QLatin1String(key)];
    if (!expected) {
        EXPECT_TRUE(value.isNull());
        return;
    }
    ASSERT_TRUE(value.isDouble());
    EXPECT_NEAR(value.toDouble(), *expected, 1e-13 * std::max(1.0, std::fabs(*expected)));
}

std::vector<qint64> Ids(const QJsonValue& array) {
    std::vector<qint64> ids;
    for (const QJsonValue& id : array.toArray())
        ids.push_back(id.toInteger());
    return ids;
}

// Mean 41; one moving range of 2 in nine: MR-bar 2/9, sigma within (2/9) / 1.128; deviations
// +-1: sigma overall sqrt(10/9); limits 35 and 47: Cp = Cpk = 12 / (6 (2/9) / 1.128) = 10.152,
// Pp = Ppk = 6 / sqrt 10. Control limits 41 -+ 2.66 (2/9): every point lies beyond one.
TEST_F(CliArchiveTrendTest, JsonHoldsTheHandWorkedFiguresUnrounded) {
    const CliResult result = TrendOf(
        StepChoice + QStringList{"--lower", "35", "--upper=47", "--exclude-invalid", "--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.Out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.Out;
    const QJsonObject trend = document.object();
    EXPECT_EQ(QStringList(trend.keys()),
              (QStringList{"cp", "cpk", "lcl", "mean", "mr_bar", "mr_ucl", "n", "points", "pp",
                           "ppk", "rule1", "rule2", "sigma_overall", "sigma_within", "ucl"}));
    EXPECT_EQ(trend["n"].toInt(), 10);
    ExpectFigure(trend, "mean", 41);
    ExpectFigure(trend, "mr_bar", 2.0 / 9);
    ExpectFigure(trend, "sigma_within", 2.0 / 9 / 1.128);
    ExpectFigure(trend, "sigma_overall", std::sqrt(10.0 / 9));
    ExpectFigure(trend, "ucl", 41 + 2.66 * 2 / 9);
    ExpectFigure(trend, "lcl", 41 - 2.66 * 2 / 9);
    ExpectFigure(trend, "mr_ucl", 3.267 * 2 / 9);
    ExpectFigure(trend, "cp", 10.152);
    ExpectFigure(trend, "cpk", 10.152);
    ExpectFigure(trend, "pp", 6 / std::sqrt(10.0));
    ExpectFigure(trend, "ppk", 6 / std::sqrt(10.0));
    // Full precision in the text, not a rounded figure that happens to be near.
    EXPECT_THAT(result.Out, HasSubstr("\"mr_bar\":0.2222222222222222,"));

    // Date order, then archive order; the 40 beside the failed impact counts as 40.
    const QJsonArray points = trend["points"].toArray();
    ASSERT_EQ(points.size(), 10);
    const std::vector<qint64> dateOrder = {6, 7, 8, 9, 10, 1, 2, 3, 4, 5};
    for (int i = 0; i < 10; ++i) {
        const QJsonObject point = points[i].toObject();
        SCOPED_TRACE(i);
        EXPECT_EQ(QStringList(point.keys()), (QStringList{"date", "id", "number", "value"}));
        EXPECT_EQ(point["id"].toInteger(), dateOrder[static_cast<std::size_t>(i)]);
        EXPECT_EQ(point["number"].toInt(), 0);  // a record file carries no tester number
        EXPECT_EQ(point["date"].toString(),
                  QStringLiteral("2025/03/%1").arg(i + 1, 2, 10, QChar('0')));
        EXPECT_EQ(point["value"].toDouble(), i < 5 ? 40.0 : 42.0);
    }
    EXPECT_EQ(Ids(trend["rule1"]), dateOrder);
    EXPECT_TRUE(trend["rule2"].toArray().isEmpty());
}

TEST_F(CliArchiveTrendTest, SettingsChangeTheFiguresAsAsked) {
    // Without --exclude-invalid the 88.8 counts: that point is the panel's mean, 64.4.
    CliResult result = TrendOf(StepChoice + QStringList{"--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    QJsonObject trend = QJsonDocument::fromJson(QByteArray::fromStdString(result.Out)).object();
    EXPECT_DOUBLE_EQ(trend["points"].toArray()[1].toObject()["value"].toDouble(), 64.4);
    // No limits: no index.
    for (const char* index : {"cp", "cpk", "pp", "ppk"})
        ExpectFigure(trend, index, std::nullopt);

    // One limit: Cpk and Ppk from that side, 41 - 35 = 6 over three sigmas; no Cp or Pp.
    result = TrendOf(StepChoice + QStringList{"--lower=35", "--exclude-invalid", "--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    trend = QJsonDocument::fromJson(QByteArray::fromStdString(result.Out)).object();
    ExpectFigure(trend, "cp", std::nullopt);
    ExpectFigure(trend, "cpk", 6 / (3 * 2.0 / 9 / 1.128));
    ExpectFigure(trend, "pp", std::nullopt);
    ExpectFigure(trend, "ppk", 6 / (3 * std::sqrt(10.0 / 9)));

    // One point, or none: no figure but the mean, and nothing refused.
    result = TrendOf({"--scale", "HRC", "--from", "2025-04-01", "--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_THAT(result.Out, HasSubstr("{\"n\":1,\"mean\":50,\"mr_bar\":null,"));
    result = TrendOf({"--from", "2030-01-01", "--json"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_THAT(result.Out, HasSubstr("{\"n\":0,\"mean\":null,"));
    EXPECT_THAT(result.Out, HasSubstr("\"points\":[]"));
}

TEST_F(CliArchiveTrendTest, PdfPageCarriesTheFiguresFiltersAndLanguage) {
    const struct {
        const char* Language;  // nullptr: no --lang, the Chinese page
        std::vector<const char*> Words;
    } cases[] = {
        {nullptr,
         {"趋势与过程能力", "钢和铸钢 HRC D", "硬度制 HRC", "2025-03-10", "41.00", "10.15", "1.90",
          "单值图", "移动极差图", "直方图",
          // Records from a file carry no tester number: the signals name archive ids.
          "档案记录 #6 (2025/03/01)"}},
        {"en",
         {"Trend and process capability", "Scale HRC", "2025-03-10", "41.00", "10.15", "1.90",
          "archive record #7 (2025/03/02)"}},
    };
    for (const auto& c : cases) {
        QStringList options = StepChoice + QStringList{"--lower",           "35", "--upper", "47",
                                                       "--exclude-invalid", "-o", "trend"};
        if (c.Language != nullptr)
            options << "--lang" << c.Language;
        const CliResult result = TrendOf(options);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Err, "");
        EXPECT_EQ(result.Out, "");
        const std::string text = PdfText(Path(QStringLiteral("trend.pdf")));
        for (const char* word : c.Words)
            EXPECT_THAT(text, HasSubstr(word)) << (c.Language ? c.Language : "(none)");
    }
}

// A choice that makes no trend is refused with the reason, as a usage error, and no file is
// written.
TEST_F(CliArchiveTrendTest, ChoicesThatMakeNoTrendAreRefused) {
    const QStringList before = Files();
    const struct {
        QStringList Options;
        int ExitCode;
        std::vector<const char*> Message;
    } cases[] = {
        {{"--json"},
         2,
         {"钢和铸钢 HL D; 钢和铸钢 HRC D", "Steel/cast st. HL D; Steel/cast st. HRC D"}},
        {{"-o", "mixed.pdf"}, 2, {"不能画在一张趋势图上", "cannot share one trend"}},
        {{"--scale", "HRC", "--from", "2025-04-01", "-o", "one.pdf"},
         2,
         {"趋势图至少需要 2 个点, 所选记录只有 1 个", "the chosen records give 1"}},
        {{"--scale", "HRC", "--from", "2030-01-01", "-o", "none.pdf"}, 2, {"只有 0 个"}},
        {StepChoice, 2, {"--json 或 -o FILE.pdf"}},
        {StepChoice + QStringList{"--json", "-o", "t.pdf"}, 2, {"--json 或 -o FILE.pdf"}},
        {StepChoice + QStringList{"--lower", "47", "--upper", "35", "--json"},
         2,
         {"--lower is above --upper"}},
        {StepChoice + QStringList{"--lower", "x", "--json"}, 2, {"--lower"}},
        {StepChoice + QStringList{"--limits", "HRC:35-47", "--json"},
         2,
         {"does not take --limits"}},
        {StepChoice + QStringList{"--json", "--lang", "fr"}, 2, {"--lang takes zh or en"}},
    };
    for (const auto& c : cases) {
        const CliResult result = TrendOf(c.Options);
        const std::string shown = c.Options.join(' ').toStdString();
        EXPECT_EQ(result.ExitCode, c.ExitCode) << shown << ": " << result.Err;
        EXPECT_EQ(result.Out, "") << shown;
        for (const char* part : c.Message)
            EXPECT_THAT(result.Err, HasSubstr(part)) << shown;
    }
    EXPECT_EQ(Files(), before);
}

// An output that names the archive file itself would replace every archived record with a
// page or a record file.
TEST_F(CliArchiveTrendTest, AnOutputNeverReplacesTheArchive) {
    ASSERT_EQ(Trend({"archive", "import", "r.txt", "--archive", "store.sqlite"}).ExitCode, 0);
    const QByteArray store = CliFolder::Read(Path(QStringLiteral("store.sqlite")));
    ASSERT_FALSE(store.isEmpty());
    for (const QStringList& arguments :
         {QStringList{"archive", "trend", "--scale", "HRC", "-o", "store.sqlite"},
          QStringList{"archive", "export", "-o", "store.sqlite"}}) {
        const CliResult result = Trend(arguments + QStringList{"--archive", "store.sqlite"});
        EXPECT_EQ(result.ExitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_THAT(result.Err, HasSubstr("输出文件就是档案本身"));
        EXPECT_THAT(result.Err, HasSubstr("the archive itself"));
    }
    EXPECT_EQ(CliFolder::Read(Path(QStringLiteral("store.sqlite"))), store);
    EXPECT_EQ(Trend({"archive", "check", "--archive", "store.sqlite"}).ExitCode, 0);
}

}  // namespace
}  // namespace leeb::testing
