#pragma once
// A measurement record as the tester stores it, the packed settings and date words, and the
// code tables that turn their codes into the texts shown to the user. Texts are UTF-8.

#include <array>
#include <cstdint>
#include <string>

namespace leeb {

struct MeasurementRecord {
    uint16_t ImpactCount = 0;             // valid counts are 1..32
    std::array<uint16_t, 32> Readings{};  // raw values; tenths on a one-decimal scale
    uint16_t SettingsWord = 0;
    uint16_t DateWord = 0;
};

// SettingsWord, bit 0 least significant:
//   bits 0-2  ImpactDirection  0..4 defined
//   bit  3    StrengthMode     0 hardness, 1 strength
//   bits 4-7  ImpactDevice     0..6 defined
//   bits 8-11 Material         0..9 defined
//   bits 12-15 ScaleCode       per material, see ScaleMap
struct DecodedSettings {
    int16_t ImpactDirection = 0;
    int16_t StrengthMode = 0;
    int16_t ImpactDevice = 0;
    int16_t Material = 0;
    int16_t ScaleCode = 0;
    int16_t ScaleIndex = 0;  // index into ScaleNames; -1 when the codes lie outside the map
};

DecodedSettings DecodeSettingsWord(uint16_t word);

// True for HRC, HS, HRB and HRA in hardness mode: readings travel as tenths.
bool OneDecimalScale(const DecodedSettings& settings);

// DateWord: bits 0-6 year - 2000, bits 7-10 month, bits 11-15 day. Always 10 characters,
// "2YYY/MM/DD", month and day as stored (no range check).
std::string DateText(uint16_t dateWord);

extern const std::array<const char*, 10> MaterialNames;
extern const std::array<const char*, 10> StrengthMaterialNames;
extern const std::array<const char*, 7> ScaleNames;  // three characters each: "HL ", "HRC", ...
extern const std::array<const char*, 7> ImpactDeviceNames;
// Row per material: column 0 is the highest defined scale code, columns 1..8 the ScaleIndex
// of scale codes 0..7.
extern const std::array<std::array<int16_t, 9>, 10> ScaleMap;

// Display lookups. A code outside its table gives "?" followed by the decimal code ("?12");
// a ScaleIndex of -1 gives "?" followed by the ScaleCode.
std::string MaterialText(const DecodedSettings& settings);  // strength or hardness table
// ScaleNames entry, blanks kept; empty in strength mode, where the sigma-b pictogram stands in.
std::string ScaleText(const DecodedSettings& settings);
std::string ImpactDeviceText(const DecodedSettings& settings);
// "?" followed by the decimal code: what every lookup shows for a code outside its table.
std::string UnknownCodeText(int code);

}  // namespace leeb
