#pragma once
// Archiving an upload as it goes: each record is committed on its own as soon as it is
// complete, so an upload cut off by a crash, an unplug or a data error keeps every record it
// finished.
//
// When the server archive cannot be reached, the session writes to the local archive file and
// marks the records pending; SendPending moves them to the server later (at start, on
// reconnect, `leebdesk-cli archive sync`). A server lost mid-session, or one that refuses a
// record (a role that may not insert, a full disk there), switches the rest of the session to
// the local file the same way.

#include <memory>
#include <string>
#include <vector>

#include "Archive.h"

namespace leeb {

class UploadArchiving {
  public:
    // `server` may be the local file itself (no fallback then). Opening a server that does not
    // answer within 5 s, or refuses, falls back to `local`. Throws ArchiveError when `server`
    // is the local file and cannot be used, or holds a newer schema; a server and a local file
    // that both cannot be used throw nothing here: every Add fails and says why.
    UploadArchiving(const ArchiveLocation& server, const ArchiveLocation& local);
    ~UploadArchiving();

    // Starts a source: the tester's name and the upload's start time (ISO 8601, UTC).
    void Begin(const std::string& tester, const std::string& time,
               const ArchiveLabDetails& details, const std::string& by);
    // Commits one complete record line. Returns false (and keeps the reason in LastError) when
    // neither the server nor the local file took it; the upload goes on regardless.
    // `storedImpactCount`: the tester's count of a damaged record, -1 for a sound one.
    bool Add(const std::string& line, int testerNumber, int storedImpactCount = -1);

    // Makes every record committed so far durable against a power cut (a local file syncs its
    // journal once here rather than at every record); the destructor does it too. False, with
    // LastError, when the sync failed: the records are committed but perhaps not on the disk.
    bool Finish();

    int Added() const;
    int AlreadyArchived() const;
    int Pending() const;  // written locally for the server
    int NotArchived() const;  // Add returned false: in no archive at all
    const std::string& LastError() const;
    // Why the records went to the local file: what the server said (empty while it took them).
    const std::string& PendingReason() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A file's import into `location`. When that is a server that cannot be reached, or that goes
// away during the import (the server rolls it back), the records go into the `local` archive
// marked pending instead, in one transaction, to be sent by SendPending. Throws ArchiveError
// when neither takes them.
struct ImportOutcome {
    ArchiveImportSummary Summary;
    bool Pending = false;  // the records wait in the local archive
    std::string Reason;    // why the server did not take them
};
ImportOutcome ImportOrKeepPending(const ArchiveLocation& location, const ArchiveLocation& local,
                                  const ArchiveSource& source,
                                  const std::vector<ArchiveInput>& records,
                                  const ArchiveLabDetails& details, const std::string& by);

// Sends the local archive's pending records to the server, one transaction per source; what
// fails stays pending. Returns how many went; throws ArchiveError when the server cannot be
// reached.
int SendPending(const ArchiveLocation& local, const ArchiveLocation& server);

}  // namespace leeb
