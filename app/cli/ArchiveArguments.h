#pragma once
// The command line of `leebdesk-cli archive`:
//   archive import FILE... [details] | list [FILTERS] [--json] | export -o FILE [FILTERS]
//         | amend ID... [details] [--reason T] | history ID | backup -o FILE | check | sync
//         | trend [FILTERS] [--lower X] [--upper Y] [--exclude-invalid] (--json | -o FILE.pdf)
// every one with --archive PATH|postgresql://... (default: LEEBDESK_ARCHIVE, else the setting
// archive/location, else the user's archive). FILTERS: --from YYYY-MM-DD --to YYYY-MM-DD
// --material --scale --device --part --lot --operator TEXT (--material, --scale and --device
// take the names of ArchiveFilterNames.h). import takes the record details --part --lot
// --operator --remarks. trend's page speaks the language --lang names (the window's Chinese
// without it).
// "--opt VALUE" and "--opt=VALUE" are the same.

#include <optional>
#include <string>
#include <vector>

#include "ArchiveRecord.h"
#include "InterfaceLanguage.h"
#include "LabOptions.h"

namespace leeb::cli {

struct ArchiveArguments {
    std::string Action;
    std::vector<std::string> Operands;
    std::string Archive;  // --archive; empty: the default
    std::optional<std::string> Output;
    bool Json = false;
    ArchiveFilter Filter;
    ArchiveLabDetails Details;                  // import
    ArchiveDetailsChange Change;                // amend: the details given
    std::string Reason;                         // amend
    std::vector<int64_t> Ids;                   // amend
    LabOptions Lab;                             // trend: --lower, --upper, --exclude-invalid
    std::optional<InterfaceLanguage> Language;  // trend: --lang
};

// `arguments` after "archive". Throws UsageError.
ArchiveArguments ParseArchiveArguments(const std::vector<std::string>& arguments);

const char* ArchiveUsageText();

}  // namespace leeb::cli
