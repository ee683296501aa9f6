#include "TesterSimulator.h"

#include <algorithm>

namespace leeb {
namespace {

constexpr uint8_t ReportId = 0;
constexpr std::size_t ShortReportDataBytes = 3;
constexpr uint8_t UnsolicitedFill = 0xEE;

std::vector<uint8_t> InputReport(const TesterProtocol::Reply& reply) {
    std::vector<uint8_t> report(TesterSimulator::ReportLength, 0);
    report[0] = ReportId;
    std::copy(reply.begin(), reply.end(), report.begin() + 1);
    return report;
}

}  // namespace

TesterSimulator::TesterSimulator(const SimulatorRecordSet& records)
    : protocol_(records), unplugAfter_(records.UnplugAfterCommands) {}

TesterSimulator::~TesterSimulator() {
    Unplug();
}

SimulatorResponse TesterSimulator::Respond(const uint8_t* report, std::size_t size) {
    std::lock_guard lock(mutex_);
    ++commands_;
    SimulatorResponse response;
    if (unplugAfter_ && commands_ > *unplugAfter_) {
        response.Unplug = true;
        return response;
    }
    const std::optional<TesterProtocol::Reply> reply = protocol_.Answer(report, size);
    const auto fault = faults_.find(commands_);
    if (fault == faults_.end()) {
        if (reply) {
            response.Reports.push_back(InputReport(*reply));
        }
        Remember(response);
        return response;
    }
    switch (fault->second.Fault) {
        case SimulatorFault::NoReply:
            break;
        case SimulatorFault::GarbageReply: {
            std::vector<uint8_t> garbage(ReportLength, 0);
            for (std::size_t i = 1; i < garbage.size(); ++i) {
                noise_ ^= noise_ << 13;  // xorshift32
                noise_ ^= noise_ >> 17;
                noise_ ^= noise_ << 5;
                garbage[i] = static_cast<uint8_t>(noise_);
            }
            response.Reports.push_back(std::move(garbage));
            break;
        }
        case SimulatorFault::ZeroReply:
            response.Reports.emplace_back(ReportLength, 0);
            break;
        case SimulatorFault::RepeatedReply:
            if (!lastReport_.empty()) {
                response.Reports.push_back(lastReport_);
            }
            break;
        case SimulatorFault::ShortReport: {
            std::vector<uint8_t> full = InputReport(reply.value_or(TesterProtocol::Reply{}));
            full.resize(1 + ShortReportDataBytes);
            response.Reports.push_back(std::move(full));
            break;
        }
        case SimulatorFault::AutoStartFirst:
            response.Reports.push_back(AutoStartReport());
            if (reply) {
                response.Reports.push_back(InputReport(*reply));
            }
            break;
        case SimulatorFault::ExtraReports:
            if (reply) {
                response.Reports.push_back(InputReport(*reply));
            }
            for (int i = 0; i < fault->second.ExtraReports; ++i) {
                std::vector<uint8_t> extra(ReportLength, UnsolicitedFill);
                extra[0] = ReportId;
                response.Reports.push_back(std::move(extra));
            }
            break;
    }
    Remember(response);
    return response;
}

void TesterSimulator::Remember(const SimulatorResponse& response) {
    if (!response.Reports.empty()) {
        lastReport_ = response.Reports.back();
    }
}

std::vector<uint8_t> TesterSimulator::AutoStartReport() {
    return InputReport(TesterProtocol::AutoStartReply());
}

void TesterSimulator::InjectFault(SimulatorFault fault, int atCommand, int extraReports) {
    std::lock_guard lock(mutex_);
    faults_[atCommand] = {fault, extraReports};
}

void TesterSimulator::UnplugAfterCommands(int commands) {
    std::lock_guard lock(mutex_);
    unplugAfter_ = commands;
}

void TesterSimulator::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
    unplugAfter_.reset();
}

int TesterSimulator::CommandsReceived() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

SimulatedDeviceId TesterSimulator::PlugInto(std::shared_ptr<SimulatedHidBus> bus,
                                            std::string identity) {
    Unplug();
    const SimulatedDeviceId id = bus->Plug(
        std::move(identity), VendorId, ProductId, VersionNumber, ReportLength, ReportLength,
        [this](SimulatedHidBus& on, SimulatedDeviceId device, const std::vector<uint8_t>& report) {
            CommandWritten(on, device, report);
        });
    std::lock_guard lock(mutex_);
    bus_ = std::move(bus);
    device_ = id;
    return id;
}

void TesterSimulator::Unplug() {
    std::shared_ptr<SimulatedHidBus> bus;
    std::optional<SimulatedDeviceId> device;
    {
        std::lock_guard lock(mutex_);
        bus = std::move(bus_);
        device = device_;
        bus_.reset();
        device_.reset();
    }
    scheduler_.Clear();
    if (bus && device) {
        bus->SetReplyBehaviour(*device, {});
        bus->Unplug(*device);
    }
}

bool TesterSimulator::Plugged() const {
    std::lock_guard lock(mutex_);
    return device_.has_value();
}

std::optional<SimulatedDeviceId> TesterSimulator::DeviceId() const {
    std::lock_guard lock(mutex_);
    return device_;
}

void TesterSimulator::SetReplyDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}

void TesterSimulator::SendAutoStart() {
    std::shared_ptr<SimulatedHidBus> bus;
    std::optional<SimulatedDeviceId> device;
    {
        std::lock_guard lock(mutex_);
        bus = bus_;
        device = device_;
    }
    if (bus && device) {
        bus->QueueInputReport(*device, AutoStartReport());
    }
}

void TesterSimulator::CommandWritten(SimulatedHidBus& bus, SimulatedDeviceId device,
                                     const std::vector<uint8_t>& report) {
    const auto written = PreciseScheduler::Clock::now();
    SimulatorResponse response = Respond(report.data(), report.size());
    std::chrono::microseconds delay;
    {
        std::lock_guard lock(mutex_);
        delay = delay_;
    }
    if (response.Unplug) {
        // Not from inside the write: the write itself went out before the plug was pulled.
        scheduler_.Schedule(written, [this, device] {
            if (DeviceId() == device) {
                Unplug();
            }
        });
        return;
    }
    if (delay.count() == 0) {
        for (std::vector<uint8_t>& input : response.Reports) {
            bus.QueueInputReport(device, std::move(input));
        }
        return;
    }
    scheduler_.Schedule(written + delay, [this, device, response = std::move(response)] {
        Deliver(device, response);
    });
}

void TesterSimulator::Deliver(SimulatedDeviceId device, const SimulatorResponse& response) {
    std::shared_ptr<SimulatedHidBus> bus;
    {
        std::lock_guard lock(mutex_);
        if (device_ != device) {
            return;
        }
        bus = bus_;
    }
    for (const std::vector<uint8_t>& input : response.Reports) {
        bus->QueueInputReport(device, input);
    }
}

}  // namespace leeb
