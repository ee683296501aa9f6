#include "FieldConversion.h"

#include <charconv>
#include <string>
#include <system_error>

#include "RecordFile.h"

namespace leeb {

namespace {

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

const char* ExpectedName(ConversionError::Expected expected) {
    switch (expected) {
        case ConversionError::Expected::Integer:
            return "integer value";
        case ConversionError::Expected::Real:
            return "floating point value";
        case ConversionError::Expected::ImpactCount:
            return "impact count";
        case ConversionError::Expected::SettingsWord:
            return "settings word";
        case ConversionError::Expected::Unknown:
            break;
    }
    return "value";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Fail(std::string_view text, ConversionError::Expected expected) {
    throw ConversionError(text, expected);
}

std::string_view SkipPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

ConversionError::ConversionError(std::string_view field, Expected expected)
    : std::runtime_error(Quoted(field) + " is not a valid " + ExpectedName(expected)),
      field_(Quoted(field)),
      expected_(expected) {}

ConversionError ConversionError::AtLine(int lineIndex, const std::string& message) const {
    ConversionError located(message);
    located.field_ = field_;
    located.expected_ = expected_;
    located.lineIndex_ = lineIndex;
    return located;
}

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
        Fail(text, ConversionError::Expected::Integer);
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc{} || end != digits.data() + digits.size()) {
        Fail(text, ConversionError::Expected::Integer);
    }
    return value;
}

double ConvertReal(std::string_view text, char decimalSeparator) {
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
        } else if (c == decimalSeparator && !separatorSeen) {
            separatorSeen = true;
            plain += '.';
        } else {
            Fail(text, ConversionError::Expected::Real);
        }
    }
    if (!digitSeen) {
        Fail(text, ConversionError::Expected::Real);
    }
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (ec != std::errc{} || end != plain.data() + plain.size()) {
        Fail(text, ConversionError::Expected::Real);
    }
    return value;
}

}  // namespace leeb
