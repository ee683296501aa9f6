#pragma once
// Record lines for the window's tests, made the way the upload makes them.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "MeasurementRecord.h"
#include "RecordFile.h"

namespace leeb::fixtures {

// SettingsWord: direction bits 0-2, strength bit 3, device 4-7, material 8-11, scale 12-15.
constexpr uint16_t Settings(int direction, int strength, int device, int material, int scale) {
    return static_cast<uint16_t>(direction | strength << 3 | device << 4 | material << 8 |
                                 scale << 12);
}
// DateWord: year - 2000 in bits 0-6, month 7-10, day 11-15.
constexpr uint16_t Date(int year, int month, int day) {
    return static_cast<uint16_t>((year - 2000) | month << 7 | day << 11);
}

inline constexpr uint16_t SteelHL = Settings(2, 0, 0, 0, 0);   // horizontal, D, HL
inline constexpr uint16_t SteelHRC = Settings(1, 0, 0, 0, 3);  // one decimal
inline constexpr uint16_t StrengthChromium = Settings(0, 1, 1, 2, 0);

inline std::string Line(uint16_t settings, std::initializer_list<uint16_t> raw, char separator,
                        uint16_t date = Date(2024, 5, 17)) {
    MeasurementRecord record;
    record.ImpactCount = static_cast<uint16_t>(raw.size());
    std::size_t i = 0;
    for (uint16_t value : raw)
        record.Readings[i++] = value;
    record.SettingsWord = settings;
    record.DateWord = date;
    return FormatRecordLine(record, separator);
}

inline RecordLines WithHeader(std::initializer_list<std::string> lines) {
    RecordLines all{std::string(RecordFileHeader)};
    all.insert(all.end(), lines.begin(), lines.end());
    return all;
}

}  // namespace leeb::fixtures
