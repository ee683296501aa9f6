#pragma once
// What sysfs tells about a hidraw node, read without opening the device:
//   <sysfs>/class/hidraw/hidrawN/device  -> the HID device's directory, whose
//     uevent             holds HID_ID=<bus>:<vendor>:<product> (hex, 4:8:8 digits)
//     report_descriptor  holds the raw report descriptor
//   and a parent USB device directory may hold bcdDevice (the version, hex).

#include <optional>
#include <string>
#include <vector>

#include "HidTypes.h"
#include "ReportDescriptor.h"

namespace leeb {

struct HidrawDescription {
    std::string Identity;  // the HID device's resolved sysfs path
    HIDD_ATTRIBUTES Attributes;
    HidReportLayout Layout;
};

// The hidrawN names present, sorted by number.
std::vector<std::string> ListHidrawNodes(const std::string& sysfsRoot);
// Nothing when the node is gone or its description is unreadable.
std::optional<HidrawDescription> DescribeHidrawNode(const std::string& sysfsRoot,
                                                    const std::string& node);

}  // namespace leeb
