#include "UploadScenarios.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace leeb::test {
namespace {

constexpr uint16_t HL = 0;
constexpr uint16_t HRC = 3 << 12;

SimulatedRecord Record(int number, uint16_t settings, std::vector<uint16_t> readings,
                       std::optional<uint16_t> count = std::nullopt) {
    SimulatedRecord record;
    record.Number = number;
    record.Record.SettingsWord = settings;
    record.Record.DateWord = 2600;  // 2040/04/01
    record.Record.ImpactCount = count.value_or(static_cast<uint16_t>(readings.size()));
    std::copy(readings.begin(), readings.end(), record.Record.Readings.begin());
    return record;
}

SimulatorRecordSet Holding(std::vector<SimulatedRecord> records,
                           std::optional<int> single = std::nullopt,
                           std::optional<int> unplugAfter = std::nullopt) {
    SimulatorRecordSet set;
    set.Records = std::move(records);
    set.Single = single;
    set.UnplugAfterCommands = unplugAfter;
    return set;
}

// Three records with the reading substitutions: 0 is 888, the fourth above 1000 is 888, HRC
// has one decimal.
SimulatorRecordSet ThreeRecords(std::optional<int> unplugAfter = std::nullopt) {
    return Holding({Record(1, HL, {450, 0, 470, 1001}), Record(2, HRC, {452, 0}),
                    Record(3, HL, {500})},
                   std::nullopt, unplugAfter);
}
const char* const Line1 = "  4,2040/04/01,    0,  450,  888,  470,  888,";
const char* const Line2 = "  2,2040/04/01,12288,045.2,088.8,";
const char* const Line3 = "  1,2040/04/01,    0,  500,";

RecordLines Kept(int records) {
    RecordLines lines{std::string(RecordFileHeader), Line1, Line2, Line3};
    lines.resize(1 + static_cast<std::size_t>(records));
    return lines;
}

// Record 2 stores `count` impacts, of which the record holds at most its 32 readings
// (500, 0, 502, 503, ..., so that no chunk repeats the one before it; the 0 is kept as 888).
SimulatorRecordSet DamagedRecord2(uint16_t count) {
    std::vector<uint16_t> readings;
    for (uint16_t k = 0; k < 32; ++k) {
        readings.push_back(k == 1 ? 0 : static_cast<uint16_t>(500 + k));
    }
    return Holding({Record(1, HL, {450}), Record(2, HL, readings, count), Record(3, HL, {460})});
}
RecordLines DamagedRecord2Lines(uint16_t count) {
    std::string line = count == 0 ? "  0,2040/04/01,    0," : " 32,2040/04/01,    0,";
    for (int k = 0; count != 0 && k < 32; ++k) {
        line += "  " + std::to_string(k == 1 ? 888 : 500 + k) + ",";
    }
    return {std::string(RecordFileHeader), "  1,2040/04/01,    0,  450,", line,
            "  1,2040/04/01,    0,  460,"};
}

const std::string Header(RecordFileHeader);

// One read of a record is nine commands; the count request is command 1.
constexpr int Read = 9;

UploadScenario Scenario(std::string name, SimulatorRecordSet tester, RecordLines lines,
                        std::optional<int> commands, int named) {
    UploadScenario scenario;
    scenario.Name = std::move(name);
    scenario.Tester = std::move(tester);
    scenario.Lines = std::move(lines);
    scenario.Commands = commands;
    scenario.Named = named;
    return scenario;
}

UploadScenario Faulty(std::string name, SimulatorFault fault, int atCommand, RecordLines lines,
                      std::optional<int> commands, bool verified = false) {
    UploadScenario scenario =
        Scenario(std::move(name), ThreeRecords(), std::move(lines), commands, 3);
    scenario.Faults = {{fault, atCommand}};
    scenario.Verified = verified;
    return scenario;
}

UploadScenario Ending(UploadScenario scenario, UploadOutcome outcome,
                      std::optional<ReplyFault> fault = std::nullopt) {
    scenario.Outcome = outcome;
    scenario.Fault = fault;
    return scenario;
}

std::vector<UploadScenario> MakeScenarios() {
    using F = SimulatorFault;
    using O = UploadOutcome;
    std::vector<UploadScenario> s;

    s.push_back(Scenario("three records", ThreeRecords(), Kept(3), 1 + 3 * Read, 3));
    s.push_back(Scenario("a single record offered",
                         Holding({Record(1, HL, {450}), Record(2, HL, {600, 610})}, 2),
                         {Header, "  2,2040/04/01,    0,  600,  610,"}, 1 + Read, 1));
    s.push_back(Ending(Scenario("no records", Holding({}), {Header}, 1, 0), O::NoData));
    // A damaged record is read once more after stray reports drained, then kept.
    for (const uint16_t count : {uint16_t{40}, uint16_t{0}}) {
        UploadScenario damaged =
            Scenario("record 2 stores " + std::to_string(count) + " impacts",
                     DamagedRecord2(count), DamagedRecord2Lines(count), 1 + 4 * Read, 3);
        damaged.Damaged = {{2, count}};
        s.push_back(damaged);
    }
    s.push_back(Ending(Scenario("unplugged in record 1", ThreeRecords(1 + 4), Kept(0), 1 + 5, 3),
                       O::Unplugged));
    s.push_back(Ending(
        Scenario("unplugged in record 2", ThreeRecords(1 + Read + 4), Kept(1), 1 + Read + 5, 3),
        O::Unplugged));
    s.push_back(Ending(Faulty("no reply in record 2", F::NoReply, 1 + Read + 3, Kept(1),
                              1 + Read + 3),
                       O::TimedOut));
    UploadScenario shortCount = Ending(Faulty("short count reply", F::ShortReport, 1, Kept(0), 1),
                                       O::ProtocolError, ReplyFault::WrongLength);
    shortCount.Named = 0;
    s.push_back(shortCount);
    s.push_back(Ending(Faulty("short chunk in record 1", F::ShortReport, 1 + 8, Kept(0), 1 + 8),
                       O::ProtocolError, ReplyFault::WrongLength));
    s.push_back(Ending(Faulty("short chunk in record 2", F::ShortReport, 1 + Read + 2, Kept(1),
                              1 + Read + 2),
                       O::ProtocolError, ReplyFault::WrongLength));
    // Noise as the ninth chunk gives an impact count outside 1..32: record 1 is read again.
    s.push_back(Faulty("garbage as record 1's count", F::GarbageReply, 1 + Read, Kept(3),
                       1 + 4 * Read));
    s.push_back(Faulty("garbage past record 1's readings", F::GarbageReply, 5, Kept(3),
                       1 + 3 * Read));
    // Reports too many shift every later chunk; the count then comes from readings.
    s.push_back(Faulty("reports too many after the count", F::ExtraReports, 1, Kept(3),
                       std::nullopt));
    s.push_back(Faulty("reports too many after record 1", F::ExtraReports, 1 + Read, Kept(3),
                       std::nullopt));
    s.push_back(Faulty("reports too many after the last reply", F::ExtraReports, 1 + 3 * Read,
                       Kept(3), 1 + 3 * Read));
    // Record 1's first chunk again in place of its second: read again after a drain.
    s.push_back(Faulty("a chunk sent again", F::RepeatedReply, 3, Kept(3), 1 + 4 * Read));

    UploadScenario verified = Scenario("verified", ThreeRecords(), Kept(3), 1 + 6 * Read, 3);
    verified.Verified = true;
    s.push_back(verified);
    // The two reads differ: a third decides.
    s.push_back(Faulty("verified, zeros for record 2's first chunk", F::ZeroReply,
                       1 + 2 * Read + 1, Kept(3), 1 + 7 * Read, true));
    s.push_back(Faulty("verified, garbage in record 1's second read", F::GarbageReply,
                       1 + Read + 3, Kept(3), 1 + 7 * Read, true));
    UploadScenario verifiedDamaged = Scenario("verified, record 2 stores 40 impacts",
                                              DamagedRecord2(40), DamagedRecord2Lines(40),
                                              1 + 6 * Read, 3);
    verifiedDamaged.Verified = true;
    verifiedDamaged.Damaged = {{2, 40}};
    s.push_back(verifiedDamaged);
    return s;
}

std::string Describe(const std::vector<DamagedRecord>& damaged) {
    std::string text;
    for (const DamagedRecord& record : damaged) {
        text += std::to_string(record.Record) + ":" + std::to_string(record.ImpactCount) + " ";
    }
    return text;
}

}  // namespace

std::vector<UploadNoticeKind> UploadScenario::Notices() const {
    std::vector<UploadNoticeKind> notices;
    if (!Damaged.empty()) {
        notices.push_back(UploadNoticeKind::DamagedRecords);
    }
    if (Outcome == UploadOutcome::NoData) {
        notices.push_back(UploadNoticeKind::NoData);
    } else if (Outcome == UploadOutcome::TimedOut) {
        notices.push_back(UploadNoticeKind::NoReply);
    }
    return notices;
}

const std::vector<UploadScenario>& UploadScenarios() {
    static const std::vector<UploadScenario> scenarios = MakeScenarios();
    return scenarios;
}

void ApplyFaults(const UploadScenario& scenario, TesterSimulator& tester) {
    for (const auto& [fault, command] : scenario.Faults) {
        tester.InjectFault(fault, command);
    }
}

void ExpectScenario(const UploadScenario& scenario, const ScenarioRun& run) {
    EXPECT_EQ(run.Outcome, scenario.Outcome);
    EXPECT_EQ(run.Lines, scenario.Lines);
    if (run.Damaged) {
        EXPECT_EQ(Describe(*run.Damaged), Describe(scenario.Damaged));
    }
    if (run.Fault) {
        EXPECT_EQ(*run.Fault, scenario.Fault);
    }
    if (run.Commands && scenario.Commands) {
        EXPECT_EQ(*run.Commands, *scenario.Commands);
    }
    if (run.Named) {
        EXPECT_EQ(*run.Named, scenario.Named);
    }
    if (run.Notices) {
        EXPECT_EQ(*run.Notices, scenario.Notices());
    }
}

void PrintTo(const UploadScenario& scenario, std::ostream* out) {
    *out << scenario.Name;
}

std::string ScenarioTestName(const UploadScenario& scenario) {
    std::string name;
    bool upper = true;
    for (const char c : scenario.Name) {
        if (c == '\'') {
            continue;
        }
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

}  // namespace leeb::test
