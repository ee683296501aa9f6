#include "ServerConnection.h"

#include "Archive.h"

// A build without libpq (the Windows program: its Qt has no PostgreSQL driver) keeps its
// archive in SQLite only. A server location is refused at once with the reason, instead of a
// driver error later on.

namespace leeb {

QString ServerConnectOptions(const std::string&) {
    throw ArchiveError(ArchiveErrorCode::CannotOpen,
                       "this leebdesk was built without PostgreSQL; use a local archive file");
}

// Nothing tells a server that is down from one this build cannot talk to: say it answers, so
// an import names the reason above rather than waiting for a server it will never reach.
bool ServerAnswers(const std::string&) { return true; }

}  // namespace leeb
