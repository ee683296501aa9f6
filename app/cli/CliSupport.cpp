#include "CliSupport.h"

#include <filesystem>
#include <system_error>

#include "CliLanguage.h"
#include "ErrorText.h"

namespace leeb::cli {

namespace fs = std::filesystem;

RecordLines LoadRecordFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        throw CliFailure(
            Say("文件不存在：" + path + "。", "The file does not exist: " + path + "."));
    }
    if (fs::is_directory(status)) {
        throw CliFailure(Say("不是文件，而是文件夹：" + path + "。",
                             "This is a folder, not a file: " + path + "."));
    }
    RecordLines lines;
    try {
        lines = ReadRecordFile(path);
    } catch (const RecordFileError& failure) {
        throw CliFailure(Say("无法读取记录文件：" + ErrorText::Of(failure).toStdString() + "。",
                             std::string(failure.what()) + "."));
    }
    if (!HeaderTest(lines)) {
        throw CliFailure(Say("文件格式不正确：" + path + " 的第一行不是 \"" +
                                 std::string(RecordFileHeader) + "\"，它不是记录文件。",
                             path + " is not a record file: its first line is not \"" +
                                 std::string(RecordFileHeader) + "\"."));
    }
    return lines;
}

std::string ConversionMessage(std::size_t lineIndex, const ConversionError& reason) {
    const std::string line = std::to_string(lineIndex + 1);
    const std::string record = std::to_string(lineIndex);
    return Say("记录文件第 " + line + " 行（存储记录" + record + "）无法转换：" +
                   ErrorText::Of(reason).toStdString() + "。",
               "Line " + line + " of the record file, record " + record +
                   ", does not convert: " + reason.what() + ".");
}

void CheckRecordLines(const RecordLines& lines, char decimalSeparator) {
    for (std::size_t r = 1; r < lines.size(); ++r) {
        try {
            ParseRecordLine(lines[r], decimalSeparator);
        } catch (const ConversionError& failure) {
            throw CliFailure(ConversionMessage(r, failure));
        }
    }
}

void RefuseSameFile(const std::string& input, const std::string& output) {
    std::error_code error;
    if (fs::equivalent(input, output, error)) {
        throw CliFailure(Say("输出文件就是记录文件本身，写入会毁掉记录：" + output + "。",
                             "The output file is the record file itself; writing it would "
                             "destroy the records: " +
                                 output + "."));
    }
}

}  // namespace leeb::cli
