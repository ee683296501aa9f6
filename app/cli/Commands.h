#pragma once
// The commands of leebdesk-cli, one file each. Every command returns the program's exit status
// and throws CliFailure (exit 1) or UsageError (exit 2) with a message for the user.

#include <string>
#include <vector>

#include "CliArguments.h"

namespace leeb::cli {

int RunUpload(const CommandArguments& arguments);
int RunShow(const CommandArguments& arguments);
int RunReport(const CommandArguments& arguments, int argc, char** argv);
int RunExport(const CommandArguments& arguments);
// The words after "archive" (ArchiveArguments.h).
int RunArchive(const std::vector<std::string>& argumentsAfterArchive);

}  // namespace leeb::cli
