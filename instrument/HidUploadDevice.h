#pragma once
// The upload's view of the tester: the connection watcher's ActiveDevice, written to with the
// length of its output report, delivering its input reports to the upload.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "UploadView.h"

namespace leeb {

class ConnectionWatcher;
class RecordUpload;
class HidDevice;

class HidUploadDevice : public UploadDevice {
  public:
    explicit HidUploadDevice(const ConnectionWatcher& watcher);
    // Devices that still carry the upload's handler deliver to nobody from now on. The
    // watcher must outlive this object or be gone only after SetUpload(nullptr).
    ~HidUploadDevice() override;
    HidUploadDevice(const HidUploadDevice&) = delete;
    HidUploadDevice& operator=(const HidUploadDevice&) = delete;

    // Where the input reports go; null drops them.
    void SetUpload(RecordUpload* upload);

    bool DeviceConnected() const override;
    std::size_t OutputReportByteLength() const override;
    std::size_t InputReportByteLength() const override;
    // True only when the whole report went out.
    bool WriteReport(const std::vector<uint8_t>& report) override;
    void AssignUploadHandler() override;

  private:
    // Shared with the handlers the devices hold, which may outlive this object.
    struct Target {
        RecordUpload* Upload = nullptr;  // null once this object is gone
        const ConnectionWatcher* Watcher = nullptr;
    };

    HidDevice* Active() const;

    const ConnectionWatcher& watcher_;
    std::shared_ptr<Target> target_;
};

}  // namespace leeb
