#include "SyntheticArchive.h"

#include <algorithm>

#include "RecordFile.h"

namespace leeb::bench {

std::vector<ArchiveInput> SyntheticRecords(int count, std::mt19937& random, int materials) {
    std::vector<ArchiveInput> inputs;
    inputs.reserve(count);
    for (int i = 0; i < count; ++i) {
        MeasurementRecord record;
        record.ImpactCount = 10;
        for (int k = 0; k < 10; ++k)
            record.Readings[k] = static_cast<uint16_t>(300 + random() % 500);
        // The settings word's material bits; scale HL and device D are 0.
        record.SettingsWord = static_cast<uint16_t>((random() % materials) << 8);
        record.DateWord = static_cast<uint16_t>((16 + random() % 10) | ((1 + random() % 12) << 7) |
                                                ((1 + random() % 28) << 11));
        inputs.push_back({FormatRecordLine(record, '.'), i + 1});
    }
    return inputs;
}

void FillArchive(Archive& archive, int64_t total, std::mt19937& random, int materials) {
    for (int64_t have = archive.Count({}); have < total;) {
        const int batch = static_cast<int>(std::min<int64_t>(100000, total - have));
        have += archive
                    .Import({ArchiveSourceKind::File, "synthetic", "y", "", ""},
                            SyntheticRecords(batch, random, materials), {}, "bench")
                    .Added;
    }
}

}  // namespace leeb::bench
