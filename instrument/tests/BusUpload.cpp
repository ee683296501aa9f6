#include "BusUpload.h"

#include <optional>

namespace leeb::test {

BusUpload::BusUpload() {
    HidDeviceControllerSettings settings;
    settings.OnDeviceData = HidDataEvent::Bind(this, &BusUpload::DeviceData);
    controller = std::make_unique<HidDeviceController>(bus, gui, std::move(settings));
    watcher = std::make_unique<ConnectionWatcher>(
        *controller, ConnectionWatcher::Callbacks{
                         [this](const std::string& text) { statusTexts.push_back(text); },
                         // The window leaves the read button to a running upload.
                         [this](bool enabled) {
                             if (!upload->Running()) {
                                 view.SetButtonEnabled(CommandButton::Read, enabled);
                             }
                         }});
    device = std::make_unique<HidUploadDevice>(*watcher);
    upload = std::make_unique<RecordUpload>(*device, view, lines, '.');
    device->SetUpload(upload.get());
    controller->SetOnEnumerate(
        HidEnumerateEvent::Bind(watcher.get(), &ConnectionWatcher::CheckOutEnumeratedDevice));
    controller->SetOnDeviceChange(HidNotifyEvent::Bind(this, &BusUpload::DeviceChange));
}

BusUpload::~BusUpload() {
    Close();
    gui->ProcessPending();
}

void BusUpload::DeviceChange(HidDeviceController*) {
    watcher->DevicesChanged();
    upload->ConnectionChanged();
}

void BusUpload::DeviceData(HidDevice*, uint8_t, const uint8_t*, uint16_t) {
    ++controllerLevelReports;
    view.ArmAutoStart();
}

void BusUpload::Settle() {
    gui->ProcessPending();
}

bool BusUpload::RunUpload() {
    using Clock = std::chrono::steady_clock;
    upload->Start();
    const Clock::time_point deadline = Clock::now() + Patience;
    std::optional<Clock::time_point> drainEnds;
    std::size_t timerStarts = view.TimerIntervals.size();
    Clock::time_point timerStarted = Clock::now();
    while (upload->Running()) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        if (!upload->Draining()) {
            drainEnds.reset();
            if (view.TimerIntervals.size() != timerStarts) {
                timerStarts = view.TimerIntervals.size();
                timerStarted = now;
            }
            if (replyTimeout && view.ReplyTimerRunning && now - timerStarted >= *replyTimeout) {
                upload->ReplyTimedOut();
                continue;
            }
            gui->WaitAndProcess(std::chrono::milliseconds(10));
            continue;
        }
        // The fake view runs no timer: the wait for stray reports lasts as long as the upload
        // asks, as the window's timer would, with the reports that come in the meantime.
        if (!drainEnds) {
            drainEnds = now + std::chrono::milliseconds(RecordUpload::DrainMs);
        }
        if (now >= *drainEnds) {
            drainEnds.reset();
            upload->ReplyTimedOut();
            continue;
        }
        gui->WaitAndProcess(std::chrono::ceil<std::chrono::milliseconds>(*drainEnds - now));
    }
    return true;
}

bool BusUpload::PumpUntil(const std::function<bool()>& done) {
    return gui->ProcessUntil(done, Patience);
}

void BusUpload::FireAutoStart() {
    if (view.Armed) {
        view.Armed = false;
        upload->Start();
    }
}

void BusUpload::Close() {
    if (!controller) {
        return;
    }
    upload->Abort();
    device->SetUpload(nullptr);
    controller->SetOnDeviceChange(nullptr);
    watcher->GiveBackDevices();
    controller.reset();
    watcher.reset();
    upload.reset();
    device.reset();
}

}  // namespace leeb::test
