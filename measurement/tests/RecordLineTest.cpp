#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordFile.h"

namespace leeb {
namespace {

constexpr uint16_t Date080517 = 8 | 5 << 7 | 17 << 11;
constexpr uint16_t HrcSettings = 3 << 12;  // steel, HRC: one decimal

MeasurementRecord Record(std::vector<uint16_t> readings, uint16_t settings = 0,
                         uint16_t date = Date080517) {
    MeasurementRecord r;
    r.ImpactCount = static_cast<uint16_t>(readings.size());
    for (std::size_t i = 0; i < readings.size() && i < r.Readings.size(); ++i) {
        r.Readings[i] = readings[i];
    }
    r.SettingsWord = settings;
    r.DateWord = date;
    return r;
}

TEST(FormatRecordLineText, Columns) {
    const struct {
        const char* name;
        MeasurementRecord record;
        char separator;
        std::string line;
    } cases[] = {
        {"Whole", Record({450, 452, 448}), '.', "  3,2008/05/17,    0,  450,  452,  448,"},
        {"OneDecimal", Record({453, 5, 888, 9999}, HrcSettings), '.',
         "  4,2008/05/17,12288,045.3,000.5,088.8,999.9,"},
        {"OneDecimalComma", Record({453}, HrcSettings), ',', "  1,2008/05/17,12288,045,3,"},
        {"WideWholeValue", Record({65535, 0}), '.', "  2,2008/05/17,    0,65535,    0,"},
        {"NoReadings", Record({}), '.', "  0,2008/05/17,    0,"},
        {"DateEdges", Record({1}, 65535 & ~(7 << 12), 127 | 12 << 7 | 31 << 11), '.',
         "  1,2127/12/31,36863,    1,"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRecordLine(c.record, c.separator), c.line) << c.name;
    }
    EXPECT_EQ(FormatRecordLine(Record({450, 452, 448}), '.').size(), 39u);
    EXPECT_EQ(FormatRecordLine(Record(std::vector<uint16_t>(32, 450)), '.').size(), 213u);
}

TEST(FormatRecordLineText, RefusesValuesWiderThanTheirColumns) {
    EXPECT_THROW(FormatRecordLine(Record({453, 10000}, HrcSettings), '.'), RecordFormatError);
    EXPECT_THROW(FormatRecordLine(Record({65535}, HrcSettings), '.'), RecordFormatError);
    MeasurementRecord tooMany = Record({450});
    tooMany.ImpactCount = 33;  // would read past the 32 readings
    EXPECT_THROW(FormatRecordLine(tooMany, '.'), RecordFormatError);
    try {
        FormatRecordLine(Record({453, 12345}, HrcSettings), '.');
        FAIL() << "no error";
    } catch (const RecordFormatError& e) {
        EXPECT_STREQ(e.what(), "reading 2 (1234.5) does not fit the 5 columns of its field");
    }
}

TEST(ParseRecordLineFields, ReadsWhatTheWriterWrote) {
    const struct {
        const char* name;
        std::string line;
        char separator;
        RecordTextFields expected;
    } cases[] = {
        {"Whole",
         "  3,2008/05/17,    0,  450,  452,  448,",
         '.',
         {3, "2008/05/17", 0, {450, 452, 448}}},
        {"OneDecimal",
         "  2,2008/05/17,12288,045.3,000.5,",
         '.',
         {2, "2008/05/17", 12288, {45.3, 0.5}}},
        {"OneDecimalComma", "  1,2008/05/17,12288,045,3,", ',', {1, "2008/05/17", 12288, {45.3}}},
        // Only columns 2-3 hold the count.
        {"Count100ReadsAsZero", "100,2008/05/17,    0,  450,", '.', {0, "2008/05/17", 0, {}}},
        {"NoReadings", "  0,2008/05/17,    0,", '.', {0, "2008/05/17", 0, {}}},
        {"DateNotTrimmed", "  1, 008/5/17 ,    0,  450,", '.', {1, " 008/5/17 ", 0, {450}}},
        // A last field cut short still converts; nothing past the line is read.
        {"LastReadingCutShort",
         "  2,2008/05/17,    0,  450,  45",
         '.',
         {2, "2008/05/17", 0, {450, 45}}},
        {"ValueAfterEquals", "x= 1,2008/05/17,    0,  450,", '.', {1, "2008/05/17", 0, {450}}},
        {"TabsAndSignsTrimmed",
         "  1,2008/05/17,\t+12 ,\t-4.5\t,",
         '.',
         {1, "2008/05/17", 12, {-4.5}}},
        {"ShortReadingForms",
         "  3,2008/05/17,    0,  45.,   .5,   +7,",
         '.',
         {3, "2008/05/17", 0, {45, 0.5, 7}}},
        // One-decimal readings travel between machines: the fixed columns place the decimal,
        // so either separator reads, under either setting, also mixed within a line.
        {"OneDecimalPointUnderComma",
         "  2,2008/05/17,12288,045.3,000.5,",
         ',',
         {2, "2008/05/17", 12288, {45.3, 0.5}}},
        {"OneDecimalCommaUnderPoint",
         "  1,2008/05/17,12288,045,3,",
         '.',
         {1, "2008/05/17", 12288, {45.3}}},
        {"OneDecimalMixed",
         "  2,2008/05/17,12288,045,3,046.1,",
         '.',
         {2, "2008/05/17", 12288, {45.3, 46.1}}},
        // Lines of older uploads may carry more readings than a record holds; all are read.
        {"Count33",
         " 33,2008/05/17,    0," +
             [] {
                 std::string r;
                 for (int i = 0; i < 33; ++i)
                     r += "  " + std::to_string(400 + i) + ",";
                 return r;
             }(),
         '.',
         {33, "2008/05/17", 0,
          [] {
              std::vector<double> v;
              for (int i = 0; i < 33; ++i)
                  v.push_back(400 + i);
              return v;
          }()}},
        {"Count99",
         " 99,2008/05/17,12288," +
             [] {
                 std::string r;
                 for (int i = 0; i < 99; ++i)
                     r += "045.3,";
                 return r;
             }(),
         '.',
         {99, "2008/05/17", 12288, std::vector<double>(99, 45.3)}},
    };
    for (const auto& c : cases) {
        const RecordTextFields f = ParseRecordLine(c.line, c.separator);
        EXPECT_EQ(f.ImpactCount, c.expected.ImpactCount) << c.name;
        EXPECT_EQ(f.DateText, c.expected.DateText) << c.name;
        EXPECT_EQ(f.SettingsWord, c.expected.SettingsWord) << c.name;
        EXPECT_EQ(f.Readings, c.expected.Readings) << c.name;
    }
}

TEST(ParseRecordLineFields, FieldsThatDoNotConvert) {
    const struct {
        const char* name;
        std::string line;
        char separator;
        const char* message;
    } cases[] = {
        {"EmptyLine", "", '.', "'' is not a valid integer value"},
        {"CountNotANumber", " 4x,2008/05/17,    0,", '.', "'4x' is not a valid integer value"},
        {"SettingsNotANumber", "  0,2008/05/17,  1a2,", '.', "'1a2' is not a valid integer value"},
        {"LineCutShortBeforeSettings", "  1,2008/05/17", '.', "'' is not a valid integer value"},
        {"MissingReading", "  3,2008/05/17,    0,  450,  452,", '.',
         "'' is not a valid floating point value"},
        {"ReadingNotANumber", "  1,2008/05/17,    0,  4x5,", '.',
         "'4x5' is not a valid floating point value"},
        // Whole-number readings take only the separator of the number settings: "450,6" may
        // as well be a thousands separator.
        {"OtherSeparator", "  1,2008/05/17,    0,450.6,", ',',
         "'450.6' is not a valid floating point value"},
        {"CommaUnderPoint", "  1,2008/05/17,    0,450,6,", '.',
         "'450,6' is not a valid floating point value"},
        {"TwoSeparatorsOnOneDecimal", "  1,2008/05/17,12288,04.5,3,", '.',
         "'04.5,' is not a valid floating point value"},
        {"Exponent", "  1,2008/05/17,    0,1e300,", '.',
         "'1e300' is not a valid floating point value"},
        {"Infinity", "  1,2008/05/17,    0,  inf,", '.',
         "'inf' is not a valid floating point value"},
        {"NotANumber", "  1,2008/05/17,    0,  nan,", '.',
         "'nan' is not a valid floating point value"},
        {"SignOnly", "  1,2008/05/17,    0,    -,", '.', "'-' is not a valid floating point value"},
        {"TwoSigns", "  1,2008/05/17,    0,  +-5,", '.',
         "'+-5' is not a valid floating point value"},
        {"NegativeCount", " -1,2008/05/17,    0,", '.', "'-1' is not a valid impact count"},
        {"Count33WithTooFewReadings", " 33,2008/05/17,    0,  450,", '.',
         "'' is not a valid floating point value"},
        {"SettingsAbove16Bits", "  0,2008/05/17,99999,", '.',
         "'99999' is not a valid settings word"},
        {"NegativeSettings", "  0,2008/05/17,   -1,", '.', "'-1' is not a valid settings word"},
    };
    for (const auto& c : cases) {
        try {
            ParseRecordLine(c.line, c.separator);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.name;
        }
    }
}

// The writer makes printable ASCII only: any other byte, wherever it stands, is no record the
// tester took, and is named by its column in the line as the file has it.
TEST(ParseRecordLineFields, ABytePastPrintableAsciiIsRefusedWhereItStands) {
    const struct {
        const char* name;
        std::string line;
        std::size_t column;
        unsigned char byte;
        const char* message;
    } cases[] = {
        {"DegreeSignInTheDate", "  1,20\xB0" "8/05/17,    0,  450,", 7, 0xB0,
         "column 7: byte 0xB0 is not printable ASCII text"},
        {"Utf8InTheDate", "  1,2008/05/\xEF\xBC\x91\x37,    0,  450,", 13, 0xEF,
         "column 13: byte 0xEF is not printable ASCII text"},
        {"ControlInsideAReading", "  1,2008/05/17,    0,  4\x01" "5,", 25, 0x01,
         "column 25: byte 0x01 is not printable ASCII text"},
        {"EscapeSequenceInAReading", "  1,2008/05/17,    0,4\x1B[2J0,", 23, 0x1B,
         "column 23: byte 0x1B is not printable ASCII text"},
        {"DeleteInTheUnreadFirstColumn", "\x7F 1,2008/05/17,    0,  450,", 1, 0x7F,
         "column 1: byte 0x7F is not printable ASCII text"},
        {"BeforeTheEquals", "\xFF= 1,2008/05/17,    0,  450,", 1, 0xFF,
         "column 1: byte 0xFF is not printable ASCII text"},
        {"FormFeedAfterTheLastField", "  1,2008/05/17,    0,  450,\f", 28, 0x0C,
         "column 28: byte 0x0C is not printable ASCII text"},
        {"NulInsideALine", std::string("  1,2008/05/17,\0   0,  450,", 27), 16, 0x00,
         "column 16: byte 0x00 is not printable ASCII text"},
    };
    for (const auto& c : cases) {
        try {
            ParseRecordLine(c.line, '.');
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.name;
            ASSERT_TRUE(e.Fault().has_value()) << c.name;
            EXPECT_EQ(e.Fault()->Field, LineField::Line) << c.name;
            EXPECT_EQ(e.Fault()->Problem, FieldProblem::NotText) << c.name;
            EXPECT_EQ(e.Fault()->Column, c.column) << c.name;
            EXPECT_EQ(e.Fault()->Byte, c.byte) << c.name;
        }
    }
}

TEST(ParseRecordLineFields, AFailureNamesTheFieldItsTextAndTheProblem) {
    const struct {
        const char* name;
        std::string line;
        FieldFault expected;
    } cases[] = {
        {"Count",
         " 4x,2008/05/17,    0,",
         {LineField::ImpactCount, FieldProblem::NotANumber, 0, "4x"}},
        {"NegativeCount",
         " -1,2008/05/17,    0,",
         {LineField::ImpactCount, FieldProblem::OutOfRange, 0, "-1"}},
        {"Settings",
         "  0,2008/05/17,  1a2,",
         {LineField::SettingsWord, FieldProblem::NotANumber, 0, "1a2"}},
        {"SettingsAbove16Bits",
         "  0,2008/05/17,99999,",
         {LineField::SettingsWord, FieldProblem::OutOfRange, 0, "99999"}},
        {"ThirdReading",
         "  3,2008/05/17,    0,  450,  452,  4x8,",
         {LineField::Reading, FieldProblem::NotANumber, 3, "4x8"}},
        {"MissingReading",
         "  3,2008/05/17,    0,  450,",
         {LineField::Reading, FieldProblem::NotANumber, 2, ""}},
    };
    for (const auto& c : cases) {
        try {
            ParseRecordLine(c.line, '.');
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ConversionError& e) {
            ASSERT_TRUE(e.Fault().has_value()) << c.name;
            EXPECT_EQ(e.Fault()->Field, c.expected.Field) << c.name;
            EXPECT_EQ(e.Fault()->Problem, c.expected.Problem) << c.name;
            EXPECT_EQ(e.Fault()->ReadingNumber, c.expected.ReadingNumber) << c.name;
            EXPECT_EQ(e.Fault()->Text, c.expected.Text) << c.name;
        }
    }
}

TEST(ParseRecordLineFields, RoundTripOfAllReadingsAndSeparators) {
    for (const char separator : {'.', ','}) {
        for (const uint16_t settings : {uint16_t{0}, HrcSettings, uint16_t{HrcSettings | 8}}) {
            std::vector<uint16_t> raw;
            for (uint16_t v = 0; v < 32; ++v) {
                raw.push_back(static_cast<uint16_t>(v * 311 % 10000));
            }
            const RecordTextFields f =
                ParseRecordLine(FormatRecordLine(Record(raw, settings), separator), separator);
            ASSERT_EQ(f.ImpactCount, 32);
            EXPECT_EQ(f.SettingsWord, settings);
            const double unit = OneDecimalScale(DecodeSettingsWord(settings)) ? 10.0 : 1.0;
            for (std::size_t i = 0; i < raw.size(); ++i) {
                EXPECT_DOUBLE_EQ(f.Readings[i], raw[i] / unit) << i;
            }
        }
    }
}

TEST(RecordLineValueOf, TextAfterEqualsOrWithoutFirstColumn) {
    EXPECT_EQ(RecordLineValue("@Import Data@"), "Import Data@");
    EXPECT_EQ(RecordLineValue("a=b=c"), "b=c");
    EXPECT_EQ(RecordLineValue("abc="), "");
    EXPECT_EQ(RecordLineValue("x"), "");
    EXPECT_EQ(RecordLineValue(""), "");
}

TEST(HeaderTestOfLines, FirstLineMustReadImportData) {
    const struct {
        RecordLines lines;
        bool passes;
    } cases[] = {
        {{"@Import Data@"}, true},
        {{"@Import Data@", "  1,2008/05/17,    0,  450,"}, true},
        {{"#Import Data@"}, true},  // the first character is not examined
        {{"junk=Import Data@"}, true},
        {{"@import data@"}, false},
        {{"@Import Data@ "}, false},
        {{"@Import Data"}, false},
        {{"Import Data@"}, false},
        {{""}, false},
        {{}, false},
        {{"  1,2008/05/17,    0,  450,", "@Import Data@"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HeaderTest(c.lines), c.passes)
            << (c.lines.empty() ? std::string("(no lines)") : c.lines.front());
    }
}

}  // namespace
}  // namespace leeb
