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
    // Off, or the archive opened (a server that does not answer or refuses: the local file,
    // pending). An archive that cannot be opened at all is said on stderr; the upload goes on
    // and its records count as not archived. Throws UsageError for a server location libpq
    // cannot take.
    explicit UploadArchive(const CommandArguments& arguments, const std::string& tester);
    // storedImpactCount: the tester's count of a damaged record, -1 for a sound one.
    void Add(const std::string& line, int recordNumber, int storedImpactCount);
    // After the upload's own lines, only with archiving on: on stdout how many records were
    // new and how many the archive held already; on stderr what waits in the local file for
    // the server and how many records no archive took.
    // Makes the archived records durable first.
    void Report();
    // Records of the upload in no archive at all: the upload must not end as a success.
    int NotArchived() const;

  private:
    bool on_ = false;
    std::unique_ptr<UploadArchiving> archiving_;
    int unopened_ = 0;
    int unsynced_ = 0;  // committed, but the final sync to the disk failed  // records handed over
                        // while no archive could be opened
    std::string openFailure_;
    bool warned_ = false;
};

}  // namespace leeb::cli
