// The CSV columns that limits and the exclusion of invalid readings add, and chosen rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordCsv.h"
#include "RecordCsvQuality.h"

namespace leeb {
namespace {

using Row = std::vector<std::string>;

// Rows split at CR LF and ','; the test's fields hold neither quotes nor separators.
std::vector<Row> Rows(const std::string& csv) {
    std::vector<Row> rows;
    std::size_t start = 3;  // byte-order mark
    while (start < csv.size()) {
        const std::size_t end = csv.find("\r\n", start);
        const std::string line = csv.substr(start, end - start);
        Row row;
        std::size_t field = 0;
        while (true) {
            const std::size_t comma = line.find(',', field);
            row.push_back(line.substr(field, comma - field));
            if (comma == std::string::npos) {
                break;
            }
            field = comma + 1;
        }
        rows.push_back(row);
        start = end + 2;
    }
    return rows;
}

Row Head(const Row& row, std::size_t plainColumns) {
    return Row(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(plainColumns));
}

Row Tail(const Row& row, std::size_t plainColumns) {
    return Row(row.begin() + static_cast<std::ptrdiff_t>(plainColumns), row.end());
}

const RecordLines Records = {
    "@Import Data@",
    "  3,2008/05/17,    0,  450,  888,  470,",  // HL
    "  2,2008/05/17,12289,045.1,088.8,",        // HRC (tenths)
    "  2,2008/05/17,    0,  888,  888,",
};
constexpr std::size_t PlainColumns = 44;

TEST(RecordCsvQuality, ColumnsFollowTheSettings) {
    QualitySettings excluding;
    excluding.ExcludeInvalid = true;
    QualitySettings limits;
    limits.ForAll = ToleranceLimits{400.0, 460.0};
    QualitySettings perScale;
    perScale.PerScale["HRC"] = ToleranceLimits{std::nullopt, 50.0};
    QualitySettings both = excluding;
    both.ForAll = ToleranceLimits{400.0, std::nullopt};
    QualitySettings eachReading = excluding;
    eachReading.ForAll = ToleranceLimits{455.0, 500.0};
    eachReading.EachReading = true;
    struct Case {
        const char* name;
        QualitySettings quality;
        Row header;
        std::vector<Row> rows;
    } cases[] = {
        {"ExcludeInvalid",
         excluding,
         {"无效读数", "有效读数数", "有效最大值", "有效最小值", "有效平均值", "有效标准偏差",
          "有效极差"},
         {{"1", "2", "470", "450", "460", "14.1", "20"},
          {"1", "1", "45.1", "45.1", "45.1", "-", "0"},
          {"2", "0", "-", "-", "-", "-", "-"}}},
        {"Limits",
         limits,
         {"无效读数", "下限", "上限", "判定"},
         {{"1", "400", "460", "不合格"},
          {"1", "400", "460", "不合格"},
          {"2", "400", "460", "无有效读数"}}},
        // A scale without limits: empty limit cells and no verdict.
        {"PerScale",
         perScale,
         {"无效读数", "下限", "上限", "判定"},
         {{"1", "", "", ""}, {"1", "", "50", "不合格"}, {"2", "", "", ""}}},
        {"Both",
         both,
         {"无效读数", "有效读数数", "有效最大值", "有效最小值", "有效平均值", "有效标准偏差",
          "有效极差", "下限", "上限", "判定"},
         {{"1", "2", "470", "450", "460", "14.1", "20", "400", "", "合格"},
          {"1", "1", "45.1", "45.1", "45.1", "-", "0", "400", "", "不合格"},
          {"2", "0", "-", "-", "-", "-", "-", "400", "", "无有效读数"}}},
        // The mean of record 1's valid readings (460) lies within; its 450 does not.
        {"EachReading",
         eachReading,
         {"无效读数", "有效读数数", "有效最大值", "有效最小值", "有效平均值", "有效标准偏差",
          "有效极差", "下限", "上限", "判定"},
         {{"1", "2", "470", "450", "460", "14.1", "20", "455", "500", "不合格"},
          {"1", "1", "45.1", "45.1", "45.1", "-", "0", "455", "500", "不合格"},
          {"2", "0", "-", "-", "-", "-", "-", "455", "500", "无有效读数"}}},
    };
    const std::vector<Row> plain = Rows(FormatRecordCsv(Records));
    for (const auto& c : cases) {
        RecordCsvOptions options;
        options.Quality = c.quality;
        const std::vector<Row> rows = Rows(FormatRecordCsv(Records, options));
        ASSERT_EQ(rows.size(), 4u) << c.name;
        EXPECT_EQ(Tail(rows[0], PlainColumns), c.header) << c.name;
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            // The plain columns stay as they were: all readings, the failed impact included.
            EXPECT_EQ(Head(rows[r + 1], PlainColumns), Head(plain[r + 1], PlainColumns)) << c.name;
            EXPECT_EQ(Tail(rows[r + 1], PlainColumns), c.rows[r]) << c.name << " record " << r + 1;
        }
    }
}

TEST(RecordCsvQuality, NothingSetIsThePlainTable) {
    EXPECT_EQ(FormatRecordCsv(Records, RecordCsvOptions{}), FormatRecordCsv(Records));
    QualitySettings emptyLimits;
    emptyLimits.PerScale["HL"] = ToleranceLimits{};
    RecordCsvOptions options;
    options.Quality = emptyLimits;
    EXPECT_EQ(FormatRecordCsv(Records, options), FormatRecordCsv(Records));
}

TEST(RecordCsvQuality, ChosenRecordsOnly) {
    RecordCsvOptions options;
    options.Records = {1, 3};
    const std::vector<Row> rows = Rows(FormatRecordCsv(Records, options));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "1");
    EXPECT_EQ(rows[2][0], "3");
    options.Records = {4};
    EXPECT_THROW(FormatRecordCsv(Records, options), ConversionError);
}

}  // namespace
}  // namespace leeb
