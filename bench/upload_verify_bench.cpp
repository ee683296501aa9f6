// The verified upload (leebdesk-cli upload --verify) against the plain one, on the command
// line's own path: the headless upload over the simulated bus and the tester simulator.
//
//  1. Time: 100 records with a 1 ms reply delay (a tester's turn-around), and the built-in
//     14 records with none; plain and verified runs alternate, so a loaded machine slows both
//     alike. Prints the mean of each and their ratio.
//  2. Fault sweep: the built-in 14 records, one fault at each command of the upload (every
//     command of the verified upload with --verify), for a garbage, an all-zero and a replayed
//     reply. Each run ends complete and right, stopped with an error the user sees, or
//     complete with a wrong record: the silent faults, which the verified upload must not let
//     through.
//
// Usage: upload_verify_bench [ROUNDS]   (default 3)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "HeadlessUpload.h"
#include "HidDeviceController.h"
#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "SimulatorRecords.h"
#include "TesterSimulator.h"

namespace {

using namespace leeb;
using Clock = std::chrono::steady_clock;

SimulatorRecordSet ManyRecords(int count) {
    SimulatorRecordSet set;
    for (int n = 1; n <= count; ++n) {
        SimulatedRecord record;
        record.Number = n;
        record.Record.ImpactCount = 10;
        for (std::size_t k = 0; k < 10; ++k) {
            record.Record.Readings[k] = static_cast<uint16_t>(400 + (n * 7 + k) % 200);
        }
        record.Record.DateWord = 2600;
        set.Records.push_back(record);
    }
    return set;
}

struct Outcome {
    HeadlessUploadResult Result;
    int Commands = 0;
    double Seconds = 0;
};

Outcome Upload(const SimulatorRecordSet& records, bool verified,
               std::chrono::microseconds delay = std::chrono::microseconds(0),
               const SimulatorFault* fault = nullptr, int atCommand = 0) {
    auto bus = std::make_shared<SimulatedHidBus>();
    auto gui = std::make_shared<ManualGuiDispatcher>();
    TesterSimulator tester(records);
    tester.SetReplyDelay(delay);
    if (fault != nullptr) {
        tester.InjectFault(*fault, atCommand);
    }
    tester.PlugInto(bus);
    Outcome outcome;
    {
        HidDeviceController controller(bus, gui);
        HeadlessUploadOptions options;
        options.Verified = verified;
        const auto start = Clock::now();
        outcome.Result = HeadlessUpload(controller, *gui, options);
        outcome.Seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    gui->ProcessPending();
    outcome.Commands = tester.CommandsReceived();
    return outcome;
}

void Time(const char* name, const SimulatorRecordSet& records, std::chrono::microseconds delay,
          int rounds) {
    double plain = 0;
    double verified = 0;
    for (int round = 0; round < rounds; ++round) {
        plain += Upload(records, false, delay).Seconds;
        verified += Upload(records, true, delay).Seconds;
    }
    plain /= rounds;
    verified /= rounds;
    std::printf("%-32s plain %.3f s, --verify %.3f s: %.2fx\n", name, plain, verified,
                verified / plain);
}

void Sweep(bool verified) {
    const SimulatorRecordSet records = SampleSimulatorRecords();
    const Outcome clean = Upload(records, verified);
    const struct {
        const char* Name;
        SimulatorFault Fault;
    } kinds[] = {{"garbage", SimulatorFault::GarbageReply},
                 {"all-zero", SimulatorFault::ZeroReply},
                 {"replayed", SimulatorFault::RepeatedReply}};
    std::printf("fault sweep%s: %d records, a fault at each of %d commands\n",
                verified ? " with --verify" : "", clean.Result.RecordsRead(), clean.Commands);
    int silentTotal = 0;
    for (const auto& kind : kinds) {
        int right = 0;
        int stopped = 0;
        int silentRuns = 0;
        int silentRecords = 0;
        for (int command = 1; command <= clean.Commands; ++command) {
            const Outcome run = Upload(records, verified, std::chrono::microseconds(0),
                                       &kind.Fault, command);
            if (run.Result.Outcome != UploadOutcome::Complete) {
                ++stopped;
                continue;
            }
            if (run.Result.Lines == clean.Result.Lines) {
                ++right;
                continue;
            }
            ++silentRuns;
            for (std::size_t line = 1; line < clean.Result.Lines.size(); ++line) {
                if (line >= run.Result.Lines.size() ||
                    run.Result.Lines[line] != clean.Result.Lines[line]) {
                    ++silentRecords;
                }
            }
        }
        silentTotal += silentRuns;
        std::printf("  %-9s %3d right, %3d stopped with an error, %3d silently wrong (%d records)\n",
                    kind.Name, right, stopped, silentRuns, silentRecords);
    }
    std::printf("  silently wrong runs: %d\n", silentTotal);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    Time("100 records, 1 ms reply delay:", ManyRecords(100), std::chrono::microseconds(1000),
         rounds);
    Time("14 records, no delay:", SampleSimulatorRecords(), std::chrono::microseconds(0), rounds);
    Sweep(false);
    Sweep(true);
    return 0;
}
