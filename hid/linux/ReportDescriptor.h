#pragma once
// Report lengths from a HID report descriptor, counted as the HID class driver counts them for
// its capabilities: 1 (the report-ID byte, 0 for a device without numbered reports) + the
// largest report of that kind in bytes; 0 when the device has no report of that kind.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace leeb {

struct HidReportLayout {
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
    uint16_t UsagePage = 0;  // of the first top-level collection
    uint16_t Usage = 0;
    bool NumberedReports = false;  // the descriptor declares Report IDs
};

// Nothing when the descriptor is cut off inside an item.
std::optional<HidReportLayout> ParseReportDescriptor(const uint8_t* descriptor, size_t length);

}  // namespace leeb
