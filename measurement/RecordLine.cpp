// The fixed-column record line: writer and reader. The column layout is in RecordFile.h.

#include <cstdint>
#include <string>
#include <utility>

#include "FieldConversion.h"
#include "RecordFile.h"

namespace leeb {

namespace {

// Positions in the line's value (the line without its first column), counted from 0.
constexpr std::size_t CountPos = 0, CountLen = 2;  // columns 2-3: column 1 is never read
constexpr std::size_t DatePos = 3, DateLen = 10;
constexpr std::size_t SettingsPos = 14, SettingsLen = 5;
constexpr std::size_t FirstReadingPos = 20, ReadingLen = 5, ReadingStep = 6;

constexpr std::size_t MaxReadings = std::tuple_size_v<decltype(MeasurementRecord::Readings)>;

// A substring that runs past the end is cut short, or empty.
std::string_view Field(std::string_view value, std::size_t pos, std::size_t len) {
    if (pos >= value.size()) {
        return {};
    }
    return value.substr(pos, len);
}

// Right-aligned, space-filled decimal of a non-negative value in exactly `width` columns
// (the caller has checked that it fits).
void AppendRightAligned(std::string& out, unsigned value, std::size_t width) {
    char digits[10];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(width - n, ' ');
    while (n > 0) {
        out += digits[--n];
    }
}

// Tenths as "000.0": at least three integer digits, exactly one decimal.
void AppendTenths(std::string& out, unsigned tenths, char decimalSeparator) {
    const unsigned whole = tenths / 10;
    out += static_cast<char>('0' + whole / 100);
    out += static_cast<char>('0' + whole / 10 % 10);
    out += static_cast<char>('0' + whole % 10);
    out += decimalSeparator;
    out += static_cast<char>('0' + tenths % 10);
}

}  // namespace

std::string FormatRecordLine(const MeasurementRecord& record, char decimalSeparator) {
    const std::size_t count = record.ImpactCount;
    if (count > MaxReadings) {
        throw RecordFormatError("impact count " + std::to_string(count) + " is more than the " +
                                std::to_string(MaxReadings) + " readings a record holds");
    }
    const bool oneDecimal = OneDecimalScale(DecodeSettingsWord(record.SettingsWord));

    std::string line;
    line.reserve(21 + ReadingStep * count);
    AppendRightAligned(line, record.ImpactCount, 3);
    line += ',';
    line += DateText(record.DateWord);
    line += ',';
    AppendRightAligned(line, record.SettingsWord, 5);
    line += ',';
    for (std::size_t k = 0; k < count; ++k) {
        const unsigned raw = record.Readings[k];
        if (oneDecimal) {
            // "000.0" holds at most 999.9; a wider value would shift every later field.
            if (raw > 9999) {
                throw RecordFormatError("reading " + std::to_string(k + 1) + " (" +
                                        std::to_string(raw / 10) + decimalSeparator +
                                        std::to_string(raw % 10) +
                                        ") does not fit the 5 columns of its field");
            }
            AppendTenths(line, raw, decimalSeparator);
        } else {
            AppendRightAligned(line, raw, 5);  // 16-bit values always fit "%5d"
        }
        line += ',';
    }
    return line;
}

std::string_view RecordLineValue(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
        return line.substr(equals + 1);
    }
    return line.empty() ? line : line.substr(1);
}

namespace {

// Converts one field; a failure carries which field it was.
template <typename Convert>
auto ConvertField(std::string_view text, LineField field, int readingNumber, Convert convert) {
    try {
        return convert(text);
    } catch (const ConversionError& error) {
        throw ConversionError(error.what(), FieldFault{field, FieldProblem::NotANumber,
                                                       readingNumber, std::string(text)});
    }
}

[[noreturn]] void OutOfRange(std::string_view text, LineField field, const char* what) {
    throw ConversionError("'" + std::string(text) + "' is not a valid " + what,
                          FieldFault{field, FieldProblem::OutOfRange, 0, std::string(text)});
}

// Every record line the writer makes is printable ASCII. Anything else cannot be a record the
// tester took: a date with 0xB0 in it would be shown, archived as U+FFFD and never read back,
// and control characters would reach terminals. A tab stays allowed: an editor puts it where
// blanks go, and the fields trim it.
void RefuseBytesThatAreNoText(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if ((byte >= 0x20 && byte < 0x7F) || byte == '\t') {
            continue;
        }
        static constexpr char Hex[] = "0123456789ABCDEF";
        const std::string shown = {'0', 'x', Hex[byte >> 4], Hex[byte & 0x0F]};
        FieldFault fault{LineField::Line, FieldProblem::NotText, 0, shown};
        fault.Column = i + 1;
        fault.Byte = byte;
        throw ConversionError("column " + std::to_string(i + 1) + ": byte " + shown +
                                  " is not printable ASCII text",
                              std::move(fault));
    }
}

}  // namespace

RecordTextFields ParseRecordLine(std::string_view line, char decimalSeparator) {
    RefuseBytesThatAreNoText(line);
    const std::string_view value = RecordLineValue(line);
    RecordTextFields fields;

    const std::string_view countText = TrimField(Field(value, CountPos, CountLen));
    fields.ImpactCount = ConvertField(countText, LineField::ImpactCount, 0, ConvertInteger);
    if (fields.ImpactCount < 0) {
        // Two columns hold at most 99; only a sign can make the count impossible.
        OutOfRange(countText, LineField::ImpactCount, "impact count");
    }

    fields.DateText = std::string(Field(value, DatePos, DateLen));

    const std::string_view settingsText = TrimField(Field(value, SettingsPos, SettingsLen));
    fields.SettingsWord = ConvertField(settingsText, LineField::SettingsWord, 0, ConvertInteger);
    if (fields.SettingsWord < 0 || fields.SettingsWord > UINT16_MAX) {
        // Decoding would silently drop the high bits and show other settings.
        OutOfRange(settingsText, LineField::SettingsWord, "settings word");
    }
    // The writer puts the decimal of a one-decimal reading in the field's fourth column, so
    // either separator there can only be that decimal.
    const bool oneDecimal =
        OneDecimalScale(DecodeSettingsWord(static_cast<uint16_t>(fields.SettingsWord)));
    const char otherSeparator = !oneDecimal ? '\0' : decimalSeparator == '.' ? ',' : '.';

    const auto count = static_cast<std::size_t>(fields.ImpactCount);
    fields.Readings.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text =
            TrimField(Field(value, FirstReadingPos + ReadingStep * i, ReadingLen));
        fields.Readings.push_back(ConvertField(
            text, LineField::Reading, static_cast<int>(i + 1),
            [&](std::string_view t) { return ConvertReal(t, decimalSeparator, otherSeparator); }));
    }
    return fields;
}

bool HeaderTest(const RecordLines& lines) {
    return !lines.empty() && RecordLineValue(lines.front()) == "Import Data@";
}

}  // namespace leeb
