// Report lengths from hand-written report descriptors.
#include <gtest/gtest.h>

#include <vector>

#include "ReportDescriptor.h"

namespace leeb::test {
namespace {

struct Case {
    const char* name;
    std::vector<uint8_t> descriptor;
    uint16_t input;
    uint16_t output;
    bool numbered;
};

// Vendor page, 8-bit fields: Report Size 8 = 0x75 0x08, Report Count n = 0x95 n,
// Input = 0x81 0x02, Output = 0x91 0x02, Report ID n = 0x85 n.
const Case cases[] = {
    {"unnumbered 8 in, 8 out",
     {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x08,
      0x09, 0x01, 0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0},
     9,
     9,
     false},
    {"numbered: the largest report of each kind counts, plus the ID byte",
     {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x85, 0x01, 0x95, 0x08,
      0x81, 0x02, 0x95, 0x04, 0x91, 0x02, 0x85, 0x02, 0x95, 0x10, 0x81, 0x02, 0xC0},
     17,
     5,
     true},
    {"bits of one report add up before rounding to bytes",
     {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75,
      0x05, 0x95, 0x01, 0x81, 0x03, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0},
     4,
     0,
     false},
    {"push and pop restore the field size",
     {0x06, 0x00, 0xFF, 0xA1, 0x01, 0x75, 0x08, 0xA4, 0x75, 0x10,
      0x95, 0x01, 0x81, 0x02, 0xB4, 0x95, 0x02, 0x81, 0x02, 0xC0},
     5,
     0,
     false},
    {"a long item is skipped whole",
     {0xFE, 0x02, 0x10, 0x81, 0x91, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02},
     4,
     0,
     false},
    {"four-byte data",
     {0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x02, 0x00, 0x00, 0x00, 0x91, 0x02},
     0,
     3,
     false},
    {"empty", {}, 0, 0, false},
};

TEST(ReportDescriptorTest, LengthsCountTheReportIdByte) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto layout = ParseReportDescriptor(c.descriptor.data(), c.descriptor.size());
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->InputReportByteLength, c.input);
        EXPECT_EQ(layout->OutputReportByteLength, c.output);
        EXPECT_EQ(layout->NumberedReports, c.numbered);
    }
}

TEST(ReportDescriptorTest, FirstCollectionGivesUsagePageAndUsage) {
    const std::vector<uint8_t> d = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};
    const auto layout = ParseReportDescriptor(d.data(), d.size());
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->UsagePage, 0xFF00);
    EXPECT_EQ(layout->Usage, 1);
}

TEST(ReportDescriptorTest, ItemCutOffIsRejectedWithoutReadingPastTheEnd) {
    const std::vector<std::vector<uint8_t>> cutOff = {
        {0x75},                    // size 1, no data byte
        {0x75, 0x08, 0x97, 0x01},  // four data bytes announced, one there
        {0xFE, 0x05, 0x10, 0x00},  // long item longer than the rest
        {0xFE},
    };
    for (const auto& d : cutOff) {
        // Copied to an exact-size heap block so AddressSanitizer sees any overread.
        std::vector<uint8_t> exact(d);
        EXPECT_FALSE(ParseReportDescriptor(exact.data(), exact.size()).has_value());
    }
}

}  // namespace
}  // namespace leeb::test
