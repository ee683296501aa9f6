#pragma once
// The archiving of leebdesk-cli's upload: every record committed to the archive as it is
// completed, unless the setting shared with the window ("archive/enabled") or --no-archive
// switches it off; then nothing is written anywhere.

#include <memory>
#include <string>

#include "CliArguments.h"
#include "UploadArchiving.h"

namespace leeb::cli {

class UploadArchive {
  public:
    // Off, or the archive opened (a server that does not answer: the local file, pending).
    // An archive that cannot be opened at all is said on stderr; the upload goes on. Throws
    // UsageError for a server location libpq cannot take.
    explicit UploadArchive(const CommandArguments& arguments, const std::string& tester);
    // storedImpactCount: the tester's count of a damaged record, -1 for a sound one.
    void Add(const std::string& line, int recordNumber, int storedImpactCount);
    // On stderr, only when records wait in the local file for the server.
    void Report() const;

  private:
    std::unique_ptr<UploadArchiving> archiving_;
    bool warned_ = false;
};

}  // namespace leeb::cli
