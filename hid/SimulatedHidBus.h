#pragma once
// An in-process HID bus for tests, benchmarks and the demo mode. Devices are plugged and pulled
// by code; each may answer the output reports written to it by queueing input reports, after a
// delay if it likes. Thread-safe: reads are waited for on condition variables, never polled.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HidPlatform.h"

namespace leeb {

using SimulatedDeviceId = uint32_t;

class SimulatedHidBus : public HidPlatform {
  public:
    // Called on the writing thread for every output report written to the device (byte 0 the
    // report ID), outside the bus's lock: it may call QueueInputReport, Unplug and the like.
    using ReplyBehaviour = std::function<void(SimulatedHidBus& bus, SimulatedDeviceId device,
                                              const std::vector<uint8_t>& outputReport)>;

    SimulatedHidBus();
    ~SimulatedHidBus() override;

    // Plugs a device in and raises the change notification. Report lengths count the report-ID
    // byte, as the platform reports them. An identity may be reused after an unplug.
    SimulatedDeviceId Plug(std::string identity, uint16_t vendorId, uint16_t productId,
                           uint16_t version, uint16_t inputReportLength,
                           uint16_t outputReportLength, ReplyBehaviour reply = {});
    // Pulls it out: its handles fail from now on and the change notification is raised.
    void Unplug(SimulatedDeviceId device);
    bool IsPlugged(SimulatedDeviceId device) const;
    // The device then opens query-only: it can be identified but not read or written.
    void SetReadWriteRefused(SimulatedDeviceId device, bool refused);
    void SetReplyBehaviour(SimulatedDeviceId device, ReplyBehaviour reply);
    // The next writes fail with an I/O error.
    void SetWriteFails(SimulatedDeviceId device, bool fails);
    // Makes Bind fail, as on a system without a usable HID layer.
    void SetAvailable(bool available);

    // One input report (byte 0 the report ID; longer than the reader's buffer: cut to it),
    // readable after `delay`. Reports are read in the order they become due.
    void QueueInputReport(SimulatedDeviceId device, std::vector<uint8_t> report,
                          std::chrono::microseconds delay = std::chrono::microseconds{0});
    // A change notification without a change, as systems send for unrelated devices.
    void RaiseChange();

    // For tests.
    std::vector<std::vector<uint8_t>> WrittenReports(SimulatedDeviceId device) const;
    int OpenHandleCount(SimulatedDeviceId device) const;
    int ReadWriteOpenCount(SimulatedDeviceId device) const;  // successful read/write opens
    int OutstandingReads(SimulatedDeviceId device) const;
    int QueuedInputReports(SimulatedDeviceId device) const;
    // Enumerations, opens and queries made while not bound (before Bind, after Release).
    int CallsWhileUnbound() const;

    // HidPlatform
    bool Bind() override;
    void Release() override;
    std::vector<HidInterfaceEntry> Enumerate() override;
    std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                     bool& readWriteGranted) override;
    std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) override;
    void StartChangeNotification(std::function<void()> changed) override;
    void StopChangeNotification() override;

    struct State;  // shared with open handles, which may outlive the bus

  private:
    void Notify();
    std::shared_ptr<State> state_;
};

}  // namespace leeb
