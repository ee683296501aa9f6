#pragma once
// The HID types the transport passes around, laid out as the operating system's HID class
// library defines them, and the thread-local "last error" of the HID calls.

#include <cstdint>
#include <string>

namespace leeb {

struct HIDD_ATTRIBUTES {
    uint32_t Size = 0;  // 12 before a query
    uint16_t VendorID = 0;
    uint16_t ProductID = 0;
    uint16_t VersionNumber = 0;
};

// Both report lengths count the report-ID byte that precedes every report (0 for a device that
// does not number its reports); a length of 0 means the device has no report of that kind.
struct HIDP_CAPS {
    uint16_t Usage = 0;
    uint16_t UsagePage = 0;
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
    uint16_t Reserved[17] = {};
    uint16_t NumberLinkCollectionNodes = 0;
    uint16_t NumberInputButtonCaps = 0;
    uint16_t NumberInputValueCaps = 0;
    uint16_t NumberInputDataIndices = 0;
    uint16_t NumberOutputButtonCaps = 0;
    uint16_t NumberOutputValueCaps = 0;
    uint16_t NumberOutputDataIndices = 0;
    uint16_t NumberFeatureButtonCaps = 0;
    uint16_t NumberFeatureValueCaps = 0;
    uint16_t NumberFeatureDataIndices = 0;
};

// What went wrong with a HID operation: the same words on every platform.
enum class HidError : uint8_t {
    None,
    NotConnected,  // the device is gone (unplugged, or the interface vanished)
    AccessDenied,  // the system refuses access, or the device may not be used now
    Busy,          // a read is already outstanding on the handle
    TimedOut,      // the device did not take an output report in time
    NoReport,      // the device has no report of that kind (length 0)
    Failed,        // another failure of the system; the OS code tells which
};

// A failure with the system's own code kept for the message (errno on Linux, GetLastError()
// on Windows; 0 when the failure did not come from the system).
struct HidFailure {
    HidError Error = HidError::None;
    uint32_t OsCode = 0;
    friend bool operator==(const HidFailure&, const HidFailure&) = default;
};

// A failed HID operation leaves its failure here, for the calling thread only.
HidFailure HidLastError();
void SetHidLastError(HidError error, uint32_t osCode = 0);
// Classifies a system error code of this platform and records it.
void SetHidLastOsError(uint32_t osCode);
// How a system error code of this platform reads as a HidError.
HidError HidErrorFromOs(uint32_t osCode);
// A readable text: what went wrong, and the system's own words when there is an OS code.
std::string HidErrorText(const HidFailure& failure);
// The system's text for one of its error codes (per platform).
std::string HidOsErrorText(uint32_t osCode);

}  // namespace leeb
