// leebdesk-cli: the window's upload, record view, report and export for scripts and terminals.

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "ArchiveArguments.h"
#include "CliSupport.h"
#include "Commands.h"
#include "Console.h"
#include "RuntimeFolder.h"

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "leebdesk-cli: %s\n", message.c_str());
}

int Run(int argc, char** argv) {
    using namespace leeb::cli;
    // The archive's commands have their own options (ArchiveArguments.h).
    if (argc > 1 && std::string(argv[1]) == "archive") {
        const std::string first = argc > 2 ? argv[2] : "";
        if (first == "--help" || first == "-h") {
            std::fputs(ArchiveUsageText(), stdout);
            return ExitSuccess;
        }
        return RunArchive(std::vector<std::string>(argv + 2, argv + argc));
    }
    const CommandArguments arguments =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    // Asked for, so an answer on standard output, not an error.
    if (arguments.Help) {
        std::fputs(UsageText(), stdout);
        std::fputs("\n", stdout);
        std::fputs(ArchiveUsageText(), stdout);
        return ExitSuccess;
    }
    if (arguments.Version) {
        std::fputs(VersionText(), stdout);
        return ExitSuccess;
    }
    if (arguments.Command == "upload")
        return RunUpload(arguments);
    if (arguments.Command == "show")
        return RunShow(arguments);
    if (arguments.Command == "report")
        return RunReport(arguments, argc, argv);
    return RunExport(arguments);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace leeb::cli;
    leeb::WriteUtf8ToConsole();
    leeb::EnsureRuntimeFolder();
    // The window's names: the archive's file and the settings are the window's own.
    QCoreApplication::setOrganizationName(QStringLiteral("leebdesk"));
    QCoreApplication::setApplicationName(QStringLiteral("leebdesk"));
    int status = ExitFailure;
    try {
        status = Run(argc, argv);
    } catch (const UsageError& failure) {
        // The message and where the usage is: the whole usage would bury the message.
        PrintError(failure.what());
        std::fputs(UsageHint(LanguageAsked(std::vector<std::string>(argv + 1, argv + argc))),
                   stderr);
        return ExitUsage;
    } catch (const std::exception& failure) {
        PrintError(failure.what());
        return ExitFailure;
    }
    // Output that did not reach its file or pipe (a full disk) is a failure too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        PrintError("无法写出到标准输出。(Cannot write to standard output.)");
        return ExitFailure;
    }
    return status;
}
