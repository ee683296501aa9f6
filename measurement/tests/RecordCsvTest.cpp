#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RecordCsv.h"
#include "TempFolder.h"

namespace leeb {
namespace {

using Table = std::vector<std::vector<std::string>>;

// Reads CSV as RFC 4180 describes it: quoted fields may hold separators, quotes (doubled) and
// line breaks; rows end with CR LF.
Table ParseCsv(std::string_view text, char separator) {
    Table rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && row.empty()) << "last row without CR LF";
    return rows;
}

constexpr const char* Bom = "\xEF\xBB\xBF";

RecordCsvOptions WithSeparator(char decimalSeparator, std::vector<long> recordNumbers = {}) {
    RecordCsvOptions options;
    options.DecimalSeparator = decimalSeparator;
    options.RecordNumbers = std::move(recordNumbers);
    return options;
}

Table CsvOf(const RecordLines& lines, char decimalSeparator) {
    const std::string csv = FormatRecordCsv(lines, WithSeparator(decimalSeparator));
    EXPECT_EQ(csv.rfind(Bom, 0), 0u);
    return ParseCsv(std::string_view(csv).substr(3), decimalSeparator == ',' ? ';' : ',');
}

// Columns after the 32 readings.
constexpr std::size_t MaxColumn = 39, MinColumn = 40, MeanColumn = 41, DeviationColumn = 42,
                      RangeColumn = 43;

TEST(RecordCsvExport, HeaderRow) {
    const Table table = CsvOf({"@Import Data@"}, '.');
    ASSERT_EQ(table.size(), 1u);
    const std::vector<std::string>& header = table[0];
    ASSERT_EQ(header.size(), 44u);
    EXPECT_EQ(header[0], "记录号");
    EXPECT_EQ(header[3], "硬度制/强度");
    EXPECT_EQ(header[6], "冲击次数");
    EXPECT_EQ(header[7], "读数1");
    EXPECT_EQ(header[38], "读数32");
    EXPECT_EQ(header[MaxColumn], "最大值");
    EXPECT_EQ(header[RangeColumn], "极差");
}

struct CsvRecordCase {
    const char* name;
    std::string line;
    char decimalSeparator;
    std::vector<std::string>
        firstColumns;  // number, date, material, scale, device, direction, count
    std::vector<std::string> readings;
    std::vector<std::string> summary;  // max, min, mean, standard deviation, range
};

class RecordCsvRows : public testing::TestWithParam<CsvRecordCase> {};

TEST_P(RecordCsvRows, ShowsWhatThePanelShows) {
    const CsvRecordCase& c = GetParam();
    const Table table = CsvOf({"@Import Data@", c.line}, c.decimalSeparator);
    ASSERT_EQ(table.size(), 2u);
    const std::vector<std::string>& row = table[1];
    ASSERT_EQ(row.size(), 44u);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 7), c.firstColumns);
    std::vector<std::string> readings = c.readings;
    readings.resize(32);
    EXPECT_EQ(std::vector<std::string>(row.begin() + 7, row.begin() + 39), readings);
    EXPECT_EQ(std::vector<std::string>(row.begin() + MaxColumn, row.end()), c.summary);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordCsvRows,
    testing::Values(CsvRecordCase{"Hardness",
                                  "  4,2008/05/17,   16,  450,  451,  460,  470,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HL", "DC", "垂直向下", "4"},
                                  {"450", "451", "460", "470"},
                                  {"470", "450", "458", "9.3", "20"}},
                    CsvRecordCase{"OneDecimal",
                                  "  2,2008/05/17,12289,045.1,045.2,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HRC", "D", "45°向下", "2"},
                                  {"45.1", "45.2"},
                                  {"45.2", "45.1", "45.2", "0.07", "0.1"}},
                    // A one-decimal reading keeps its decimal, also where it is 0; the standard
                    // deviation has one decimal more than the readings, also where it ends in 0.
                    CsvRecordCase{"OneDecimalWholeValues",
                                  "  3,2008/05/17,12289,060.0,060.2,060.4,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HRC", "D", "45°向下", "3"},
                                  {"60.0", "60.2", "60.4"},
                                  {"60.4", "60.0", "60.2", "0.20", "0.4"}},
                    CsvRecordCase{"OneDecimalEqualReadings",
                                  "  2,2008/05/17,12289,060.0,060.0,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HRC", "D", "45°向下", "2"},
                                  {"60.0", "60.0"},
                                  {"60.0", "60.0", "60.0", "0.00", "0"}},
                    CsvRecordCase{"OneDecimalComma",
                                  "  2,2008/05/17,12289,045,1,045,2,",
                                  ',',
                                  {"1", "2008/05/17", "钢和铸钢", "HRC", "D", "45°向下", "2"},
                                  {"45,1", "45,2"},
                                  {"45,2", "45,1", "45,2", "0,07", "0,1"}},
                    CsvRecordCase{"Strength",
                                  "  3,2008/05/17,  604,  600,  600,  600,",
                                  '.',
                                  {"1", "2008/05/17", "铬钢", "强度", "E", "垂直向上", "3"},
                                  {"600", "600", "600"},
                                  {"600", "600", "600", "0.0", "0"}},
                    CsvRecordCase{"SingleReading",
                                  "  1,2008/05/17,    2,  450,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HL", "D", "水平", "1"},
                                  {"450"},
                                  {"450", "450", "450", "-", "0"}},
                    CsvRecordCase{"NoReadingsUnknownCodes",
                                  "  0,2008/05/17,65535,",
                                  '.',
                                  {"1", "2008/05/17", "?15", "强度", "?15", "?7", "0"},
                                  {},
                                  {"-", "-", "-", "-", "-"}},
                    // Readings are summed as read: (450.6 + 450.6 + 450.3) / 3 = 450.5 gives 450.
                    CsvRecordCase{"FractionalWholeScaleReadings",
                                  "  3,2008/05/17,    0,450.6,450.6,450.3,",
                                  '.',
                                  {"1", "2008/05/17", "钢和铸钢", "HL", "D", "垂直向下", "3"},
                                  {"450.6", "450.6", "450.3"},
                                  {"450.6", "450.3", "450", "0.2", "0.3"}},
                    // A date field holding a separator and a quote must come back as it was.
                    CsvRecordCase{"QuotedDate",
                                  "  1,20\"8,05/17,   35,  450,",
                                  '.',
                                  {"1", "20\"8,05/17", "钢和铸钢", "HL", "DL", "45°向上", "1"},
                                  {"450"},
                                  {"450", "450", "450", "-", "0"}}),
    [](const testing::TestParamInfo<CsvRecordCase>& info) { return info.param.name; });

TEST(RecordCsvExport, RecordNumbersFollowTheLines) {
    const Table table =
        CsvOf({"@Import Data@", "  1,2008/05/17,    0,  450,", "  1,2009/01/02,    0,  460,"}, '.');
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1][0], "1");
    EXPECT_EQ(table[2][0], "2");
    EXPECT_EQ(table[2][1], "2009/01/02");
}

TEST(RecordCsvExport, TheRecordNumberIsTheRecordsOwnWhenKnown) {
    // After an upload of the single record 517, its line is line 1 of RecordLines.
    const RecordLines lines = {"@Import Data@", "  1,2008/05/17,    0,  450,",
                               "  1,2009/01/02,    0,  460,"};
    const struct {
        const char* name;
        std::vector<long> numbers;
        std::vector<std::string> expected;
    } cases[] = {
        {"SingleRecordUpload", {517, 518}, {"517", "518"}},
        {"NoNumbersKnown", {}, {"1", "2"}},
        {"OnlySomeKnown", {9}, {"9", "2"}},
    };
    for (const auto& c : cases) {
        const std::string csv = FormatRecordCsv(lines, WithSeparator('.', c.numbers));
        const Table table = ParseCsv(std::string_view(csv).substr(3), ',');
        ASSERT_EQ(table.size(), 3u) << c.name;
        EXPECT_EQ(table[1][0], c.expected[0]) << c.name;
        EXPECT_EQ(table[2][0], c.expected[1]) << c.name;
    }
}

TEST(RecordCsvExport, CellsThatSpreadsheetsWouldRunAreWrittenAsText) {
    const struct {
        const char* date;  // the 10-character date field of the record file
        const char* cell;  // as written in the CSV
    } cases[] = {
        {"=1+2+3    ", "\"'=1+2+3    \""},
        {"+1+2+3    ", "\"'+1+2+3    \""},
        {"-1+2+3    ", "\"'-1+2+3    \""},
        {"@SUM(A1)  ", "\"'@SUM(A1)  \""},
        {"=\"a\",b    ", "\"'=\"\"a\"\",b    \""},
        {"2008/05/17", "2008/05/17"},
        {"2008=05+17", "2008=05+17"},  // only the first character makes a formula
    };
    for (const auto& c : cases) {
        // A line whose value follows an "=" in its first column, so that the date may hold one.
        const std::string line = std::string("= 1,") + c.date + ",    0,  450,";
        const std::string csv = FormatRecordCsv({"@Import Data@", line});
        const std::string row = csv.substr(csv.find("\r\n") + 2);
        EXPECT_EQ(row.substr(0, row.find(",钢和铸钢")), std::string("1,") + c.cell) << c.date;
    }
    // Plain numbers and the "-" of a missing value stay numbers: a record without readings
    // and a negative reading.
    const Table table =
        CsvOf({"@Import Data@", "  0,2008/05/17,    0,", "  1,2008/05/17,    0,   -5,"}, '.');
    EXPECT_EQ(table[1][MaxColumn], "-");
    EXPECT_EQ(table[2][7], "-5");
    const std::string csv = FormatRecordCsv({"@Import Data@", "  1,2008/05/17,    0,   -5,"});
    EXPECT_EQ(csv.find('\''), std::string::npos);
}

TEST(RecordCsvExport, LinesWithMoreReadingsWidenTheTable) {
    std::string line = " 40,2008/05/17,    0,";
    for (int i = 0; i < 40; ++i) {
        line += "  " + std::to_string(400 + i) + ",";
    }
    const Table table = CsvOf({"@Import Data@", "  1,2008/05/17,    0,  450,", line}, '.');
    ASSERT_EQ(table.size(), 3u);
    ASSERT_EQ(table[0].size(), 44u + 8u);
    EXPECT_EQ(table[0][7 + 39], "读数40");
    ASSERT_EQ(table[1].size(), 52u);
    EXPECT_EQ(table[1][8], "");
    ASSERT_EQ(table[2].size(), 52u);
    EXPECT_EQ(table[2][7 + 39], "439");
    EXPECT_EQ(table[2][7 + 40], "439");  // the maximum
}

TEST(RecordCsvExport, BadLineNamesItsLine) {
    const RecordLines lines = {"@Import Data@", "  1,2008/05/17,    0,  450,",
                               "  1,2008/05/17,    0,  4x0,"};
    try {
        FormatRecordCsv(lines);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "line 3 (record 2): '4x0' is not a valid floating point value");
    }
}

TEST(RecordCsvExport, WriteKeepsOldFileOnFailure) {
    TempFolder folder;
    const std::string path = folder.File("records.csv");
    const RecordLines good = {"@Import Data@", "  1,2008/05/17,    0,  450,"};
    WriteRecordCsv(path, good);
    const std::string written = TempFolder::Read(path);
    EXPECT_EQ(written, FormatRecordCsv(good));

    EXPECT_THROW(WriteRecordCsv(path, {"@Import Data@", ""}), ConversionError);
    EXPECT_EQ(TempFolder::Read(path), written);
    EXPECT_THROW(WriteRecordCsv(folder.File("missing/records.csv"), good), RecordFileError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace leeb
