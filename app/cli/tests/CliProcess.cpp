#include "CliProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace leeb::testing {

namespace {

QProcessEnvironment CliEnvironment(const QString& workingFolder,
                                   const std::map<QString, QString>& environment) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As on a build machine or over ssh: no display and no desktop session's runtime folder.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR",
                             "LANG", "LANGUAGE", "LC_NUMERIC", "LC_ALL"}) {
        env.remove(QString::fromLatin1(name));
    }
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    // The archive and the settings of the test's own, never the user's.
    env.insert(QStringLiteral("XDG_DATA_HOME"), workingFolder + QStringLiteral("/.data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), workingFolder + QStringLiteral("/.config"));
    for (const auto& [name, value] : environment) {
        env.insert(name, value);
    }
    return env;
}

CliResult Finished(QProcess& process) {
    CliResult result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
    } else {
        result.ExitCode = process.exitCode();
    }
    result.Out = process.readAllStandardOutput().toStdString();
    result.Err = process.readAllStandardError().toStdString();
    return result;
}

}  // namespace

void StartCli(QProcess& process, const QStringList& arguments, const QString& workingFolder,
              const std::map<QString, QString>& environment) {
    process.setProcessEnvironment(CliEnvironment(workingFolder, environment));
    process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral(LEEBDESK_CLI_PATH), arguments);
}

CliResult RunCli(const QStringList& arguments, const QString& workingFolder,
                 const std::map<QString, QString>& environment) {
    QProcess process;
    StartCli(process, arguments, workingFolder, environment);
    return Finished(process);
}

CliResult RunCliWithBytes(const std::vector<QByteArray>& arguments, const QString& workingFolder) {
    // Each argument made by printf from octal escapes: any byte, none read by the shell.
    QString script = QStringLiteral("exec \"$LEEBDESK_CLI\"");
    for (const QByteArray& argument : arguments) {
        script += QStringLiteral(" \"$(printf '");
        for (const char c : argument)
            script += QStringLiteral("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QLatin1Char('0'));
        script += QStringLiteral("')\"");
    }
    QProcess process;
    QProcessEnvironment env = CliEnvironment(workingFolder, {});
    env.insert(QStringLiteral("LEEBDESK_CLI"), QStringLiteral(LEEBDESK_CLI_PATH));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    return Finished(process);
}

QString CliFolder::Write(const QString& name, const QByteArray& content) const {
    const QString path = Path(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QByteArray CliFolder::Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CliFolder::Exists(const QString& path) {
    return QFileInfo::exists(path);
}

std::string PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return pdftotext.readAllStandardOutput().toStdString();
}

QByteArray ManyRecordsJson(int count) {
    QByteArray json = R"({"records": [)";
    for (int i = 0; i < count; ++i)
        json += QByteArray(i == 0 ? "" : ",") + R"({"count": 2, "readings": [)" +
                QByteArray::number(300 + i % 500) + "," + QByteArray::number(300 + i / 500) +
                R"(], "settings": 0, "date": 35464})";
    return json + "]}";
}

}  // namespace leeb::testing
