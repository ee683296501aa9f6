#pragma once
// A handle on /dev/hidrawN. Attributes and report lengths come from sysfs; a query-only handle
// holds no file at all.
//
// Framing: hidraw leaves the report-ID byte out of the input reports of a device that does not
// number its reports; such reports get a 0 put in front, so every report starts with its ID.
// A report shorter than the descriptor's input report length is padded with zeros to that
// length, as the other platforms deliver it.
// Writes always start with the report ID, which hidraw expects as it is.

#include <memory>

#include "HidPlatform.h"
#include "SysfsHidraw.h"

namespace leeb {

class HidrawHandle : public HidHandle {
  public:
    // Opens `devicePath` as `mode` needs; null (HidLastError set) when that fails.
    static std::unique_ptr<HidrawHandle> Open(const std::string& devicePath, HidOpenMode mode,
                                              const HidrawDescription& description);
    ~HidrawHandle() override;

    bool GetAttributes(HIDD_ATTRIBUTES& attributes) override;
    bool GetCaps(HIDP_CAPS& caps) override;
    bool Write(const uint8_t* buffer, uint32_t count, uint32_t& written) override;
    bool StartRead(uint8_t* buffer, uint32_t count) override;
    HidWaitResult WaitRead(int milliseconds) override;
    uint32_t ReadResult() override;
    bool CancelRead() override;
    void Interrupt() override;

  private:
    HidrawHandle(int fd, int wakeFd, HidOpenMode mode, const HidrawDescription& description);
    // Reads the ready report into the buffer; false when the read would block.
    bool ReadReady();

    int fd_;
    int wakeFd_;  // eventfd: Interrupt() makes it readable
    HidOpenMode mode_;
    HidrawDescription description_;
    uint8_t* buffer_ = nullptr;
    uint32_t count_ = 0;
    uint32_t result_ = 0;
    bool reading_ = false;
    int failure_ = 0;  // errno of a read that failed for good (device gone)
};

}  // namespace leeb
