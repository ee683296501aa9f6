#pragma once
// What is wrong with a written choice of records, in the interface language. The Chinese text
// is the command line's own, which carries the English in brackets.

#include <QCoreApplication>
#include <QString>
#include <cstddef>

#include "RecordSelection.h"

namespace leeb {

class RecordSelectionText {
    Q_DECLARE_TR_FUNCTIONS(RecordSelectionText)

  public:
    // Empty when the choice has no error.
    static QString Of(const RecordSelectionResult& result, std::size_t recordCount);
};

}  // namespace leeb
