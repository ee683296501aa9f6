#pragma once
// A chosen set of records as the user writes it: record numbers and ranges separated by
// commas, "1-5,9" or "3, 7-8". Blanks are allowed anywhere between the parts, and the
// full-width comma and dash that a Chinese input method produces are read as ',' and '-'.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leeb {

struct RecordSelectionResult {
    enum class Problem {
        None,
        Empty,       // nothing but blanks and commas
        NotANumber,  // Item holds the part that is not a number or a range
        Zero,        // record numbers count from 1
        Descending,  // "5-1"
        BeyondLast,  // Item names a record after the last one (RecordCount)
    };
    Problem Error = Problem::None;
    std::string Item;                  // the offending part, as written
    std::vector<std::size_t> Records;  // ascending, each once; empty on an error
};

// recordCount: how many records there are (the records are numbered 1 .. recordCount).
RecordSelectionResult ParseRecordSelection(std::string_view text, std::size_t recordCount);

// The faults of the list itself, found before the records are counted: every problem but
// BeyondLast. Chooses no records.
RecordSelectionResult CheckRecordSelectionForm(std::string_view text);

// The error in words (Chinese, then English). `translate`, when given, turns the marked text
// into the interface language's (the window's); the part and the count are put in after.
using MessageTranslator = std::function<std::string(const char* text)>;
std::string RecordSelectionMessage(const RecordSelectionResult& result, std::size_t recordCount,
                                   const MessageTranslator& translate = {});

}  // namespace leeb
