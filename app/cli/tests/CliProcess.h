#pragma once
// Runs the built leebdesk-cli and collects what it did, plus a folder for its files.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

namespace leeb::testing {

struct CliResult {
    int ExitCode = -1;  // -1 when the program crashed or did not finish
    std::string Out;    // stdout, UTF-8
    std::string Err;    // stderr, UTF-8
};

// Runs the program in `workingFolder` under the C locale (decimal point '.'), with no display,
// no QT_QPA_PLATFORM and no XDG_RUNTIME_DIR, so a report must manage without them. `environment`
// adds to or overrides that.
CliResult RunCli(const QStringList& arguments, const QString& workingFolder,
                 const std::map<QString, QString>& environment = {});

// Starts the program as RunCli runs it and returns at once: for a program to be stopped or
// killed while it works, or two that run together.
void StartCli(QProcess& process, const QStringList& arguments, const QString& workingFolder,
              const std::map<QString, QString>& environment = {});

// Runs the program as RunCli does, from a POSIX shell (/bin/sh) that hands it `arguments` byte
// for byte: an argument need not be text, as a command line on such a system may hold any bytes.
CliResult RunCliWithBytes(const std::vector<QByteArray>& arguments, const QString& workingFolder);

// A temporary folder with small file helpers.
class CliFolder {
  public:
    QString Path(const QString& name) const { return folder_.filePath(name); }
    QString Write(const QString& name, const QByteArray& content) const;
    static QByteArray Read(const QString& path);
    static bool Exists(const QString& path);
    QString Root() const { return folder_.path(); }

  private:
    QTemporaryDir folder_;
};

// A simulated tester's file (--simulate=FILE) holding `count` different records of two
// readings each.
QByteArray ManyRecordsJson(int count);

// The text of a PDF as `pdftotext` reads it (UTF-8); empty when the tool fails.
std::string PdfText(const QString& path);

}  // namespace leeb::testing
