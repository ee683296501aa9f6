#pragma once
// The command line of leebdesk-cli:
//   upload [--simulate[=RECORDS.json]] [--no-archive | --archive LOCATION] -o OUT.txt
//   show RECORDS.txt [--json]
//   report RECORDS.txt -o REPORT.pdf [lab options]
//   export RECORDS.txt -o OUT.csv [lab options]
// show, report and export take the lab options of LabOptions.h (report details only report).
// Options may stand before or after the file; "--" ends the options, so a file name may begin
// with "-". "-o FILE", "-oFILE", "--output FILE" and "--output=FILE" are the same.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "InterfaceLanguage.h"
#include "LabOptions.h"

namespace leeb::cli {

// A command line that does not say what to do, or an option value that cannot be taken:
// exit status 2, the message and a pointer to the usage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CommandArguments {
    std::string Command;                // "upload", "show", "report" or "export"; empty for help
    std::optional<std::string> Input;   // the record file of show, report and export
    std::optional<std::string> Output;  // -o
    bool Json = false;
    bool Simulate = false;
    std::string SimulateFile;  // empty: the simulator's built-in records
    bool Verify = false;       // upload --verify: every record read twice and compared
    bool NoArchive = false;    // upload: nothing goes into the archive
    std::string Archive;       // upload --archive; empty: as ResolveArchiveLocation says
    bool Help = false;
    bool Version = false;
    LabOptions Lab;
    std::optional<InterfaceLanguage> Language;  // --lang; none: the window's Chinese
};

// `value`, given for `option`, when it is UTF-8 text. Throws UsageError naming the first byte
// that is not: a lab's detail stored with a replacement character in its place is lost.
const std::string& CheckedText(const std::string& option, const std::string& value);

// Throws UsageError for a missing or unknown command, an unknown or repeated option, an
// option the command does not take, a missing -o or file, or a surplus operand.
CommandArguments ParseCommandLine(const std::vector<std::string>& arguments);

const char* UsageText();

// The language --lang asks for among `arguments`, also when the rest of the command line is
// wrong; none when it names none (or none that exists).
std::optional<InterfaceLanguage> LanguageAsked(const std::vector<std::string>& arguments);

// The one line after a usage error's message: where the usage is, in the language asked for
// (both languages without --lang, as the messages have them).
const char* UsageHint(std::optional<InterfaceLanguage> language);
// "leebdesk-cli 1.0.2 (V1.02)" and a line break.
const char* VersionText();

}  // namespace leeb::cli
