#include <gtest/gtest.h>

#include "UploadProtocol.h"

namespace leeb::test {
namespace {

TEST(UploadProtocol, FirstReplyNamesTheRecordRange) {
    struct Case {
        uint8_t high, low;
        int first, last;
    };
    const Case cases[] = {
        {0x00, 0x03, 1, 3},       {0x00, 0x00, 1, 0},     {0x01, 0x02, 1, 258},
        {0xEF, 0xFF, 1, 0xEFFF},  {0xF2, 0x05, 517, 517}, {0xF0, 0x00, 0, 0},
        {0xFF, 0xFF, 4095, 4095},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.high) + " " + std::to_string(c.low));
        const RecordRange range = RecordRangeFromCountReply(c.high, c.low);
        EXPECT_EQ(range.First, c.first);
        EXPECT_EQ(range.Last, c.last);
    }
}

TEST(UploadProtocol, RecordImageIsLittleEndianWithTheFieldsAtTheirOffsets) {
    RecordImage image{};
    image[0] = 0x34;  // reading 1 = 0x1234
    image[1] = 0x12;
    image[62] = 0xFF;  // reading 32 = 0x00FF
    image[64] = 0x20;  // ImpactCount
    image[66] = 0x00;  // SettingsWord 0x3000
    image[67] = 0x30;
    image[68] = 0x28;  // DateWord 0x0A28
    image[69] = 0x0A;
    image[70] = 0x99;  // not part of the record
    const MeasurementRecord record = UnpackRecordImage(image);
    EXPECT_EQ(record.Readings[0], 0x1234);
    EXPECT_EQ(record.Readings[31], 0x00FF);
    EXPECT_EQ(record.ImpactCount, 32);
    EXPECT_EQ(record.SettingsWord, 0x3000);
    EXPECT_EQ(record.DateWord, 0x0A28);

    RecordImage packed = PackRecordImage(record);
    image[70] = 0;
    EXPECT_EQ(packed, image);
}

}  // namespace
}  // namespace leeb::test
