#include "ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace leeb {

namespace {

// Item prefix byte: bits 0-1 size (0, 1, 2 or 4 data bytes), bits 2-3 type (0 main,
// 1 global, 2 local), bits 4-7 tag. 0xFE starts a long item: size byte, tag byte, data.
constexpr uint8_t LongItemPrefix = 0xFE;
enum ItemType : uint8_t { Main = 0, Global = 1, Local = 2 };
enum MainTag : uint8_t { Input = 0x8, Output = 0x9, Feature = 0xB, Collection = 0xA };
enum GlobalTag : uint8_t {
    UsagePage = 0x0,
    ReportSize = 0x7,
    ReportId = 0x8,
    ReportCount = 0x9,
    Push = 0xA,
    Pop = 0xB,
};
enum LocalTag : uint8_t { Usage = 0x0 };

struct Globals {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

uint16_t LengthOf(const std::map<uint32_t, uint64_t>& bitsPerReport) {
    if (bitsPerReport.empty()) {
        return 0;
    }
    uint64_t largest = 0;
    for (const auto& [id, bits] : bitsPerReport) {
        largest = std::max(largest, (bits + 7) / 8);
    }
    return static_cast<uint16_t>(std::min<uint64_t>(largest + 1, 0xFFFF));
}

}  // namespace

std::optional<HidReportLayout> ParseReportDescriptor(const uint8_t* descriptor, size_t length) {
    HidReportLayout layout;
    Globals globals;
    std::vector<Globals> stack;
    std::map<uint32_t, uint64_t> bits[3];  // input, output, feature: bits per report ID
    uint32_t firstUsage = 0;
    bool usageSeen = false;
    bool collectionSeen = false;

    size_t at = 0;
    while (at < length) {
        const uint8_t prefix = descriptor[at];
        if (prefix == LongItemPrefix) {
            if (at + 3 > length) {
                return std::nullopt;
            }
            const size_t dataSize = descriptor[at + 1];
            if (at + 3 + dataSize > length) {
                return std::nullopt;
            }
            at += 3 + dataSize;
            continue;
        }
        const size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (at + 1 + dataSize > length) {
            return std::nullopt;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < dataSize; ++i) {
            value |= static_cast<uint32_t>(descriptor[at + 1 + i]) << (8 * i);
        }
        const uint8_t type = (prefix >> 2) & 3;
        const uint8_t tag = prefix >> 4;
        at += 1 + dataSize;

        if (type == Main) {
            const uint64_t itemBits =
                static_cast<uint64_t>(globals.reportSize) * globals.reportCount;
            if (tag == Input) {
                bits[0][globals.reportId] += itemBits;
            } else if (tag == Output) {
                bits[1][globals.reportId] += itemBits;
            } else if (tag == Feature) {
                bits[2][globals.reportId] += itemBits;
            } else if (tag == Collection && !collectionSeen) {
                collectionSeen = true;
                layout.UsagePage = static_cast<uint16_t>(globals.usagePage);
                layout.Usage = static_cast<uint16_t>(usageSeen ? firstUsage : 0);
            }
        } else if (type == Global) {
            switch (tag) {
                case UsagePage:
                    globals.usagePage = value;
                    break;
                case ReportSize:
                    globals.reportSize = value;
                    break;
                case ReportCount:
                    globals.reportCount = value;
                    break;
                case ReportId:
                    globals.reportId = value;
                    layout.NumberedReports = true;
                    break;
                case Push:
                    stack.push_back(globals);
                    break;
                case Pop:
                    if (!stack.empty()) {
                        globals = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (type == Local && tag == Usage && !usageSeen && !collectionSeen) {
            usageSeen = true;
            firstUsage = value & 0xFFFF;
        }
    }
    layout.InputReportByteLength = LengthOf(bits[0]);
    layout.OutputReportByteLength = LengthOf(bits[1]);
    layout.FeatureReportByteLength = LengthOf(bits[2]);
    return layout;
}

}  // namespace leeb
