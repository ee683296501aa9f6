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

namespace {

// Control characters (C0, DEL, C1) of a file's bytes or a path spelled as \xNN, so that a
// message cannot send escape sequences to the terminal; other characters, Chinese among
// them, stay as they are.
QString WithoutControlCharacters(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F)) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            out += QStringLiteral("\\x");
            out += QLatin1Char(Hex[(unit >> 4) & 0x0F]);
            out += QLatin1Char(Hex[unit & 0x0F]);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string WindowWording(const std::function<QString()>& word) {
    if (CliTranslation::Active())
        return WithoutControlCharacters(word()).toStdString();
    const QString chinese = word();
    // The English comes from the window's translation, put in for this text alone; the
    // command may have made no application object of its own for it.
    std::optional<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "leebdesk-cli";
        static char* argv[] = {name, nullptr};
        application.emplace(argc, argv);
    }
    QString english;
    {
        const InterfaceTranslation translation(
            InterfaceLanguage::English,
            ProgramTranslationFolders(QCoreApplication::applicationDirPath()), {});
        english = word();
    }
    if (english == chinese)  // no translation found: the Chinese alone
        return WithoutControlCharacters(chinese).toStdString();
    return WithoutControlCharacters(chinese + QStringLiteral("。(") + english +
                                    QStringLiteral(".)"))
        .toStdString();
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
