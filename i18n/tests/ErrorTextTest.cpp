#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <stdexcept>

#include "ErrorText.h"
#include "InterfaceTranslation.h"
#include "RecordFile.h"

namespace leeb {
namespace {

// Runs `fail` and words what it throws.
QString Worded(const std::function<void()>& fail) {
    try {
        fail();
    } catch (const std::exception& error) {
        return ErrorText::Of(error);
    }
    return QStringLiteral("<nothing thrown>");
}

TEST(ErrorTextTest, RecordErrorsNameFileLineFieldAndCauseInEachLanguage) {
    const FieldFault reading{LineField::Reading, FieldProblem::NotANumber, 1, "4x0"};
    struct Case {
        const char* Name;
        std::function<void()> Fail;
        const char* Chinese;
        const char* English;
    };
    const Case cases[] = {
        {"ReadingOnAFileLine",
         [&] {
             throw RecordFileError("...", FileProblem::LineDoesNotConvert, "/data/r.txt", 0, 4,
                                   reading);
         },
         "文件 /data/r.txt 第 4 行 (存储记录3) 无法转换: 第 1 个读数 '4x0' 不是数值",
         "File /data/r.txt, line 4 (record 3) cannot be read: reading 1, '4x0', is not a number"},
        {"SettingsOutOfRange", [] { ParseRecordLine("  0,2008/05/17,99999,", '.'); },
         "设置字 '99999' 不在 0 到 65535 之间",
         "the settings word '99999' is not between 0 and 65535"},
        {"CountNotANumber", [] { ParseRecordLine(" 4x,2008/05/17,    0,", '.'); },
         "冲击次数 '4x' 不是整数", "the impact count '4x' is not a whole number"},
        {"NegativeCount", [] { ParseRecordLine(" -1,2008/05/17,    0,", '.'); },
         "冲击次数 '-1' 不能是负数", "the impact count '-1' cannot be negative"},
        {"ByteThatIsNoText", [] { ParseRecordLine("  1,20\xB0" "8/05/17,    0,  450,", '.'); },
         "第 7 列: 字节 0xB0 不是可打印的 ASCII 字符",
         "column 7: byte 0xB0 is not printable ASCII text"},
        {"ByteThatIsNoTextOnAFileLine",
         [] {
             FieldFault fault{LineField::Line, FieldProblem::NotText, 0, "0x0B"};
             fault.Column = 12;
             fault.Byte = 0x0B;
             throw RecordFileError("...", FileProblem::LineDoesNotConvert, "/data/r.txt", 0, 3,
                                   fault);
         },
         "文件 /data/r.txt 第 3 行 (存储记录2) 无法转换: 第 12 列: 字节 0x0B 不是可打印的 ASCII 字符",
         "File /data/r.txt, line 3 (record 2) cannot be read: column 12: byte 0x0B is not "
         "printable ASCII text"},
        {"MissingFile",
         [] { throw RecordFileError("...", FileProblem::CannotOpen, "/data/r.txt", ENOENT); },
         "无法打开文件 /data/r.txt: 文件或文件夹不存在",
         "Cannot open the file /data/r.txt: no such file or folder"},
        {"DiskFull",
         [] { throw RecordFileError("...", FileProblem::CannotWrite, "/data/r.txt", ENOSPC); },
         "无法写入文件 /data/r.txt: 磁盘已满",
         "Cannot write the file /data/r.txt: the disk is full"},
        {"NotARecordFile",
         [] { throw RecordFileError("...", FileProblem::NotARecordFile, "/data/r.txt"); },
         "/data/r.txt 不是记录文件: 第一行不是 \"@Import Data@\"",
         "/data/r.txt is not a record file: its first line is not \"@Import Data@\""},
        // Texts worded by the layer that made them pass unchanged.
        {"OtherFailure", [] { throw std::runtime_error("无法启动打印机。"); }, "无法启动打印机。",
         "无法启动打印机。"},
        {"ConversionWithoutField", [] { throw ConversionError("'x' is not valid"); },
         "'x' is not valid", "'x' is not valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Worded(c.Fail), QString::fromUtf8(c.Chinese));
        const InterfaceTranslation english(InterfaceLanguage::English,
                                           {QStringLiteral(LEEBDESK_BUILD_TRANSLATIONS)}, {});
        EXPECT_EQ(Worded(c.Fail), QString::fromUtf8(c.English));
    }
}

}  // namespace
}  // namespace leeb
