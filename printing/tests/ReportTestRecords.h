#pragma once
// Record lines for report tests, made by the record line writer so they look as uploaded.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "MeasurementRecord.h"
#include "RecordFile.h"

namespace leeb::testing {

// Settings word fields: direction bits 0-2, strength bit 3, device 4-7, material 8-11,
// scale code 12-15.
inline uint16_t Settings(int direction, int strength, int device, int material, int scaleCode) {
    return static_cast<uint16_t>(direction | strength << 3 | device << 4 | material << 8 |
                                 scaleCode << 12);
}
inline const uint16_t HardnessHL = Settings(0, 0, 0, 0, 0);   // steel, HL, direction down
inline const uint16_t HardnessHRC = Settings(2, 0, 0, 0, 3);  // steel, HRC (tenths)
inline const uint16_t StrengthLowCarbon = Settings(1, 1, 1, 0, 0);

// 2023/05/17
inline constexpr uint16_t Date = 23 | 5 << 7 | 17 << 11;

inline std::string Line(uint16_t settings, const std::vector<uint16_t>& raw,
                        char decimalSeparator = '.') {
    MeasurementRecord record;
    record.ImpactCount = static_cast<uint16_t>(raw.size());
    for (std::size_t k = 0; k < raw.size(); ++k) {
        record.Readings[k] = raw[k];
    }
    record.SettingsWord = settings;
    record.DateWord = Date;
    return FormatRecordLine(record, decimalSeparator);
}

inline std::vector<uint16_t> Readings(int count, uint16_t first = 400) {
    std::vector<uint16_t> raw;
    for (int k = 0; k < count; ++k) {
        raw.push_back(static_cast<uint16_t>(first + k));
    }
    return raw;
}

inline RecordLines Lines(const std::vector<std::string>& records) {
    RecordLines lines{std::string(RecordFileHeader)};
    lines.insert(lines.end(), records.begin(), records.end());
    return lines;
}

inline RecordLines RecordsOf(std::initializer_list<int> counts) {
    std::vector<std::string> records;
    for (int count : counts) {
        records.push_back(Line(HardnessHL, Readings(count)));
    }
    return Lines(records);
}

}  // namespace leeb::testing
