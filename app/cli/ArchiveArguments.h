#pragma once
// The command line of `leebdesk-cli archive`:
//   archive import FILE... [details] | list [FILTERS] [--json] | export -o FILE [FILTERS]
//         | history ID | backup -o FILE | check | sync
// every one with --archive PATH|postgresql://... (default: LEEBDESK_ARCHIVE, else the user's
// archive). FILTERS: --from YYYY-MM-DD --to YYYY-MM-DD --material --scale --device --part --lot
// --operator TEXT. import takes the record details --part --lot --operator --remarks.
// "--opt VALUE" and "--opt=VALUE" are the same.

#include <optional>
#include <string>
#include <vector>

#include "ArchiveRecord.h"

namespace leeb::cli {

struct ArchiveArguments {
    std::string Action;
    std::vector<std::string> Operands;
    std::string Archive;  // --archive; empty: the default
    std::optional<std::string> Output;
    bool Json = false;
    ArchiveFilter Filter;
    ArchiveLabDetails Details;  // import
};

// `arguments` after "archive". Throws UsageError.
ArchiveArguments ParseArchiveArguments(const std::vector<std::string>& arguments);

const char* ArchiveUsageText();

}  // namespace leeb::cli
