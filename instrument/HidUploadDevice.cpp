#include "HidUploadDevice.h"

#include "ConnectionWatcher.h"
#include "RecordUpload.h"
#include "HidDevice.h"

namespace leeb {
namespace {

// Identity of the upload's input-report handler: one function, whatever upload it serves.
const char UploadHandlerTag = 0;

}  // namespace

HidUploadDevice::HidUploadDevice(const ConnectionWatcher& watcher)
    : watcher_(watcher), target_(std::make_shared<Target>()) {
    target_->Watcher = &watcher;
}

HidUploadDevice::~HidUploadDevice() {
    target_->Upload = nullptr;
}

void HidUploadDevice::SetUpload(RecordUpload* upload) {
    target_->Upload = upload;
}

HidDevice* HidUploadDevice::Active() const {
    return watcher_.DeviceConnected() ? watcher_.ActiveDevice() : nullptr;
}

bool HidUploadDevice::DeviceConnected() const {
    return Active() != nullptr;
}

std::size_t HidUploadDevice::OutputReportByteLength() const {
    HidDevice* device = Active();
    return device == nullptr ? 0 : device->Capabilities().OutputReportByteLength;
}

std::size_t HidUploadDevice::InputReportByteLength() const {
    HidDevice* device = Active();
    return device == nullptr ? 0 : device->Capabilities().InputReportByteLength;
}

bool HidUploadDevice::WriteReport(const std::vector<uint8_t>& report) {
    HidDevice* device = Active();
    if (device == nullptr) {
        return false;
    }
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(report.size());
    return device->WriteReport(report.data(), count, written) && written == count;
}

void HidUploadDevice::AssignUploadHandler() {
    HidDevice* device = Active();
    if (device == nullptr) {
        return;
    }
    const std::shared_ptr<Target> target = target_;
    device->SetOnInputReport(HidDataEvent::Tagged(
        &UploadHandlerTag,
        [target](HidDevice* from, uint8_t reportId, const uint8_t* data, uint16_t size) {
            if (target->Upload == nullptr) {
                return;
            }
            // The handler stays with every tester it was given to; a second tester must not
            // answer for the active one. While the watcher runs there is no active device, and
            // a reply handed over then is the tester's own.
            HidDevice* active = target->Watcher->ActiveDevice();
            if (active != nullptr && active != from) {
                return;
            }
            target->Upload->UploadDataReceived(reportId, data, size);
        },
        this));
}

}  // namespace leeb
