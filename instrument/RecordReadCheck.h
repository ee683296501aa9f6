#pragma once
// When a record read from the tester can be kept. A record is read once; it is read again
// when its impact count lies outside 1..32 (a report too many shifts every later chunk, and
// the count then comes from readings or noise) or, in a verified upload, always. Two reads
// that agree settle it; a third settles a disagreement, or the record cannot be trusted.

#include <cstddef>
#include <vector>

#include "UploadProtocol.h"

namespace leeb {

enum class ReadVerdict {
    Keep,           // keep read `Keep`
    KeepDamaged,    // keep read `Keep`, whose impact count is outside 1..32, marked damaged
    ReadAgain,      // ask for the record once more straight away
    DrainAndRetry,  // let stray reports pass, then ask for the record once more
    Disagree,       // three reads, no two alike
};

struct ReadDecision {
    ReadVerdict Verdict = ReadVerdict::Keep;
    std::size_t Keep = 0;
};

// True when the image's impact count is one the tester stores (1..32).
bool ImpactCountStored(const RecordImage& image);

// `reads` holds every complete read of one record so far, oldest first (at least one).
ReadDecision DecideRecordRead(const std::vector<RecordImage>& reads, bool verified);

}  // namespace leeb
