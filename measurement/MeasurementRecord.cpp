#include "MeasurementRecord.h"

#include <charconv>

#include "TranslationMarks.h"

namespace leeb {

// The names are Chinese, the program's own language; the window and the report show them
// translated under the context "CodeTables" (the scale and device names need none).
const std::array<const char*, 10> MaterialNames = {
    QT_TRANSLATE_NOOP("CodeTables", "钢和铸钢"), QT_TRANSLATE_NOOP("CodeTables", "合金工具钢"),
    QT_TRANSLATE_NOOP("CodeTables", "不锈钢"),   QT_TRANSLATE_NOOP("CodeTables", "灰铸铁"),
    QT_TRANSLATE_NOOP("CodeTables", "球墨铸铁"), QT_TRANSLATE_NOOP("CodeTables", "铸铝合金"),
    QT_TRANSLATE_NOOP("CodeTables", "铜锌合金"), QT_TRANSLATE_NOOP("CodeTables", "铜锡合金"),
    QT_TRANSLATE_NOOP("CodeTables", "纯铜"),     QT_TRANSLATE_NOOP("CodeTables", "锻钢"),
};

const std::array<const char*, 10> StrengthMaterialNames = {
    QT_TRANSLATE_NOOP("CodeTables", "低碳钢"),     QT_TRANSLATE_NOOP("CodeTables", "高碳钢"),
    QT_TRANSLATE_NOOP("CodeTables", "铬钢"),       QT_TRANSLATE_NOOP("CodeTables", "铬钒钢"),
    QT_TRANSLATE_NOOP("CodeTables", "铬镍钢"),     QT_TRANSLATE_NOOP("CodeTables", "铬钼钢"),
    QT_TRANSLATE_NOOP("CodeTables", "铬镍钼钢"),   QT_TRANSLATE_NOOP("CodeTables", "铬锰硅钢"),
    QT_TRANSLATE_NOOP("CodeTables", "超高强度钢"), QT_TRANSLATE_NOOP("CodeTables", "不锈钢"),
};

const std::array<const char*, 7> ScaleNames = {"HL ", "HV ", "HB ", "HRC", "HS ", "HRB", "HRA"};

const std::array<const char*, 7> ImpactDeviceNames = {"D", "DC", "DL", "D+15", "G", "E", "C"};

// Index 7 in row 0 (scale code 7 of steel) has no name; the lookups show it as unknown.
const std::array<std::array<int16_t, 9>, 10> ScaleMap = {{
    {6, 0, 1, 2, 3, 4, 5, 6, 7},  // steel and cast steel
    {2, 0, 1, 3, 0, 0, 0, 0, 0},  // alloy tool steel
    {3, 0, 1, 2, 5, 0, 0, 0, 0},  // stainless steel
    {1, 0, 2, 0, 0, 0, 0, 0, 0},  // grey cast iron
    {1, 0, 2, 0, 0, 0, 0, 0, 0},  // nodular cast iron
    {2, 0, 2, 5, 0, 0, 0, 0, 0},  // cast aluminium alloy
    {2, 0, 2, 5, 0, 0, 0, 0, 0},  // copper-zinc alloy
    {1, 0, 2, 0, 0, 0, 0, 0, 0},  // copper-tin alloy
    {1, 0, 2, 0, 0, 0, 0, 0, 0},  // pure copper
    {1, 0, 2, 0, 0, 0, 0, 0, 0},  // forged steel
}};

std::string UnknownCodeText(int code) {
    // Formatted by hand: GCC 12 at -O3 warns falsely (-Wrestrict) on "?" + std::to_string().
    char text[16] = "?";
    const auto end = std::to_chars(text + 1, text + sizeof text, code).ptr;
    return std::string(text, end);
}

namespace {

template <std::size_t N>
std::string Lookup(const std::array<const char*, N>& table, int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= N) {
        return UnknownCodeText(code);
    }
    return table[static_cast<std::size_t>(code)];
}

}  // namespace

DecodedSettings DecodeSettingsWord(uint16_t word) {
    DecodedSettings s;
    s.ImpactDirection = static_cast<int16_t>(word & 7);
    s.StrengthMode = static_cast<int16_t>((word >> 3) & 1);
    s.ImpactDevice = static_cast<int16_t>((word >> 4) & 15);
    s.Material = static_cast<int16_t>((word >> 8) & 15);
    s.ScaleCode = static_cast<int16_t>((word >> 12) & 15);
    // The tester never sends a material above 9 or a scale code above 7, but a hand-edited
    // file can: those pairs have no map entry and must not index past the table.
    if (s.Material < static_cast<int16_t>(ScaleMap.size()) && s.ScaleCode <= 7) {
        s.ScaleIndex = ScaleMap[static_cast<std::size_t>(s.Material)]
                               [static_cast<std::size_t>(s.ScaleCode) + 1];
    } else {
        s.ScaleIndex = -1;
    }
    return s;
}

bool OneDecimalScale(const DecodedSettings& settings) {
    return settings.StrengthMode == 0 && settings.ScaleIndex > 2 &&
           settings.ScaleIndex < static_cast<int16_t>(ScaleNames.size());
}

std::string DateText(uint16_t dateWord) {
    const int year = dateWord & 0x7F;
    const int month = (dateWord >> 7) & 0x0F;
    const int day = (dateWord >> 11) & 0x1F;
    std::string text = "2000/00/00";
    text[1] = static_cast<char>('0' + year / 100);
    text[2] = static_cast<char>('0' + year / 10 % 10);
    text[3] = static_cast<char>('0' + year % 10);
    text[5] = static_cast<char>('0' + month / 10);
    text[6] = static_cast<char>('0' + month % 10);
    text[8] = static_cast<char>('0' + day / 10);
    text[9] = static_cast<char>('0' + day % 10);
    return text;
}

std::string MaterialText(const DecodedSettings& settings) {
    return settings.StrengthMode != 0 ? Lookup(StrengthMaterialNames, settings.Material)
                                      : Lookup(MaterialNames, settings.Material);
}

std::string ScaleText(const DecodedSettings& settings) {
    if (settings.StrengthMode != 0) {
        return {};  // strength records show the sigma-b pictogram instead
    }
    if (settings.ScaleIndex < 0 || settings.ScaleIndex >= static_cast<int16_t>(ScaleNames.size())) {
        return UnknownCodeText(settings.ScaleCode);
    }
    return ScaleNames[static_cast<std::size_t>(settings.ScaleIndex)];
}

std::string ImpactDeviceText(const DecodedSettings& settings) {
    return Lookup(ImpactDeviceNames, settings.ImpactDevice);
}

}  // namespace leeb
