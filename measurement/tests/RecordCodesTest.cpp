#include <gtest/gtest.h>

#include "DirectionPictograms.h"
#include "MeasurementRecord.h"

namespace leeb {
namespace {

uint16_t Word(int direction, int strength, int device, int material, int scaleCode) {
    return static_cast<uint16_t>(direction | strength << 3 | device << 4 | material << 8 |
                                 scaleCode << 12);
}

struct DecodeCase {
    const char* name;
    uint16_t word;
    DecodedSettings expected;
    const char* material;
    const char* scale;
    const char* device;
    bool oneDecimal;
    int pictogram;
};

class DecodeSettings : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeSettings, FieldsAndTexts) {
    const DecodeCase& c = GetParam();
    const DecodedSettings s = DecodeSettingsWord(c.word);
    EXPECT_EQ(s.ImpactDirection, c.expected.ImpactDirection);
    EXPECT_EQ(s.StrengthMode, c.expected.StrengthMode);
    EXPECT_EQ(s.ImpactDevice, c.expected.ImpactDevice);
    EXPECT_EQ(s.Material, c.expected.Material);
    EXPECT_EQ(s.ScaleCode, c.expected.ScaleCode);
    EXPECT_EQ(s.ScaleIndex, c.expected.ScaleIndex);
    EXPECT_EQ(MaterialText(s), c.material);
    EXPECT_EQ(ScaleText(s), c.scale);
    EXPECT_EQ(ImpactDeviceText(s), c.device);
    EXPECT_EQ(OneDecimalScale(s), c.oneDecimal);
    EXPECT_EQ(PictogramForDirection(s.ImpactDirection), c.pictogram);
}

// DecodedSettings fields: direction, strength, device, material, scale code, scale index.
INSTANTIATE_TEST_SUITE_P(
    Words, DecodeSettings,
    testing::Values(
        DecodeCase{"Zero", 0, {0, 0, 0, 0, 0, 0}, "钢和铸钢", "HL ", "D", false, 5},
        DecodeCase{
            "SteelHrc", Word(1, 0, 2, 0, 3), {1, 0, 2, 0, 3, 3}, "钢和铸钢", "HRC", "DL", true, 0},
        DecodeCase{"SteelHrcStrength",
                   Word(1, 1, 2, 0, 3),
                   {1, 1, 2, 0, 3, 3},
                   "低碳钢",
                   "",
                   "DL",
                   false,
                   0},
        DecodeCase{"MapSelectsScale",
                   Word(2, 0, 6, 1, 2),
                   {2, 0, 6, 1, 2, 3},
                   "合金工具钢",
                   "HRC",
                   "C",
                   true,
                   1},
        DecodeCase{
            "Stainless", Word(3, 0, 3, 2, 3), {3, 0, 3, 2, 3, 5}, "不锈钢", "HRB", "D+15", true, 2},
        DecodeCase{
            "HvWhole", Word(4, 0, 1, 0, 1), {4, 0, 1, 0, 1, 1}, "钢和铸钢", "HV ", "DC", false, 3},
        DecodeCase{
            "HbWhole", Word(0, 0, 5, 9, 1), {0, 0, 5, 9, 1, 2}, "锻钢", "HB ", "E", false, 5},
        DecodeCase{"HsOneDecimal",
                   Word(0, 0, 4, 0, 4),
                   {0, 0, 4, 0, 4, 4},
                   "钢和铸钢",
                   "HS ",
                   "G",
                   true,
                   5},
        DecodeCase{"HraOneDecimal",
                   Word(0, 0, 0, 0, 6),
                   {0, 0, 0, 0, 6, 6},
                   "钢和铸钢",
                   "HRA",
                   "D",
                   true,
                   5},
        DecodeCase{"StrengthMaterial9",
                   Word(0, 1, 0, 9, 0),
                   {0, 1, 0, 9, 0, 0},
                   "不锈钢",
                   "",
                   "D",
                   false,
                   5},
        DecodeCase{"ScaleIndex7",
                   Word(0, 0, 0, 0, 7),
                   {0, 0, 0, 0, 7, 7},
                   "钢和铸钢",
                   "?7",
                   "D",
                   false,
                   5},
        DecodeCase{"ScaleCodeAbove7",
                   Word(0, 0, 0, 0, 12),
                   {0, 0, 0, 0, 12, -1},
                   "钢和铸钢",
                   "?12",
                   "D",
                   false,
                   5},
        DecodeCase{"ScaleCode15OneDecimalMaterial",
                   Word(0, 0, 0, 1, 15),
                   {0, 0, 0, 1, 15, -1},
                   "合金工具钢",
                   "?15",
                   "D",
                   false,
                   5},
        DecodeCase{
            "Material10", Word(0, 0, 0, 10, 3), {0, 0, 0, 10, 3, -1}, "?10", "?3", "D", false, 5},
        DecodeCase{"Material15Strength",
                   Word(0, 1, 0, 15, 0),
                   {0, 1, 0, 15, 0, -1},
                   "?15",
                   "",
                   "D",
                   false,
                   5},
        DecodeCase{
            "Device7", Word(0, 0, 7, 0, 0), {0, 0, 7, 0, 0, 0}, "钢和铸钢", "HL ", "?7", false, 5},
        DecodeCase{"Device15",
                   Word(0, 0, 15, 0, 0),
                   {0, 0, 15, 0, 0, 0},
                   "钢和铸钢",
                   "HL ",
                   "?15",
                   false,
                   5},
        DecodeCase{"Direction5",
                   Word(5, 0, 0, 0, 0),
                   {5, 0, 0, 0, 0, 0},
                   "钢和铸钢",
                   "HL ",
                   "D",
                   false,
                   -1},
        DecodeCase{"Direction7",
                   Word(7, 0, 0, 0, 0),
                   {7, 0, 0, 0, 0, 0},
                   "钢和铸钢",
                   "HL ",
                   "D",
                   false,
                   -1},
        DecodeCase{"AllBits", 0xFFFF, {7, 1, 15, 15, 15, -1}, "?15", "", "?15", false, -1}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(OneDecimalScaleRule, OnlyIndexThreeToSixInHardnessMode) {
    for (int16_t index = -1; index <= 7; ++index) {
        DecodedSettings s;
        s.ScaleIndex = index;
        EXPECT_EQ(OneDecimalScale(s), index >= 3 && index <= 6) << "index " << index;
        s.StrengthMode = 1;
        EXPECT_FALSE(OneDecimalScale(s)) << "strength, index " << index;
    }
}

TEST(ScaleMapTable, DefinedCodesGiveTheDocumentedScales) {
    // For every material: the names that scale codes 0..column 0 give.
    const std::vector<std::vector<std::string>> expected = {
        {"HL ", "HV ", "HB ", "HRC", "HS ", "HRB", "HRA"},
        {"HL ", "HV ", "HRC"},
        {"HL ", "HV ", "HB ", "HRB"},
        {"HL ", "HB "},
        {"HL ", "HB "},
        {"HL ", "HB ", "HRB"},
        {"HL ", "HB ", "HRB"},
        {"HL ", "HB "},
        {"HL ", "HB "},
        {"HL ", "HB "},
    };
    for (int material = 0; material < 10; ++material) {
        const auto& names = expected[static_cast<std::size_t>(material)];
        EXPECT_EQ(ScaleMap[static_cast<std::size_t>(material)][0],
                  static_cast<int16_t>(names.size() - 1));
        for (std::size_t code = 0; code < names.size(); ++code) {
            const DecodedSettings s = DecodeSettingsWord(Word(0, 0, 0, material, int(code)));
            EXPECT_EQ(ScaleText(s), names[code]) << "material " << material << " code " << code;
        }
    }
}

TEST(DateTextOfWord, FieldsAsStored) {
    const struct {
        int year, month, day;
        const char* text;
    } cases[] = {
        {9, 5, 17, "2009/05/17"}, {0, 1, 1, "2000/01/01"},   {127, 12, 31, "2127/12/31"},
        {8, 0, 17, "2008/00/17"}, {99, 15, 0, "2099/15/00"}, {100, 10, 9, "2100/10/09"},
    };
    for (const auto& c : cases) {
        const auto word = static_cast<uint16_t>(c.year | c.month << 7 | c.day << 11);
        EXPECT_EQ(DateText(word), c.text);
    }
}

TEST(PictogramForDirectionCode, OutsideTheCodesThereIsNone) {
    EXPECT_EQ(PictogramForDirection(-1), -1);
    EXPECT_EQ(PictogramForDirection(6), -1);
    EXPECT_EQ(DirectionPictogramResource(6), "");
    EXPECT_EQ(DirectionPictogramResource(-1), "");
}

}  // namespace
}  // namespace leeb
