#pragma once
// Why an upload stopped before its last record, as the command line tells it: Chinese with an
// English translation in brackets.

#include <string>

#include "HeadlessUpload.h"

namespace leeb::cli {

// The reason alone, without the count of records kept; for a result whose Interrupted() holds.
std::string InterruptionReason(const HeadlessUploadResult& result);

}  // namespace leeb::cli
