#pragma once
// An output report as the upload writes it: report ID 0, the command code, two parameter
// bytes, the rest 0, 65 bytes long like the simulated tester's reports.

#include <cstdint>
#include <vector>

namespace leeb::test {

inline std::vector<uint8_t> Command(uint8_t code, uint8_t high = 0, uint8_t low = 0) {
    std::vector<uint8_t> report(65, 0);
    report[1] = code;
    report[2] = high;
    report[3] = low;
    return report;
}

}  // namespace leeb::test
