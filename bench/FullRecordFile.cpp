#include "FullRecordFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "RecordFile.h"

namespace leeb::bench {

namespace {

void WriteRecords(const std::string& path, std::size_t count) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fprintf(file, "%s\r\n", std::string(RecordFileHeader).c_str());
    for (std::size_t i = 0; i < count; ++i) {
        const auto r = static_cast<int>(i % FullRecordCount);
        MeasurementRecord record;
        record.ImpactCount = 32;
        record.SettingsWord = static_cast<uint16_t>(r % 2 == 0 ? 0 : 3 << 12);  // HL / HRC
        record.DateWord = static_cast<uint16_t>(24 | 5 << 7 | 17 << 11);
        for (int k = 0; k < 32; ++k) {
            record.Readings[static_cast<std::size_t>(k)] =
                static_cast<uint16_t>(300 + (r + k) % 600);
        }
        std::fprintf(file, "%s\r\n", FormatRecordLine(record, '.').c_str());
    }
    std::fclose(file);
}

}  // namespace

void WriteFullRecordFile(const std::string& path) {
    WriteRecords(path, FullRecordCount);
}

void WriteLargeRecordFile(const std::string& path, std::size_t bytes) {
    constexpr std::size_t LineBytes = 21 + 6 * 32 + 2;  // 32 readings and CR LF
    WriteRecords(path, bytes / LineBytes + 1);
}

}  // namespace leeb::bench
