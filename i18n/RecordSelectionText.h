#pragma once
// What is wrong with a written choice of records, in the interface language: the command
// line's wording (Chinese, the English in brackets), translated.

#include <QCoreApplication>
#include <QString>
#include <cstddef>

#include "RecordSelection.h"

namespace leeb {

class RecordSelectionText {
  public:
    // Empty when the choice has no error.
    static QString Of(const RecordSelectionResult& result, std::size_t recordCount);
};

}  // namespace leeb
