#include "StartOptions.h"

#include <QCoreApplication>
#include <QFile>

#include "LeebdeskVersion.h"

namespace leeb {

namespace {

const QString SimulateOption = QStringLiteral("--simulate");
const QString SimulateFilePrefix = QStringLiteral("--simulate=");
const QString LanguageOption = QStringLiteral("--lang");
const QString LanguagePrefix = QStringLiteral("--lang=");

InterfaceLanguage LanguageNamed(const QString& name) {
    if (const auto language = ParseLanguageName(name))
        return *language;
    const std::string shown = name.toStdString();
    throw StartOptionsError("--lang 只接受 zh 或 en，而不是 \"" + shown +
                            "\"。(--lang takes zh or en, not \"" + shown + "\".)");
}

}  // namespace

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions options;
    bool sawSimulate = false;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == "-") {
            if (!options.OpenFile.isEmpty()) {
                const std::string shown = argument.toStdString();
                throw StartOptionsError("只能打开一个记录文件: " + shown +
                                        " (only one record file can be opened: " + shown + ")");
            }
            options.OpenFile = argument;
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == LanguageOption || argument.startsWith(LanguagePrefix)) {
            if (options.Language) {
                throw StartOptionsError("--lang 只能给一次。(--lang may be given only once.)");
            }
            if (argument == LanguageOption && i + 1 >= arguments.size()) {
                throw StartOptionsError("--lang 后缺少 zh 或 en。(--lang needs zh or en.)");
            }
            options.Language = LanguageNamed(
                argument == LanguageOption ? arguments[++i] : argument.mid(LanguagePrefix.size()));
        } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            options.What = StartOptions::Action::ShowHelp;
        } else if (argument == QStringLiteral("--version") || argument == QStringLiteral("-v")) {
            if (options.What == StartOptions::Action::Run)
                options.What = StartOptions::Action::ShowVersion;
        } else if (argument == SimulateOption || argument.startsWith(SimulateFilePrefix)) {
            if (sawSimulate) {
                throw StartOptionsError(
                    "--simulate 只能给一次。(--simulate may be given only once.)");
            }
            sawSimulate = options.Simulate = true;
            if (argument != SimulateOption) {
                const QString file = argument.mid(SimulateFilePrefix.size());
                if (file.isEmpty()) {
                    throw StartOptionsError(
                        "--simulate= 后缺少文件名。(--simulate= needs a file name.)");
                }
                options.SimulateFile = QFile::encodeName(file).toStdString();
            }
        } else {
            const std::string shown = argument.toStdString();
            throw StartOptionsError("未知的参数: " + shown + " (unknown argument: " + shown + ")");
        }
    }
    return options;
}

std::string StartUsage() {
    return "用法 (usage):\n"
           "  leebdesk [RECORDS.txt]     连接真实的里氏硬度计 (the window, with real testers),\n"
           "                             并打开记录文件 (opening the record file if given)\n"
           "  leebdesk --simulate        用内置的模拟硬度计 (with the built-in simulated tester)\n"
           "  leebdesk --simulate=FILE   模拟硬度计的记录来自 JSON 文件 FILE\n"
           "                             (a simulated tester holding the records of FILE)\n"
           "  leebdesk --lang zh|en      界面用中文或英文 (the interface in Chinese or English)\n"
           "  leebdesk --help | --version\n"
           "  选项可与记录文件一起给出 (options may be given with a record file).\n"
           "退出状态 (exit status): 0 成功 (success), 1 参数错误或无法启动 (bad argument or\n"
           "cannot start).\n";
}

std::string VersionText() {
    return "leebdesk " LEEBDESK_VERSION_TEXT "\n";
}

SimulatorRecordSet SimulatedTesterRecords(const StartOptions& options) {
    if (options.SimulateFile.empty())
        return SampleSimulatorRecords();
    try {
        return LoadSimulatorRecords(options.SimulateFile);
    } catch (const SimulatorRecordsError& failure) {
        // Shown in a message box once the interface language is set: said in that language,
        // the loader's details as it wrote them.
        throw SimulatorRecordsError(
            QCoreApplication::translate("StartOptions", "无法读取模拟硬度计的记录。(%1)")
                .arg(QString::fromStdString(failure.what()))
                .toStdString());
    }
}

}  // namespace leeb
