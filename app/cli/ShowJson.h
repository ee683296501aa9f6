#pragma once
// show --json: the records as one JSON array on standard output, each record printed as soon
// as it is shown, so that no file, however large, is held whole. Texts are trimmed; readings,
// maximum, minimum, limits and spread are JSON numbers in display units, the means unrounded;
// a value a record has not (no readings, no limit) is null.

#include <cstddef>
#include <string>

#include "ShownRecord.h"

namespace leeb::cli {

class JsonRecordPrinter {
  public:
    // `quality`: the evaluation's members are printed too.
    void Print(const ShownRecord& shown, bool quality);
    bool Started() const { return count_ > 0; }
    void Finish();

  private:
    std::string out_;  // one record's text, kept for its capacity
    std::size_t count_ = 0;
};

}  // namespace leeb::cli
