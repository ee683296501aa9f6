#pragma once
// A simulated bus with a controller on a hand-pumped GUI queue, and a recorder for the events.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "HidDevice.h"
#include "HidDeviceController.h"

namespace leeb::test {

struct Report {
    HidDevice* device;
    uint8_t id;
    std::vector<uint8_t> data;
};

class Recorder {
  public:
    void Change(HidDeviceController*) { events.push_back("change"); }
    void Arrival(HidDevice* d) { events.push_back("arrival " + Name(d)); }
    void Removal(HidDevice* d) { events.push_back("removal " + Name(d)); }
    void Unplugged(HidDevice* d) { events.push_back("unplugged " + Name(d)); }
    void Data(HidDevice* d, uint8_t id, const uint8_t* data, uint16_t size) {
        reports.push_back({d, id, std::vector<uint8_t>(data, data + size)});
    }
    void OtherData(HidDevice* d, uint8_t id, const uint8_t* data, uint16_t size) {
        otherReports.push_back({d, id, std::vector<uint8_t>(data, data + size)});
    }
    void Error(HidDevice*, HidFailure failure) { errors.push_back(failure); }
    bool Enumerate(HidDevice* d, int32_t idx) {
        events.push_back("enumerate " + Name(d) + " " + std::to_string(idx));
        offered.push_back(d);
        return answer;
    }

    static std::string Name(HidDevice* d) { return std::to_string(d->HidAttributes().ProductID); }

    std::vector<std::string> events;
    std::vector<Report> reports;
    std::vector<Report> otherReports;
    std::vector<HidFailure> errors;
    std::vector<HidDevice*> offered;
    bool answer = true;
};

class SimulatedControllerTest : public ::testing::Test {
  protected:
    static constexpr std::chrono::milliseconds Patience{3000};

    void SetUp() override {
        bus = std::make_shared<SimulatedHidBus>();
        gui = std::make_shared<ManualGuiDispatcher>();
    }
    void TearDown() override {
        controller.reset();
        gui->ProcessPending();
    }

    // A controller with the recorder's change, arrival, removal and unplug handlers; the
    // start-up notification is dispatched and the log cleared.
    void Create(bool withDataHandler = true) {
        HidDeviceControllerSettings settings;
        settings.OnDeviceChange = HidNotifyEvent::Bind(&rec, &Recorder::Change);
        settings.OnArrival = HidPlugEvent::Bind(&rec, &Recorder::Arrival);
        settings.OnRemoval = HidPlugEvent::Bind(&rec, &Recorder::Removal);
        settings.OnDeviceUnplug = HidPlugEvent::Bind(&rec, &Recorder::Unplugged);
        settings.OnEnumerate = HidEnumerateEvent::Bind(&rec, &Recorder::Enumerate);
        settings.OnDeviceDataError = HidDataErrorEvent::Bind(&rec, &Recorder::Error);
        if (withDataHandler) {
            settings.OnDeviceData = HidDataEvent::Bind(&rec, &Recorder::Data);
        }
        controller = std::make_unique<HidDeviceController>(bus, gui, std::move(settings));
        gui->ProcessPending();
        rec.events.clear();
    }

    SimulatedDeviceId PlugTester(const std::string& identity, uint16_t product = 0x5678,
                                 uint16_t inputLength = 9, uint16_t outputLength = 9) {
        return bus->Plug(identity, 0x1234, product, 0x0102, inputLength, outputLength);
    }

    HidDevice* CheckOut(int idx) {
        HidDevice* device = nullptr;
        EXPECT_TRUE(controller->CheckOutAt(idx, device));
        return device;
    }

    bool WaitForReports(size_t count) {
        return gui->ProcessUntil([&] { return rec.reports.size() >= count; }, Patience);
    }

    std::shared_ptr<SimulatedHidBus> bus;
    std::shared_ptr<ManualGuiDispatcher> gui;
    std::unique_ptr<HidDeviceController> controller;
    Recorder rec;
};

}  // namespace leeb::test
