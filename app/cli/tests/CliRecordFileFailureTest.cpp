// show, report and export on record files they cannot use: status 1, a message naming the
// file or the line, and no output file left behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "CliProcess.h"

namespace leeb::testing {
namespace {

using ::testing::HasSubstr;

const QByteArray GoodLine = "  3,2008/05/17,    0,  450,  452,  448,\r\n";

struct FileCase {
    const char* Name;
    const char* Content;  // nullptr: the file does not exist; "<dir>": a folder
    const char* Message;
};

const FileCase FileCases[] = {
    {"Missing", nullptr, "无法打开文件 records.txt: 文件或文件夹不存在"},
    {"Folder", "<dir>", "records.txt 是文件夹, 不是文件"},
    {"Empty", "", "不是记录文件"},
    {"HeaderInLowerCase", "@import data@\r\n", "不是记录文件"},
    {"HeaderFollowedBySpace", "@Import Data@ \r\n", "不是记录文件"},
    {"NotARecordFile", "%PDF-1.4\n", "不是记录文件"},
    {"FieldNotANumber",
     "@Import Data@\r\n  3,2008/05/17,    0,  450,  452,  448,\r\n"
     "  2,2008/05/17,    0,  4x0,  452,\r\n",
     "第 3 行 (存储记录2) 无法转换"},
    {"LineCutShort", "@Import Data@\r\n  3,2008/05/17,    0,  450,\r\n",
     "第 2 行 (存储记录1) 无法转换"},
    {"BlankLineBetweenRecords",
     "@Import Data@\r\n  3,2008/05/17,    0,  450,  452,  448,\r\n\r\n"
     "  3,2008/05/17,    0,  450,  452,  448,\r\n",
     "第 3 行 (存储记录2) 无法转换"},
    // Under the C locale the decimal point is '.': a whole-number reading with a comma could
    // as well be a thousands separator and does not read.
    {"OtherDecimalSeparator", "@Import Data@\r\n  1,2008/05/17,    0,450,6,\r\n",
     "第 2 行 (存储记录1) 无法转换: 第 1 个读数 '450,6' 不是数值"},
    // A byte that is no printable ASCII is named with its place, never shown as it is.
    {"EscapeSequenceInAField", "@Import Data@\r\n  1,2008/05/17,    0,4\x1b[2J0,\r\n",
     "第 2 行 (存储记录1) 无法转换: 第 23 列: 字节 0x1B 不是可打印的 ASCII 字符"},
    {"DegreeSignInTheDate",
     "@Import Data@\r\n  3,2008/05/17,    0,  450,  452,  448,\r\n"
     "  1,20\xB0" "8/05/17,    0,  450,\r\n",
     "第 3 行 (存储记录2) 无法转换: 第 7 列: 字节 0xB0 不是可打印的 ASCII 字符。(File records.txt, "
     "line 3 (record 2) cannot be read: column 7: byte 0xB0 is not printable ASCII text.)"},
    {"Utf8InTheDate", "@Import Data@\r\n  1,2008/05/\xEF\xBC\x91\x37,    0,  450,\r\n",
     "第 13 列: 字节 0xEF"},
    {"LineLongerThanAnyRecordLine",
     "@Import Data@\r\n  1,2008/05/17,    0,  450,                                                 "
     " "
     "<long>",
     "第 2 行太长"},
};

struct CommandCase {
    const char* Command;
    const char* Output;  // nullptr: prints to stdout
};

const CommandCase Commands[] = {{"show", nullptr}, {"report", "out.pdf"}, {"export", "out.csv"}};

class CliRecordFileFailureTest
    : public ::testing::TestWithParam<std::tuple<CommandCase, FileCase>> {};

TEST_P(CliRecordFileFailureTest, FailsWithAMessageAndWritesNothing) {
    const auto& [command, file] = GetParam();
    CliFolder folder;
    if (file.Content == nullptr) {
        // nothing
    } else if (std::string(file.Content) == "<dir>") {
        QDir(folder.Root()).mkdir(QStringLiteral("records.txt"));
    } else {
        QByteArray content(file.Content);
        content.replace("<long>", QByteArray(70000, ' '));
        folder.Write(QStringLiteral("records.txt"), content);
    }
    QStringList arguments{command.Command, "records.txt"};
    if (command.Output != nullptr)
        arguments << "-o" << command.Output;

    const CliResult result = RunCli(arguments, folder.Root());
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_THAT(result.Err, HasSubstr(file.Message));
    EXPECT_THAT(result.Err, ::testing::Not(HasSubstr("用法")));
    if (command.Output != nullptr) {
        EXPECT_EQ(QDir(folder.Root()).entryList(QDir::Files).filter(command.Output).size(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CliRecordFileFailureTest,
                         ::testing::Combine(::testing::ValuesIn(Commands),
                                            ::testing::ValuesIn(FileCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Command) + "_" +
                                    std::get<1>(info.param).Name;
                         });

TEST(CliShowFailureTest, RecordsBeforeABadLineArePrintedFirst) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), "@Import Data@\r\n" + GoodLine + GoodLine +
                                              "  1,2008/05/17,    0,  ,\r\n" + GoodLine);
    const CliResult text = RunCli({"show", "r.txt"}, folder.Root());
    EXPECT_EQ(text.ExitCode, 1);
    EXPECT_THAT(text.Out, HasSubstr("存储记录2\n"));
    EXPECT_THAT(text.Out, ::testing::Not(HasSubstr("存储记录3")));
    EXPECT_THAT(text.Err, HasSubstr("第 4 行 (存储记录3) 无法转换"));
    EXPECT_THAT(text.Err, HasSubstr("(File r.txt, line 4 (record 3) cannot be read"));

    // The JSON form stays a complete array of the records that did convert.
    const CliResult json = RunCli({"show", "--json", "r.txt"}, folder.Root());
    EXPECT_EQ(json.ExitCode, 1);
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.Out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.Out;
    EXPECT_EQ(document.array().size(), 2);
    EXPECT_THAT(json.Err, HasSubstr("第 4 行 (存储记录3) 无法转换"));
}

TEST(CliOutputFailureTest, OutputsThatAreNoRegularFileAreRefusedAndKept) {
    CliFolder folder;
    folder.Write(QStringLiteral("r.txt"), "@Import Data@\r\n" + GoodLine);
    const QString fifo = folder.Path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder.Root()).mkdir(QStringLiteral("folder.pdf")));
    for (const QStringList& arguments : {
             QStringList{"export", "r.txt", "-o", "fifo"},
             QStringList{"report", "r.txt", "-o", "fifo"},
             QStringList{"report", "r.txt", "-o", "folder.pdf"},
         }) {
        const CliResult result = RunCli(arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_THAT(result.Err, HasSubstr("输出不是普通文件")) << arguments.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_EQ(QDir(folder.Root()).entryList(QDir::Files | QDir::Hidden), QStringList{"r.txt"});
}

TEST(CliOutputFailureTest, AnUnwritableOrSameOutputIsRefusedAndTheRecordsStay) {
    CliFolder folder;
    const QByteArray records = "@Import Data@\r\n" + GoodLine;
    const QString input = folder.Write(QStringLiteral("r.txt"), records);
    struct Case {
        QStringList Arguments;
        const char* Message;
    };
    for (const Case& c : {
             Case{{"report", "r.txt", "-o", "missing/out.pdf"}, "无法写入报表文件"},
             Case{{"export", "r.txt", "-o", "missing/out.csv"}, "无法写入 CSV 文件"},
             Case{{"report", "r.txt", "-o", "r.txt"}, "输出文件就是记录文件本身"},
             Case{{"export", "r.txt", "-o", "./r.txt"}, "输出文件就是记录文件本身"},
         }) {
        const CliResult result = RunCli(c.Arguments, folder.Root());
        EXPECT_EQ(result.ExitCode, 1) << c.Arguments.join(' ').toStdString();
        EXPECT_THAT(result.Err, HasSubstr(c.Message));
        EXPECT_EQ(CliFolder::Read(input), records);
    }
}

}  // namespace
}  // namespace leeb::testing
