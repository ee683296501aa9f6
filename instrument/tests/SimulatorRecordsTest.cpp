#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <set>

#include "MeasurementRecord.h"
#include "SimulatorRecords.h"

namespace leeb::test {
namespace {

TEST(SimulatorRecords, ParsesTheDocumentedForm) {
    const SimulatorRecordSet set = ParseSimulatorRecords(
        R"({"records": [{"count": 3, "readings": [452, 453, 0], "settings": 12288, "date": 2600,
                         "number": 2},
                        {"count": 5, "readings": [450], "settings": 0, "date": 1, "number": 1}],
            "single": 2})");
    ASSERT_EQ(set.Records.size(), 2u);
    EXPECT_EQ(set.Records[0].Number, 2);
    EXPECT_EQ(set.Records[0].Record.ImpactCount, 3);
    EXPECT_EQ(set.Records[0].Record.Readings[1], 453);
    EXPECT_EQ(set.Records[0].Record.SettingsWord, 12288);
    EXPECT_EQ(set.Records[0].Record.DateWord, 2600);
    EXPECT_EQ(set.Records[1].Number, 1);
    EXPECT_EQ(set.Records[1].Record.ImpactCount, 5);  // more than its readings
    EXPECT_EQ(set.Records[1].Record.Readings[1], 0);
    EXPECT_EQ(set.Single, 2);
    EXPECT_FALSE(ParseSimulatorRecords(R"({"records": []})").Single.has_value());
}

TEST(SimulatorRecords, RejectsMalformedDocumentsWithAReason) {
    struct Case {
        const char* json;
        const char* reason;
    };
    const Case cases[] = {
        {"{", "not valid JSON"},
        {"[]", "top level"},
        {R"({"recs": []})", "\"records\""},
        {R"({"records": [1]})", "record 1 is not an object"},
        {R"({"records": [{"readings": [], "settings": 0, "date": 0}]})", "no \"count\""},
        {R"({"records": [{"count": 1, "readings": [1.5], "settings": 0, "date": 0}]})",
         "reading 1"},
        {R"({"records": [{"count": 1, "readings": [-1], "settings": 0, "date": 0}]})", "reading 1"},
        {R"({"records": [{"count": 70000, "readings": [], "settings": 0, "date": 0}]})", "count"},
        {R"({"records": [{"count": 1, "readings": "450", "settings": 0, "date": 0}]})",
         "not a list"},
        {R"({"records": [{"count": 1, "readings": [], "settings": "0", "date": 0}]})", "settings"},
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0, "number": 0}]})",
         "number"},
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0},
                         {"count": 1, "readings": [], "settings": 0, "date": 0, "number": 1}]})",
         "appears twice"},
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0}], "single": 2})",
         "not among"},
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0}],
             "single": 5000})",
         "single"},
        // The tester is asked for records 1 to N: a number outside would leave one of them
        // empty.
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0, "number": 3},
                         {"count": 1, "readings": [], "settings": 0, "date": 0}]})",
         "record 1 has number 3, outside 1 to 2"},
        {R"({"records": [{"count": 1, "readings": [], "settings": 0, "date": 0, "number": 2}],
             "single": 2})",
         "outside 1 to 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            ParseSimulatorRecords(c.json);
            ADD_FAILURE() << "accepted";
        } catch (const SimulatorRecordsError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
    std::string tooMany = R"({"records": [{"count": 1, "settings": 0, "date": 0, "readings": [)";
    for (int k = 0; k < 33; ++k) {
        tooMany += k == 0 ? "1" : ",1";
    }
    tooMany += "]}]}";
    EXPECT_THROW(ParseSimulatorRecords(tooMany), SimulatorRecordsError);
}

TEST(SimulatorRecords, LoadNamesTheFileInItsErrors) {
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.json").toStdString();
    try {
        LoadSimulatorRecords(missing);
        ADD_FAILURE() << "accepted";
    } catch (const SimulatorRecordsError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos);
    }
    const std::string bad = dir.filePath("bad.json").toStdString();
    std::ofstream(bad) << R"({"records": 3})";
    EXPECT_THROW(LoadSimulatorRecords(bad), SimulatorRecordsError);
    const std::string good = dir.filePath("good.json").toStdString();
    std::ofstream(good) << R"({"records": [{"count": 1, "readings": [450], "settings": 0,
                                            "date": 0}]})";
    EXPECT_EQ(LoadSimulatorRecords(good).Records.size(), 1u);
}

TEST(SimulatorRecords, SampleSetCoversModesScalesDirectionsMaterialsAndDevices) {
    const SimulatorRecordSet set = SampleSimulatorRecords();
    EXPECT_GE(set.Records.size(), 12u);
    std::set<int> directions, materials, devices, numbers;
    bool strength = false, oneDecimal = false, wholeHardness = false;
    for (const SimulatedRecord& record : set.Records) {
        const DecodedSettings settings = DecodeSettingsWord(record.Record.SettingsWord);
        directions.insert(settings.ImpactDirection);
        materials.insert(settings.Material);
        devices.insert(settings.ImpactDevice);
        numbers.insert(record.Number);
        strength |= settings.StrengthMode == 1;
        oneDecimal |= OneDecimalScale(settings);
        wholeHardness |= settings.StrengthMode == 0 && !OneDecimalScale(settings);
        EXPECT_GE(record.Record.ImpactCount, 1);
        EXPECT_LE(record.Record.ImpactCount, 32);
    }
    EXPECT_EQ(directions, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_GE(materials.size(), 4u);
    EXPECT_GE(devices.size(), 4u);
    EXPECT_TRUE(strength && oneDecimal && wholeHardness);
    EXPECT_EQ(numbers.size(), set.Records.size());
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), static_cast<int>(set.Records.size()));
}

}  // namespace
}  // namespace leeb::test
