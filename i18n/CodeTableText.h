#pragma once
// The names of the record's code tables (materials; scales and devices need none) as the
// interface shows them: translated under the context "CodeTables", where the tables mark them.
// A name the translation does not hold, such as "?12" for an unknown code, stays as it is.

#include <QString>
#include <string>

namespace leeb {

QString CodeTableText(const std::string& name);

}  // namespace leeb
