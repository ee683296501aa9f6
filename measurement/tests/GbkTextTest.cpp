#include <gtest/gtest.h>

#include "GbkText.h"
#include "MeasurementRecord.h"

namespace leeb {
namespace {

TEST(GbkLengthOf, ChineseCountsTwoBytesAsciiOne) {
    const struct {
        const char* text;
        std::size_t bytes;
    } cases[] = {
        {"", 0},
        {"HRC", 3},
        {"测试材料: ", 10},
        {"\u3000", 2},  // ideographic space
        {"\u3000HL\u3000", 6},
        {"45°向下", 8},  // the degree sign is a GBK character too
        {"σb", 3},       // Greek letters are in GBK
        {"里氏硬度计  V1.02", 17},
        {"超高强度钢", 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GbkLength(c.text), c.bytes) << c.text;
    }
}

TEST(GbkLengthOf, EveryTableTextIsTwoBytesPerCharacter) {
    for (const auto& table : {MaterialNames, StrengthMaterialNames}) {
        for (const char* name : table) {
            // UTF-8 takes three bytes for each of these characters, GBK two.
            EXPECT_EQ(GbkLength(name), std::string_view(name).size() / 3 * 2) << name;
        }
    }
}

}  // namespace
}  // namespace leeb
