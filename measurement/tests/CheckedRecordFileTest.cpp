// Reading a record file as open, show, report and export do: the header test and every line
// parsed as it is read, stopping at the first fault with a structured error.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "RecordFile.h"
#include "RecordFileReader.h"
#include "TempFolder.h"

namespace leeb {
namespace {

const std::string Header = "@Import Data@\r\n";
const std::string Good = "  3,2008/05/17,    0,  450,  452,  448,\r\n";

TEST(CheckedRecordFile, GoodFilesKeepTheirLinesUnchanged) {
    const struct {
        const char* name;
        std::string content;
        RecordLines lines;
    } cases[] = {
        {"HeaderOnly", Header, {"@Import Data@"}},
        {"HeaderWithAnyFirstCharacter",
         "#Import Data@\n" + Good,
         {"#Import Data@", Good.substr(0, 39)}},
        {"CommaWrittenOneDecimal",
         Header + "  1,2008/05/17,12288,045,3,\r\n",
         {"@Import Data@", "  1,2008/05/17,12288,045,3,"}},
        {"OlderUploadWith40Readings",
         Header + " 40,2008/05/17,    0," +
             [] {
                 std::string r;
                 for (int i = 0; i < 40; ++i)
                     r += "  450,";
                 return r;
             }() +
             "\r\n",
         {}},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.File("good.txt");
        TempFolder::Write(path, c.content);
        const RecordLines lines = ReadCheckedRecordFile(path, '.');
        EXPECT_EQ(lines, c.lines.empty() ? SplitRecordContent(c.content) : c.lines) << c.name;
    }
}

struct BadFileCase {
    const char* name;
    std::optional<std::string> content;  // nullopt: no such file
    FileProblem problem;
    std::size_t lineNumber;
    std::optional<FieldFault> field;
    std::size_t recordsBefore;  // handed on before the fault
};

FieldFault ByteFault(std::size_t column, unsigned char byte) {
    FieldFault fault{LineField::Line, FieldProblem::NotText, 0, ""};
    fault.Column = column;
    fault.Byte = byte;
    return fault;
}

TEST(CheckedRecordFile, TheFirstFaultStopsTheReadAndSaysWhereAndWhy) {
    const BadFileCase cases[] = {
        {"Missing", std::nullopt, FileProblem::CannotOpen, 0, std::nullopt, 0},
        {"Empty", "", FileProblem::NotARecordFile, 1, std::nullopt, 0},
        {"LowerCaseHeader", "@import data@\r\n", FileProblem::NotARecordFile, 1, std::nullopt, 0},
        {"HeaderFollowedBySpace", "@Import Data@ \r\n" + Good, FileProblem::NotARecordFile, 1,
         std::nullopt, 0},
        {"BlankLineAfterTheRecords", Header + Good + Good + "\r\n", FileProblem::LineDoesNotConvert,
         4, FieldFault{LineField::ImpactCount, FieldProblem::NotANumber, 0, ""}, 2},
        {"ReadingNotANumber", Header + Good + "  2,2008/05/17,    0,  450,  4x2,\r\n" + Good,
         FileProblem::LineDoesNotConvert, 3,
         FieldFault{LineField::Reading, FieldProblem::NotANumber, 2, "4x2"}, 1},
        {"SettingsOutOfRange", Header + "  1,2008/05/17,70000,  450,\r\n",
         FileProblem::LineDoesNotConvert, 2,
         FieldFault{LineField::SettingsWord, FieldProblem::OutOfRange, 0, "70000"}, 0},
        // The file line and the byte's column in it, counted as an editor counts them.
        {"DegreeSignInTheDate", Header + Good + "  1,20\xB0" "8/05/17,    0,  450,\r\n",
         FileProblem::LineDoesNotConvert, 3, ByteFault(7, 0xB0), 1},
        {"Utf8AfterTheReadings", Header + "  1,2008/05/17,    0,  450,\xE2\x80\x83\r\n",
         FileProblem::LineDoesNotConvert, 2, ByteFault(28, 0xE2), 0},
        {"LineLongerThanAnyRecordLine",
         Header + Good + std::string(MaxRecordFileLineLength + 1, ' '), FileProblem::LineTooLong, 3,
         std::nullopt, 1},
        {"NoLineEndInAHugeFirstLine", std::string(3 * MaxRecordFileLineLength, 'x'),
         FileProblem::LineTooLong, 1, std::nullopt, 0},
    };
    TempFolder folder;
    for (const BadFileCase& c : cases) {
        const std::string path = folder.File("bad.txt");
        std::filesystem::remove(path);
        if (c.content) {
            TempFolder::Write(path, *c.content);
        }
        std::size_t handed = 0;
        try {
            ReadRecordFileRecords(
                path, '.',
                [&](std::size_t lineIndex, std::string_view line, const RecordTextFields& fields) {
                    ++handed;
                    EXPECT_EQ(lineIndex, handed) << c.name;
                    EXPECT_EQ(line, Good.substr(0, 39)) << c.name;
                    EXPECT_EQ(fields.Readings.size(), 3u) << c.name;
                });
            ADD_FAILURE() << c.name << ": no error";
        } catch (const RecordFileError& e) {
            EXPECT_EQ(e.Problem(), c.problem) << c.name << ": " << e.what();
            EXPECT_EQ(e.Path(), path) << c.name;
            EXPECT_EQ(e.LineNumber(), c.lineNumber) << c.name;
            ASSERT_EQ(e.Field().has_value(), c.field.has_value()) << c.name;
            if (c.field) {
                EXPECT_EQ(e.Field()->Field, c.field->Field) << c.name;
                EXPECT_EQ(e.Field()->Problem, c.field->Problem) << c.name;
                EXPECT_EQ(e.Field()->ReadingNumber, c.field->ReadingNumber) << c.name;
                if (c.field->Problem != FieldProblem::NotText) {
                    EXPECT_EQ(e.Field()->Text, c.field->Text) << c.name;
                }
                EXPECT_EQ(e.Field()->Column, c.field->Column) << c.name;
                EXPECT_EQ(e.Field()->Byte, c.field->Byte) << c.name;
            }
        }
        EXPECT_EQ(handed, c.recordsBefore) << c.name;
        EXPECT_THROW(ReadCheckedRecordFile(path, '.'), RecordFileError) << c.name;
    }
}

TEST(CheckedRecordFile, AnEmptyFileAndAnEmptyLineAreToldApartFromOtherFaults) {
    const struct {
        const char* name;
        std::string content;
        bool blank;
    } cases[] = {
        {"NoLineAtAll", "", true},
        {"OneEmptyLine", "\r\n", false},  // a first line that is not the header
        {"NotTheHeader", "%PDF-1.4\n", false},
        {"EmptyRecordLine", Header + Good + "\r\n" + Good, true},
        {"BlanksOnly", Header + "     \r\n", true},
        {"ReadingNotANumber", Header + "  1,2008/05/17,    0,  4x0,\r\n", false},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.File("blank.txt");
        TempFolder::Write(path, c.content);
        try {
            ReadCheckedRecordFile(path, '.');
            ADD_FAILURE() << c.name << ": no error";
        } catch (const RecordFileError& e) {
            EXPECT_EQ(e.Blank(), c.blank) << c.name;
        }
    }
}

TEST(CheckedRecordFile, AFolderIsNamedAsOne) {
    TempFolder folder;
    try {
        ReadCheckedRecordFile(folder.Path().string(), '.');
        FAIL() << "no error";
    } catch (const RecordFileError& e) {
        EXPECT_EQ(e.Problem(), FileProblem::IsAFolder);
    }
}

}  // namespace
}  // namespace leeb
