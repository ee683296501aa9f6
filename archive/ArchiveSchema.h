#pragma once
// The archive's schema and its migrations, for both backends, in one place.

#include <QSqlDatabase>

namespace leeb {

enum class SqlDialect { Sqlite, Postgres };

// The version this leebdesk writes.
inline constexpr int ArchiveSchemaVersion = 1;

// Brings the schema of an open connection to ArchiveSchemaVersion in one transaction: creates
// it on first use, migrates an older one forward. Throws ArchiveError: NewerSchema for an
// archive of a newer leebdesk (left untouched), NotAnArchive for a database that holds other
// tables but no archive, WriteFailed when a migration fails (rolled back).
void MigrateArchiveSchema(QSqlDatabase& db, SqlDialect dialect);

}  // namespace leeb
