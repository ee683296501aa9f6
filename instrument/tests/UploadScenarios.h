#pragma once
// Upload scenarios shared by every level that runs an upload: the state machine fed directly,
// the simulated bus with its read threads, the headless upload, the window and the command
// line. Each level runs the table through its own transport and reports what came out; the
// expectations are the same everywhere. What only one level can show (buttons, wording, bytes
// on the wire) stays in that level's own tests.

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "RecordFile.h"
#include "TesterSimulator.h"
#include "UploadNotice.h"

namespace leeb::test {

struct UploadScenario {
    std::string Name;
    // What the tester holds (UnplugAfterCommands included) and the faults it makes, each at a
    // command number counted from 1 (the count request).
    SimulatorRecordSet Tester;
    std::vector<std::pair<SimulatorFault, int>> Faults;
    bool Verified = false;

    // Expected, with '.' as the decimal separator.
    UploadOutcome Outcome = UploadOutcome::Complete;
    RecordLines Lines;  // the header and every record kept
    std::vector<DamagedRecord> Damaged;
    std::optional<ReplyFault> Fault;  // with ProtocolError
    // Commands the tester received; unset where reports that arrive in a burst make it depend
    // on how fast the level takes them.
    std::optional<int> Commands;
    int Named = 0;  // records the count reply named

    // Whether the command line's simulator file can state it: no injected faults.
    bool FileCanStateIt() const { return Faults.empty(); }
    // The notices the user must get: no reply, no data, damaged records.
    std::vector<UploadNoticeKind> Notices() const;
};

// What a level saw; a level that cannot tell a part leaves it unset.
struct ScenarioRun {
    UploadOutcome Outcome = UploadOutcome::None;
    RecordLines Lines;
    std::optional<std::vector<DamagedRecord>> Damaged;
    std::optional<std::optional<ReplyFault>> Fault;
    std::optional<int> Commands;
    std::optional<int> Named;
    std::optional<std::vector<UploadNoticeKind>> Notices;
};

const std::vector<UploadScenario>& UploadScenarios();

// A tester made to act out the scenario, for transports that plug it in themselves.
void ApplyFaults(const UploadScenario& scenario, TesterSimulator& tester);

// Compares what a level saw with the scenario (gtest expectations).
void ExpectScenario(const UploadScenario& scenario, const ScenarioRun& run);

// For INSTANTIATE_TEST_SUITE_P: the scenario's name as a test name.
std::string ScenarioTestName(const UploadScenario& scenario);
// GoogleTest prints a scenario by its name.
void PrintTo(const UploadScenario& scenario, std::ostream* out);

}  // namespace leeb::test
