#include "FieldConversion.h"

#include <charconv>
#include <string>
#include <system_error>

#include "RecordFileErrors.h"

namespace leeb {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The field as the user should see it in a message: control bytes spelled out.
std::string Quoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "'";
}

[[noreturn]] void Fail(std::string_view text, const char* what) {
    throw ConversionError(Quoted(text) + " is not a valid " + what);
}

std::string_view SkipPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

std::string_view TrimField(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.remove_suffix(1);
    }
    return text;
}

int ConvertInteger(std::string_view text) {
    // from_chars takes no '+', and would accept a leading '-' after one.
    const std::string_view digits = SkipPlus(text);
    if (digits.empty() || (digits.size() != text.size() && digits.front() == '-')) {
        Fail(text, "integer value");
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc{} || end != digits.data() + digits.size()) {
        Fail(text, "integer value");
    }
    return value;
}

double ConvertReal(std::string_view text, char decimalSeparator, char otherSeparator) {
    const std::string_view body = SkipPlus(text);
    // Check the shape by hand: from_chars would also take "inf", "nan" and exponents.
    std::string plain;
    plain.reserve(body.size());
    bool digitSeen = false;
    bool separatorSeen = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (IsDigit(c)) {
            digitSeen = true;
            plain += c;
        } else if (c == '-' && i == 0 && body.size() == text.size()) {
            plain += c;
        } else if ((c == decimalSeparator || (otherSeparator != '\0' && c == otherSeparator)) &&
                   !separatorSeen) {
            separatorSeen = true;
            plain += '.';
        } else {
            Fail(text, "floating point value");
        }
    }
    if (!digitSeen) {
        Fail(text, "floating point value");
    }
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || end != plain.data() + plain.size()) {
        Fail(text, "floating point value");
    }
    return value;
}

}  // namespace leeb
