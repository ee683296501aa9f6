#pragma once
// A server location turned into the connection options the Qt PostgreSQL driver passes to
// libpq.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <string>

namespace leeb {

// Longest wait for a server that does not answer, in seconds.
inline constexpr int ServerConnectTimeoutSeconds = 5;

// Throws ArchiveError(BadLocation) for a location libpq would refuse: one it cannot parse (an
// unknown keyword, a bad '%' escape), and one whose values it checks only as it connects (a
// port that is no number, an sslmode it does not know), where the refusal would look like a
// server that does not answer. No connection is tried. ArchiveError(CannotOpen) when libpq
// cannot be loaded.
void CheckServerLocation(const std::string& location);

// "postgresql://...", "postgres://..." or "key=value ..." (e.g. "service=lab") parsed by
// libpq and written back as "key='value'" pairs, connect_timeout at most 5 s. Throws as
// CheckServerLocation. No password is ever added; one written in the string itself goes
// through to libpq and is stored nowhere.
QString ServerConnectOptions(const std::string& location);

// Whether a server answers at `location` at all (within the same time-out), whatever it then
// says: a server that refuses a role or a password answers; one that is down, or a host that
// cannot be reached, does not. Records wait locally only for a server that does not answer.
bool ServerAnswers(const std::string& location);

// A COPY ... FROM STDIN of `rows` (COPY's text format, every row ended by a newline) on the
// connection Qt's driver holds (QSqlDriver::handle()). Fails with the server's message and
// SQLSTATE; the transaction it ran in is then aborted, as after any failed statement.
struct CopyOutcome {
    bool Done = false;
    std::string SqlState;
    std::string Message;
};
CopyOutcome CopyIntoServer(const QVariant& driverHandle, const std::string& statement,
                           const QByteArray& rows);

}  // namespace leeb
