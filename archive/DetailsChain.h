#pragma once
// The chain of a record's details versions. Each version stores a SHA-256 over its own content
// and the chain value of the version before it, bound to the record's content key: a version
// inserted, altered, re-dated or moved to another record outside leebdesk no longer matches
// what `check` recomputes.
//
// Hashed, in this order, each field as a 4-byte big-endian length and its bytes:
//   previous chain value (empty for version 1), record content key, version (decimal text),
//   changed_at, author, part, lot, operator, instrument, standard, remarks, reason.

#include <QByteArray>
#include <string>

#include "ArchiveRecord.h"

namespace leeb {

QByteArray DetailsChainValue(const QByteArray& previous, const QByteArray& contentKey,
                             int version, const std::string& changedAt, const std::string& author,
                             const ArchiveLabDetails& details, const std::string& reason);

}  // namespace leeb
