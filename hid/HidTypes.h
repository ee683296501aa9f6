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

// A failed HID operation leaves its OS error code here, for the calling thread only (errno
// values on Linux, GetLastError values on Windows). 0: no error recorded.
uint32_t HidLastError();
void SetHidLastError(uint32_t code);
// A readable text for an error code of HidLastError().
std::string HidErrorText(uint32_t code);

}  // namespace leeb
