#pragma once
// A hardness tester in software: answers the upload's commands from a set of raw records, on
// the simulated HID bus or through any transport that hands it output reports.
//
// On the bus it is vendor 0x1234, product 0x5678, with input and output reports of 65 bytes
// (report ID 0 and 64 data bytes, like a full-speed HID device). Replies go out after a
// configurable delay, timed to a few microseconds; faults are injected on demand.
//
// Thread-safe: commands arrive on the writing thread, delayed replies leave from a worker.
// The simulator must outlive nothing that refers to it: destroying it unplugs it first.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "PreciseScheduler.h"
#include "SimulatedHidBus.h"
#include "SimulatorRecords.h"
#include "TesterProtocol.h"

namespace leeb {

enum class SimulatorFault {
    NoReply,         // the command is not answered
    GarbageReply,    // answered with 64 bytes of noise instead
    ZeroReply,       // answered with 64 zero bytes instead
    RepeatedReply,   // answered with the report sent before, again (slow firmware does that)
    ShortReport,     // answered with a report of the ID and only 3 data bytes
    ExtraReports,    // answered, then followed by unsolicited reports
    AutoStartFirst,  // the "AUTO" frame of the transfer key, then the answer
};

// What one output report makes the tester do.
struct SimulatorResponse {
    // Input reports to send, in order, each beginning with its report ID.
    std::vector<std::vector<uint8_t>> Reports;
    // The tester pulls itself out instead of answering.
    bool Unplug = false;
};

class TesterSimulator {
  public:
    static constexpr uint16_t VendorId = 0x1234;
    static constexpr uint16_t ProductId = 0x5678;
    static constexpr uint16_t VersionNumber = 0x0102;
    static constexpr uint16_t ReportLength = 65;

    explicit TesterSimulator(const SimulatorRecordSet& records = SampleSimulatorRecords());
    ~TesterSimulator();
    TesterSimulator(const TesterSimulator&) = delete;
    TesterSimulator& operator=(const TesterSimulator&) = delete;

    // The answer to one output report (byte 0 the report ID), faults applied. Counts the
    // command. For transports other than the simulated bus.
    SimulatorResponse Respond(const uint8_t* report, std::size_t size);
    // The "AUTO" frame as an input report.
    static std::vector<uint8_t> AutoStartReport();

    // Command numbers count from 1, over the simulator's whole life.
    void InjectFault(SimulatorFault fault, int atCommand, int extraReports = 2);
    // Commands 1..n are handled normally; command n + 1 unplugs the tester unanswered.
    void UnplugAfterCommands(int commands);
    void ClearFaults();
    int CommandsReceived() const;

    // The simulated bus.
    SimulatedDeviceId PlugInto(std::shared_ptr<SimulatedHidBus> bus,
                               std::string identity = "leebdesk-simulated-tester");
    void Unplug();
    bool Plugged() const;
    std::optional<SimulatedDeviceId> DeviceId() const;
    // Time from a command's write to its reply becoming readable; 0 answers at once.
    void SetReplyDelay(std::chrono::microseconds delay);
    // Sends the "AUTO" frame now, as the tester's own transfer key does.
    void SendAutoStart();
    // How late the delayed replies left.
    PreciseScheduler::Lateness ReplyLateness() const { return scheduler_.Measured(); }

  private:
    void CommandWritten(SimulatedHidBus& bus, SimulatedDeviceId device,
                        const std::vector<uint8_t>& report);
    void Deliver(SimulatedDeviceId device, const SimulatorResponse& response);
    // Keeps the last report of a response for RepeatedReply (mutex_ held).
    void Remember(const SimulatorResponse& response);

    struct Injected {
        SimulatorFault Fault;
        int ExtraReports;
    };

    mutable std::mutex mutex_;
    TesterProtocol protocol_;
    std::map<int, Injected> faults_;
    std::optional<int> unplugAfter_;
    int commands_ = 0;
    std::chrono::microseconds delay_{0};
    uint32_t noise_ = 0x2545F491;
    std::vector<uint8_t> lastReport_;  // the last input report sent

    std::shared_ptr<SimulatedHidBus> bus_;
    std::optional<SimulatedDeviceId> device_;
    // Declared last: its worker stops before the members its calls use go away.
    PreciseScheduler scheduler_;
};

}  // namespace leeb
