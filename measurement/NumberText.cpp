#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace leeb {

std::string FormatGeneral(double value, char decimalSeparator) {
    if (value == 0.0) {
        return "0";  // also for -0.0, which would otherwise show as "-0"
    }
    // std::to_chars is locale-independent: the separator is always the one passed in, even
    // after the GUI toolkit has switched the C library to the user's locale.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ec == std::errc{} ? result.ptr : buffer);
    for (char& c : text) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return text;
}

std::string FormatFixed(double value, int decimals, char decimalSeparator) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0.0 ? 0.0 : value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer, result.ec == std::errc{} ? result.ptr : buffer);
    for (char& c : text) {
        if (c == '.') {
            c = decimalSeparator;
        }
    }
    return text;
}

int64_t RoundHalfEvenQuotient(int64_t numerator, int64_t denominator) {
    // Floor division first, so that the remainder is in [0, denominator).
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {
        quotient -= 1;
        remainder += denominator;
    }
    const int64_t rest = denominator - remainder;  // compared instead of 2 * remainder: no overflow
    if (remainder > rest || (remainder == rest && quotient % 2 != 0)) {
        quotient += 1;
    }
    return quotient;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 4503599627370496.0) {  // 2^52: already whole
        return value;
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;  // exact below 2^52
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

}  // namespace leeb
