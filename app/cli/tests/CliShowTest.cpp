// show: the texts of the record tree and the detail panel for each record, as text and JSON.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

// Steel, HL, device D, straight down; a strength record (stainless steel, device DC,
// horizontal); and an HRC record (device G, straight up) whose mean 45.45 rounds to the even
// tenth.
const QByteArray ThreeRecords =
    "@Import Data@\r\n"
    "  3,2008/05/17,    0,  450,  452,  448,\r\n"
    "  2,2010/01/02, 2330,  560,  565,\r\n"
    "  2,2011/12/31,12356,045.3,045.6,\r\n";

QJsonArray ShowJson(const QByteArray& file, const std::map<QString, QString>& environment = {}) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), file);
    const CliResult result = RunCli({"show", "r.txt", "--json"}, folder.Root(), environment);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.Out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << result.Out;
    return document.array();
}

QJsonObject Expected(const char* node, QJsonArray readings, const char* material,
                     const char* scaleLabel, const char* scale, const char* device, int direction,
                     int count, const char* date, double max, double min, double mean) {
    return QJsonObject{{"node", node},
                       {"readings", readings},
                       {"material", material},
                       {"scale_label", scaleLabel},
                       {"scale", scale},
                       {"device", device},
                       {"direction", direction},
                       {"count", count},
                       {"date", date},
                       {"max", max},
                       {"min", min},
                       {"mean", mean}};
}

// Texts trimmed; readings, maximum and minimum numbers in display units, the mean unrounded
// (45.45, where the panel shows 45.4).
TEST(CliShowTest, JsonGivesTheNodeAndPanelValuesOfEachRecord) {
    const QJsonArray records = ShowJson(ThreeRecords);
    ASSERT_EQ(records.size(), 3);
    const QJsonObject expected[] = {
        Expected("存储记录1", {450, 452, 448}, "钢和铸钢", "硬度制", "HL", "D", 0, 3, "2008/05/17",
                 452, 448, 450),
        Expected("存储记录2", {560, 565}, "不锈钢", "强度", "", "DC", 2, 2, "2010/01/02", 565, 560,
                 562.5),
        Expected("存储记录3", {45.3, 45.6}, "钢和铸钢", "硬度制", "HRC", "G", 4, 2, "2011/12/31",
                 45.6, 45.3, 45.45),
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].toObject(), expected[i])
            << QJsonDocument(records[i].toObject()).toJson().toStdString();
    }
}

TEST(CliShowTest, JsonOfARecordWithoutReadingsHasNullValues) {
    const QJsonArray records = ShowJson("@Import Data@\r\n  0,2008/05/17,    0,\r\n");
    ASSERT_EQ(records.size(), 1);
    const QJsonObject record = records[0].toObject();
    EXPECT_EQ(record["readings"].toArray(), QJsonArray());
    for (const char* name : {"max", "min", "mean"}) {
        EXPECT_TRUE(record[name].isNull()) << name;
    }
}

// JSON numbers carry a point whatever the locale; the file's commas are read.
TEST(CliShowTest, ADecimalCommaLocaleReadsCommas) {
    const std::map<QString, QString> german{{"LC_ALL", "de_DE.UTF-8"}};
    const QJsonArray records =
        ShowJson("@Import Data@\r\n  2,2011/12/31,12356,045,3,045,6,\r\n", german);
    ASSERT_EQ(records.size(), 1);
    const QJsonObject record = records[0].toObject();
    EXPECT_EQ(record["readings"].toArray(), QJsonArray({45.3, 45.6}));
    EXPECT_EQ(record["mean"].toDouble(), 45.45);
}

TEST(CliShowTest, TextShowsTheTreeAndThePanel) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), ThreeRecords);
    const CliResult result = RunCli({"show", "r.txt"}, folder.Root());
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_THAT(result.Out, HasSubstr("存储记录1\n    450\n    452\n    448\n  记录号: 1\n"
                                      "  测量材料: 钢和铸钢\n  硬度制: HL \n  冲击装置: D\n"
                                      "  冲击方向: 0 垂直向下\n  冲击次数: 3\n"
                                      "  测量日期: 2008/05/17\n  最大值: 452\n  最小值: 448\n"
                                      "  平均值:  450\n"));
    EXPECT_THAT(result.Out, HasSubstr("\n存储记录2\n    560\n    565\n  记录号: 2\n"
                                      "  测量材料: 不锈钢\n  强度: σb\n"));
    EXPECT_THAT(result.Out, HasSubstr("  平均值: 45.4\n"));
}

TEST(CliShowTest, RecordFilesTravelBetweenDecimalSeparators) {
    // One-decimal readings read with either separator; each shows with the local one.
    const QByteArray file = "@Import Data@\r\n  2,2011/12/31,12356,045,3,045.6,\r\n";
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        const QJsonArray records = ShowJson(file, {{"LC_ALL", locale}});
        ASSERT_EQ(records.size(), 1) << locale;
        EXPECT_EQ(records[0].toObject()["readings"].toArray(), QJsonArray({45.3, 45.6})) << locale;
    }
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), file);
    const CliResult german = RunCli({"show", "r.txt"}, folder.Root(), {{"LC_ALL", "de_DE.UTF-8"}});
    EXPECT_THAT(german.Out, HasSubstr("    45,3\n    45,6\n"));
}

TEST(CliShowTest, EveryReadingOfALongerOlderLineIsShown) {
    QByteArray line = " 40,2008/05/17,    0,";
    QJsonArray readings;
    for (int i = 0; i < 40; ++i) {
        line += "  " + QByteArray::number(400 + i) + ",";
        readings.append(400 + i);
    }
    const QJsonArray records = ShowJson("@Import Data@\r\n" + line + "\r\n");
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["readings"].toArray(), readings);
    EXPECT_EQ(records[0].toObject()["count"].toInt(), 40);
}

TEST(CliShowTest, ControlCharactersOfTheFileNeverReachTheTerminal) {
    // A date field that would clear the screen and retitle the terminal: no record the tester
    // took, so the file is refused, and the message names the byte instead of sending it.
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"),
                 "@Import Data@\r\n  1,\x1b[2J\x1b]0;\x07\\,    0,  450,\r\n");
    for (const QStringList& command : {QStringList{"show", "r.txt"},
                                       QStringList{"show", "--json", "r.txt"}}) {
        const CliResult result = RunCli(command, folder.Root());
        EXPECT_EQ(result.ExitCode, 1) << result.Err;
        EXPECT_THAT(result.Err, HasSubstr("第 2 行 (存储记录1) 无法转换: 第 5 列: 字节 0x1B"));
        for (const std::string& out : {result.Out, result.Err}) {
            EXPECT_EQ(out.find('\x1b'), std::string::npos);
            EXPECT_EQ(out.find('\x07'), std::string::npos);
        }
    }
}

// The JSON is written by hand: a date holding quotes and a backslash must still give valid JSON
// with the text as it was.
TEST(CliShowTest, JsonKeepsAnyDateFieldValid) {
    const QJsonArray records = ShowJson("@Import Data@\r\n  1,\"a\\b\"/5/17,    0,  450,\r\n");
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["date"].toString(), QStringLiteral("\"a\\b\"/5/17"));
}

// A backslash is printable ASCII and stays in the date, spelled so that it cannot fake an
// escape of the text itself.
TEST(CliShowTest, ABackslashInTheDateIsShownSpelledOut) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), "@Import Data@\r\n  1,\\x1B/05/17,    0,  450,\r\n");
    const CliResult result = RunCli({"show", "r.txt"}, folder.Root());
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_THAT(result.Out, HasSubstr("  测量日期: \\x5Cx1B/05/17\n"));
}

TEST(CliShowTest, AHeaderOnlyFileHasNoRecords) {
    EXPECT_EQ(ShowJson("#Import Data@\r\n").size(), 0);
}

}  // namespace
}  // namespace leeb::testing
