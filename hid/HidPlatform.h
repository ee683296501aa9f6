#pragma once
// What the HID transport needs of an operating system, and nothing more. One backend per
// platform (Linux hidraw, Windows SetupApi/HID.dll) plus an in-process simulated bus.
//
// Framing is the same on every backend: byte 0 of every input and output report is the report
// ID (0 for a device that does not number its reports) and both report lengths count it.
//
// Error convention: a false (or null) result leaves the failure in HidLastError().

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HidTypes.h"

namespace leeb {

// One present HID interface as a scan finds it.
struct HidInterfaceEntry {
    std::string Identity;  // stable while the interface stays present; new after a replug
    std::string Path;      // what opens it
};

enum class HidOpenMode {
    ReadWrite,       // synchronous, for writes and queries
    QueryOnly,       // no access rights: attributes and report lengths only
    OverlappedRead,  // input reports, waited for by a read thread
    OverlappedWrite,
};

// WaitRead's time-out meaning none: it returns for a report, a failure or Interrupt() only.
constexpr int HidWaitForever = -1;

enum class HidWaitResult {
    Completed,    // the read finished; ReadResult() tells how many bytes
    TimedOut,     // nothing within the wait; the read stays outstanding
    Interrupted,  // Interrupt() was called; the read stays outstanding
};

// An open handle on one interface. Closing is destruction.
class HidHandle {
  public:
    virtual ~HidHandle() = default;

    virtual bool GetAttributes(HIDD_ATTRIBUTES& attributes) = 0;
    // The report lengths (what HidP_GetCaps gives from the preparsed data).
    virtual bool GetCaps(HIDP_CAPS& caps) = 0;
    // One whole output report, byte 0 the report ID; returns when it has gone out.
    virtual bool Write(const uint8_t* buffer, uint32_t count, uint32_t& written) = 0;

    // Input: at most one read outstanding. StartRead begins reading one report of up to
    // `count` bytes into `buffer` (which must stay valid until the read completes or is
    // cancelled); WaitRead waits for it, at most `milliseconds` or, with HidWaitForever,
    // without a time-out. Only the thread that started a read waits for it.
    virtual bool StartRead(uint8_t* buffer, uint32_t count) = 0;
    virtual HidWaitResult WaitRead(int milliseconds) = 0;
    // Bytes of the last completed read; 0 when it failed.
    virtual uint32_t ReadResult() = 0;
    // Drops the outstanding read; the buffer is not touched afterwards.
    virtual bool CancelRead() = 0;
    // Any thread: makes the current or next WaitRead return Interrupted at once.
    virtual void Interrupt() = 0;
};

class HidPlatform {
  public:
    virtual ~HidPlatform() = default;

    // Binds the platform's HID layer; false when it is not available (then nothing is ever
    // found). Release undoes it; after Release no other call is made.
    virtual bool Bind() = 0;
    virtual void Release() = 0;
    // Why the last Bind failed, in words a user can act on; "" when it did not or cannot say.
    virtual std::string BindProblem() const { return {}; }

    // The present HID interfaces, in a stable order.
    virtual std::vector<HidInterfaceEntry> Enumerate() = 0;

    // Identification: a handle that answers GetAttributes and GetCaps without claiming the
    // device where the platform allows (Linux reads sysfs, Windows opens with no access
    // rights), and whether read/write access would be granted (a platform that can tell only by
    // opening for read/write says true; the device corrects it when it opens for use). Null
    // when the interface cannot be opened at all.
    virtual std::unique_ptr<HidHandle> OpenForIdentification(const std::string& path,
                                                             bool& readWriteGranted) = 0;
    // Null when the interface cannot be opened in that mode.
    virtual std::unique_ptr<HidHandle> Open(const std::string& path, HidOpenMode mode) = 0;

    // `changed` is called, from any thread, whenever the set of interfaces may have changed;
    // it carries nothing. Stop returns once no call is running or will follow.
    virtual void StartChangeNotification(std::function<void()> changed) = 0;
    virtual void StopChangeNotification() = 0;
};

}  // namespace leeb
