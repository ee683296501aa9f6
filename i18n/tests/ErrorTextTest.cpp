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
QString Worded(const std::function<void()>& fail, const QString& recordFile) {
    try {
        fail();
    } catch (const std::exception& error) {
        return ErrorText::Of(error, recordFile);
    }
    return QStringLiteral("<nothing thrown>");
}

TEST(ErrorTextTest, RecordErrorsNameFileLineAndCauseInEachLanguage) {
    using Expected = ConversionError::Expected;
    struct Case {
        const char* Name;
        std::function<void()> Fail;
        const char* RecordFile;
        const char* Chinese;
        const char* English;
    };
    const Case cases[] = {
        {"ReadingOnAFileLine",
         [] { throw ConversionError("4x0", Expected::Real).AtLine(3, "Line 4: ..."); },
         "/data/r.txt", "文件 /data/r.txt 第 4 行 (存储记录3) 无法转换: '4x0' 不是有效的数值",
         "File /data/r.txt, line 4 (record 3) cannot be read: '4x0' is not a valid number"},
        {"CountOfAnUploadedRecord",
         [] { throw ConversionError("33", Expected::ImpactCount).AtLine(2, "Line 3: ..."); }, "",
         "存储记录2 无法转换: '33' 不是有效的冲击次数 (0 到 32)",
         "Record 2 cannot be read: '33' is not a valid impact count (0 to 32)"},
        {"SettingsWithoutLine", [] { ParseRecordLine("  0,2008/05/17,99999,", '.'); }, "",
         "'99999' 不是有效的设置字 (0 到 65535)",
         "'99999' is not a valid settings word (0 to 65535)"},
        {"CountWithoutLine", [] { ParseRecordLine(" 4x,2008/05/17,    0,", '.'); }, "",
         "'4x' 不是有效的整数", "'4x' is not a valid whole number"},
        {"FileNotReadable",
         [] { throw RecordFileError(RecordFileError::Operation::Read, "/data/r.txt", ENOENT); }, "",
         "无法读取文件 /data/r.txt: 文件或文件夹不存在",
         "Cannot read the file /data/r.txt: no such file or folder"},
        {"DiskFull",
         [] { throw RecordFileError(RecordFileError::Operation::Write, "/data/r.txt", ENOSPC); },
         "", "无法写入文件 /data/r.txt: 磁盘已满",
         "Cannot write the file /data/r.txt: the disk is full"},
        // Texts worded by the layer that made them pass unchanged.
        {"OtherFailure", [] { throw std::runtime_error("无法启动打印机。"); }, "",
         "无法启动打印机。", "无法启动打印机。"},
        {"ConversionWithoutParts", [] { throw ConversionError("'x' is not valid"); }, "",
         "'x' is not valid", "'x' is not valid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = QString::fromUtf8(c.RecordFile);
        EXPECT_EQ(Worded(c.Fail, file), QString::fromUtf8(c.Chinese));
        const InterfaceTranslation english(InterfaceLanguage::English,
                                           {QStringLiteral(LEEBDESK_BUILD_TRANSLATIONS)}, {});
        EXPECT_EQ(Worded(c.Fail, file), QString::fromUtf8(c.English));
    }
}

}  // namespace
}  // namespace leeb
