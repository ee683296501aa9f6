#include "CliSupport.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "AtomicFileWrite.h"
#include "OutputFileName.h"

namespace leeb::cli {

namespace fs = std::filesystem;

namespace {

std::string FieldName(const FieldFault& fault, bool chinese) {
    switch (fault.Field) {
        case LineField::ImpactCount:
            return chinese ? "冲击次数" : "the impact count";
        case LineField::SettingsWord:
            return chinese ? "设置字" : "the settings word";
        case LineField::Reading:
            break;
    }
    const std::string number = std::to_string(fault.ReadingNumber);
    return chinese ? "第 " + number + " 个读数" : "reading " + number;
}

// "冲击次数 '-1' 超出范围" / "reading 3 '4x0' is not a number".
std::string FieldReason(const FieldFault& fault, bool chinese) {
    const std::string text = "'" + TerminalSafe(fault.Text) + "'";
    if (chinese) {
        return FieldName(fault, true) + " " + text +
               (fault.Problem == FieldProblem::OutOfRange ? " 超出范围" : " 不是数字");
    }
    return FieldName(fault, false) + " " + text +
           (fault.Problem == FieldProblem::OutOfRange ? " is out of range" : " is not a number");
}

}  // namespace

std::string ReadFailureMessage(const RecordFileError& failure) {
    const std::string& path = failure.Path();
    switch (failure.Problem()) {
        case FileProblem::CannotOpen:
            if (failure.SystemError() == ENOENT) {
                return "文件不存在：" + path + "。(The file does not exist.)";
            }
            break;
        case FileProblem::IsAFolder:
            return "不是文件，而是文件夹：" + path + "。(This is a folder, not a file.)";
        case FileProblem::NotARecordFile:
            return "文件格式不正确：" + path + " 的第一行不是 \"" + std::string(RecordFileHeader) +
                   "\"，它不是记录文件。(" + path +
                   " is not a record file: its first line is not \"" +
                   std::string(RecordFileHeader) + "\".)";
        case FileProblem::LineTooLong: {
            const std::string line = std::to_string(failure.LineNumber());
            return "文件格式不正确：" + path + " 的第 " + line + " 行太长，它不是记录文件。(" +
                   path + " is not a record file: line " + line +
                   " is longer than any record line.)";
        }
        case FileProblem::LineDoesNotConvert: {
            const std::string line = std::to_string(failure.LineNumber());
            const std::string record = std::to_string(failure.LineNumber() - 1);
            std::string chinese = "记录文件第 " + line + " 行（存储记录" + record + "）无法转换";
            std::string english =
                "Line " + line + " of the record file, record " + record + ", does not convert";
            if (failure.Field()) {
                chinese += "：" + FieldReason(*failure.Field(), true);
                english += ": " + FieldReason(*failure.Field(), false);
            }
            return chinese + "。(" + english + ".)";
        }
        default:
            break;
    }
    return "无法读取记录文件。(" + std::string(failure.what()) + ".)";
}

RecordLines LoadRecordFile(const std::string& path, char decimalSeparator) {
    try {
        return ReadCheckedRecordFile(path, decimalSeparator);
    } catch (const RecordFileError& failure) {
        throw CliFailure(ReadFailureMessage(failure));
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

void RefuseArchiveAsOutput(const std::string& archivePath, const std::string& output) {
    std::error_code error;
    if (fs::equivalent(archivePath, output, error)) {
        throw CliFailure("输出文件就是档案本身，写入会毁掉档案：" + output +
                         "。(The output file is the archive itself; writing it would destroy the "
                         "archive.)");
    }
}

std::string OutputFilePath(const std::string& output, std::string_view extension) {
    if (!fs::path(output).has_filename()) {
        throw CliFailure("输出必须是一个文件名：" + output + "。(The output must name a file.)");
    }
    const std::string path = WithDefaultExtension(output, extension);
    if (IsNonRegularFile(path)) {
        throw CliFailure("输出不是普通文件，不能写入：" + path +
                         "。(The output exists and is not a regular file (a folder, device, FIFO "
                         "or socket); it is not replaced.)");
    }
    return path;
}

std::string TerminalSafe(std::string_view bytes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\') {
            out += "\\x";
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace leeb::cli
