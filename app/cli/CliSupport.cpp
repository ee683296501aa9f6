#include "CliSupport.h"

#include <filesystem>
#include <system_error>

namespace leeb::cli {

namespace fs = std::filesystem;

RecordLines LoadRecordFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        throw CliFailure("文件不存在：" + path + "。(The file does not exist.)");
    }
    if (fs::is_directory(status)) {
        throw CliFailure("不是文件，而是文件夹：" + path + "。(This is a folder, not a file.)");
    }
    RecordLines lines;
    try {
        lines = ReadRecordFile(path);
    } catch (const RecordFileError& failure) {
        throw CliFailure("无法读取记录文件。(" + std::string(failure.what()) + ".)");
    }
    if (!HeaderTest(lines)) {
        throw CliFailure("文件格式不正确：" + path + " 的第一行不是 \"" +
                         std::string(RecordFileHeader) + "\"，它不是记录文件。(" + path +
                         " is not a record file: its first line is not \"" +
                         std::string(RecordFileHeader) + "\".)");
    }
    return lines;
}

std::string ConversionMessage(std::size_t lineIndex, const std::string& reason) {
    const std::string line = std::to_string(lineIndex + 1);
    const std::string record = std::to_string(lineIndex);
    return "记录文件第 " + line + " 行（存储记录" + record + "）无法转换。(Line " + line +
           " of the record file, record " + record + ", does not convert: " + reason + ".)";
}

void CheckRecordLines(const RecordLines& lines, char decimalSeparator) {
    for (std::size_t r = 1; r < lines.size(); ++r) {
        try {
            ParseRecordLine(lines[r], decimalSeparator);
        } catch (const ConversionError& failure) {
            throw CliFailure(ConversionMessage(r, failure.what()));
        }
    }
}

void RefuseSameFile(const std::string& input, const std::string& output) {
    std::error_code error;
    if (fs::equivalent(input, output, error)) {
        throw CliFailure("输出文件就是记录文件本身，写入会毁掉记录：" + output +
                         "。(The output file is the record file itself; writing it would destroy "
                         "the records.)");
    }
}

}  // namespace leeb::cli
