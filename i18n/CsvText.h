#pragma once
// The CSV table's headers and cell names in the interface language.

#include "RecordCsvTexts.h"

namespace leeb {

// Every header translated under "RecordCsv" and the names under "CodeTables"; with no
// translation loaded (Chinese) the texts are the table's own.
RecordCsvTexts TranslatedCsvTexts();

}  // namespace leeb
