#include "RecordReadCheck.h"

namespace leeb {
namespace {

ReadDecision Kept(const std::vector<RecordImage>& reads, std::size_t index) {
    return {ImpactCountStored(reads[index]) ? ReadVerdict::Keep : ReadVerdict::KeepDamaged, index};
}

}  // namespace

bool ImpactCountStored(const RecordImage& image) {
    const uint16_t count = UnpackRecordImage(image).ImpactCount;
    return count >= 1 && count <= MaxReadings;
}

ReadDecision DecideRecordRead(const std::vector<RecordImage>& reads, bool verified) {
    const std::size_t n = reads.size();
    if (!verified) {
        if (n == 1) {
            return ImpactCountStored(reads[0]) ? ReadDecision{ReadVerdict::Keep, 0}
                                               : ReadDecision{ReadVerdict::DrainAndRetry, 0};
        }
        // The same answer twice is what the tester holds; a different one means the first
        // was thrown off by a stray report, and the second is taken.
        return Kept(reads, 1);
    }
    if (n == 1) {
        return {ReadVerdict::ReadAgain, 0};
    }
    if (n == 2) {
        return reads[0] == reads[1] ? Kept(reads, 1) : ReadDecision{ReadVerdict::DrainAndRetry, 0};
    }
    if (reads[2] == reads[0] || reads[2] == reads[1]) {
        return Kept(reads, 2);
    }
    return {ReadVerdict::Disagree, 0};
}

}  // namespace leeb
