#include "CliSupport.h"

#include <QCoreApplication>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "AtomicFileWrite.h"
#include "CliLanguage.h"
#include "ErrorText.h"
#include "OutputFileName.h"

namespace leeb::cli {

namespace fs = std::filesystem;

void InWindowEnglish(const std::function<void()>& work) {
    // The command may have made no application object of its own for the translation.
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "leebdesk-cli";
        static char* argv[] = {name, nullptr};
        application.emplace(argc, argv);
    }
    const InterfaceTranslation translation(
        InterfaceLanguage::English,
        ProgramTranslationFolders(QCoreApplication::applicationDirPath()), {});
    work();
}

std::string WindowWording(const std::function<QString()>& word) {
    const auto shown = [](const QString& text) {
        return TerminalSafe(text.toStdString(), Backslash::Kept);
    };
    if (CliTranslation::Active())
        return shown(word());
    const QString chinese = word();
    QString english;
    InWindowEnglish([&] { english = word(); });
    if (english == chinese)  // no translation found: the Chinese alone
        return shown(chinese);
    return shown(chinese + QStringLiteral("。(") + english + QStringLiteral(".)"));
}

std::string ReadFailureMessage(const RecordFileError& failure) {
    return WindowWording([&failure] { return ErrorText::Of(failure); });
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

}  // namespace leeb::cli
