#pragma once
// A device checked out of the controller, owned by whoever holds this. Destroying the holder
// gives the device back (its read thread stops and a still plugged interface gets a fresh,
// checked-in device at its index); moving it moves the ownership. Safe after the controller is
// gone: the device then only goes away.

#include <utility>

namespace leeb {

class HidDevice;

class CheckedOutDevice {
  public:
    CheckedOutDevice() = default;
    // Takes a device the controller has just checked out.
    explicit CheckedOutDevice(HidDevice* device) noexcept : device_(device) {}
    ~CheckedOutDevice() { GiveBack(); }

    CheckedOutDevice(CheckedOutDevice&& other) noexcept
        : device_(std::exchange(other.device_, nullptr)) {}
    CheckedOutDevice& operator=(CheckedOutDevice&& other) noexcept {
        if (this != &other) {
            GiveBack();
            device_ = std::exchange(other.device_, nullptr);
        }
        return *this;
    }
    CheckedOutDevice(const CheckedOutDevice&) = delete;
    CheckedOutDevice& operator=(const CheckedOutDevice&) = delete;

    HidDevice* Get() const { return device_; }
    HidDevice* operator->() const { return device_; }
    HidDevice& operator*() const { return *device_; }
    explicit operator bool() const { return device_ != nullptr; }

    // Gives the device back now; the holder is empty afterwards.
    void GiveBack() noexcept;

  private:
    HidDevice* device_ = nullptr;
};

}  // namespace leeb
