// Archived records into the trend, and the filters worded for the page.
#include <gtest/gtest.h>

#include "ArchiveTrend.h"

namespace leeb {
namespace {

TEST(ArchiveTrend, RecordsKeepIdNumberDateAndReadings) {
    ArchivedRecord archived;
    archived.Id = 77;
    archived.TesterNumber = 5;
    archived.DateText = "2025/03/14";
    archived.SettingsWord = 0x3000;
    archived.Readings = {45.2, 45.3};
    const TrendRecord record = TrendRecordOf(archived);
    EXPECT_EQ(record.Id, 77);
    EXPECT_EQ(record.Number, 5);
    EXPECT_EQ(record.DateText, "2025/03/14");
    EXPECT_EQ(record.SettingsWord, 0x3000);
    EXPECT_EQ(record.Readings, (std::vector<double>{45.2, 45.3}));
}

TEST(ArchiveTrend, FilterTextsNameOnlyWhatIsSet) {
    EXPECT_TRUE(ArchiveFilterTexts({}).isEmpty());
    ArchiveFilter filter;
    filter.From = "2025-03-01";
    filter.Material = "钢和铸钢";
    filter.Scale = "HRC";
    filter.Lot = "H2291";
    filter.Verdict = ArchiveVerdict::Fail;
    EXPECT_EQ(ArchiveFilterTexts(filter),
              (QStringList{"日期 2025-03-01 至 …", "材料 钢和铸钢", "硬度制 HRC", "批号 H2291",
                           "判定 不合格"}));
}

}  // namespace
}  // namespace leeb
