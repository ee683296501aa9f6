#pragma once
// A server location turned into the connection options the Qt PostgreSQL driver passes to
// libpq.

#include <QString>
#include <string>

namespace leeb {

// Longest wait for a server that does not answer, in seconds.
inline constexpr int ServerConnectTimeoutSeconds = 5;

// "postgresql://...", "postgres://..." or "key=value ..." (e.g. "service=lab") parsed by
// libpq and written back as "key='value'" pairs, connect_timeout at most 5 s. Throws
// ArchiveError(CannotOpen) for a string libpq does not accept. No password is ever added;
// one written in the string itself goes through to libpq and is stored nowhere.
QString ServerConnectOptions(const std::string& location);

// Whether a server answers at `location` at all (within the same time-out), whatever it then
// says: a server that refuses a role or a password answers; one that is down, or a host that
// cannot be reached, does not. Records wait locally only for a server that does not answer.
bool ServerAnswers(const std::string& location);

}  // namespace leeb
