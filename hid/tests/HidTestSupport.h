#pragma once
// A simulated bus with a controller on a hand-pumped GUI queue, and a recorder for the events.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ManualGuiDispatcher.h"
#include "SimulatedHidBus.h"
#include "THidDevice.h"
#include "THidDeviceController.h"

namespace leeb::test {

struct Report {
    THidDevice* device;
    uint8_t id;
    std::vector<uint8_t> data;
};

class Recorder {
  public:
    void Change(THidDeviceController*) { events.push_back("change"); }
    void Arrival(THidDevice* d) { events.push_back("arrival " + Name(d)); }
    void Removal(THidDevice* d) { events.push_back("removal " + Name(d)); }
    void Unplugged(THidDevice* d) { events.push_back("unplugged " + Name(d)); }
    void Data(THidDevice* d, uint8_t id, const uint8_t* data, uint16_t size) {
        reports.push_back({d, id, std::vector<uint8_t>(data, data + size)});
    }
    void OtherData(THidDevice* d, uint8_t id, const uint8_t* data, uint16_t size) {
        otherReports.push_back({d, id, std::vector<uint8_t>(data, data + size)});
    }
    void Error(THidDevice*, HidFailure failure) { errors.push_back(failure); }
    bool Enumerate(THidDevice* d, int32_t idx) {
        events.push_back("enumerate " + Name(d) + " " + std::to_string(idx));
        offered.push_back(d);
        return answer;
    }

    static std::string Name(THidDevice* d) { return std::to_string(d->HidAttributes().ProductID); }

    std::vector<std::string> events;
    std::vector<Report> reports;
    std::vector<Report> otherReports;
    std::vector<HidFailure> errors;
    std::vector<THidDevice*> offered;
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
        THidDeviceControllerSettings settings;
        settings.OnDeviceChange = THidNotifyEvent::Bind(&rec, &Recorder::Change);
        settings.OnArrival = THidPlugEvent::Bind(&rec, &Recorder::Arrival);
        settings.OnRemoval = THidPlugEvent::Bind(&rec, &Recorder::Removal);
        settings.OnDeviceUnplug = THidPlugEvent::Bind(&rec, &Recorder::Unplugged);
        settings.OnEnumerate = THidEnumerateEvent::Bind(&rec, &Recorder::Enumerate);
        settings.OnDeviceDataError = THidDataErrorEvent::Bind(&rec, &Recorder::Error);
        if (withDataHandler) {
            settings.OnDeviceData = THidDataEvent::Bind(&rec, &Recorder::Data);
        }
        controller = std::make_unique<THidDeviceController>(bus, gui, std::move(settings));
        gui->ProcessPending();
        rec.events.clear();
    }

    SimulatedDeviceId PlugTester(const std::string& identity, uint16_t product = 0x5678,
                                 uint16_t inputLength = 9, uint16_t outputLength = 9) {
        return bus->Plug(identity, 0x1234, product, 0x0102, inputLength, outputLength);
    }

    THidDevice* CheckOut(int idx) {
        THidDevice* device = nullptr;
        EXPECT_TRUE(controller->CheckOutAt(idx, device));
        return device;
    }

    bool WaitForReports(size_t count) {
        return gui->ProcessUntil([&] { return rec.reports.size() >= count; }, Patience);
    }

    std::shared_ptr<SimulatedHidBus> bus;
    std::shared_ptr<ManualGuiDispatcher> gui;
    std::unique_ptr<THidDeviceController> controller;
    Recorder rec;
};

}  // namespace leeb::test
