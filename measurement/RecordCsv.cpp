#include "RecordCsv.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "AtomicFileWrite.h"
#include "RecordCsvQuality.h"
#include "RecordView.h"
#include "TranslationMarks.h"

namespace leeb {

namespace {

// As many reading columns as a record holds; lines of older uploads with more readings widen
// the table to their count.
constexpr std::size_t RecordReadingColumns = 32;

// A spreadsheet runs a cell that begins with one of these as a formula (a date field of a
// record file could read "=1+2+3"). Such a cell gets a leading apostrophe, which spreadsheets
// take as "text" and do not show, and is quoted.
// A plain number ("-5", "-45.3") and the "-" of a missing value are left as they are.
bool LooksLikeFormula(const std::string& text) {
    if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string::npos) {
        return false;
    }
    if (text == "-") {
        return false;
    }
    if (text.front() != '-') {
        return true;
    }
    return text.find_first_not_of("0123456789.,", 1) != std::string::npos ||
           text.find_first_of("0123456789", 1) == std::string::npos;
}

std::string CsvField(const std::string& field, char fieldSeparator) {
    const bool formula = LooksLikeFormula(field);
    const std::string text = formula ? "'" + field : field;
    if (!formula &&
        text.find_first_of(std::string{fieldSeparator, '"', '\r', '\n'}) == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

void AppendRow(std::string& out, const std::vector<std::string>& fields, char fieldSeparator) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            out += fieldSeparator;
        }
        out += CsvField(fields[i], fieldSeparator);
    }
    out += "\r\n";
}

std::vector<std::string> HeaderRow(std::size_t readingColumns, const RecordCsvTexts& texts) {
    std::vector<std::string> row = {texts.RecordNumber, texts.Date,         texts.Material,
                                    texts.Scale,        texts.ImpactDevice, texts.ImpactDirection,
                                    texts.ImpactCount};
    for (std::size_t i = 1; i <= readingColumns; ++i) {
        row.push_back(texts.ReadingHeader(i));
    }
    for (const std::string* name :
         {&texts.Maximum, &texts.Minimum, &texts.Mean, &texts.Deviation, &texts.Range}) {
        row.push_back(*name);
    }
    return row;
}

// Standard deviation (sample, n - 1) and range, computed from the readings as read, in
// ten-thousandths (a five-character field has at most four decimals), so that equal readings
// give exactly 0. The squares are summed in long double, exact for any realistic readings.
struct Spread {
    std::string Deviation = "-";
    std::string Range = "-";
};

Spread SpreadOf(const std::vector<double>& readings, bool oneDecimal, char decimalSeparator) {
    Spread spread;
    if (readings.empty()) {
        return spread;
    }
    constexpr double Units = 10000.0;
    long double sum = 0;
    long double sumSquares = 0;
    double low = 0;
    double high = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const long double units = RoundHalfEven(readings[i] * Units);
        sum += units;
        sumSquares += units * units;
        low = i == 0 ? readings[i] : std::min(low, readings[i]);
        high = i == 0 ? readings[i] : std::max(high, readings[i]);
    }
    spread.Range = FormatGeneral(RoundHalfEven((high - low) * Units) / Units, decimalSeparator);
    const auto n = static_cast<long double>(readings.size());
    if (readings.size() >= 2) {
        // One decimal more than the scale shows.
        const long double variance = (n * sumSquares - sum * sum) / (n * (n - 1)) / (Units * Units);
        const double shown = oneDecimal ? 100.0 : 10.0;
        const double deviation =
            RoundHalfEven(static_cast<double>(std::sqrt(std::max(variance, 0.0L))) * shown) / shown;
        spread.Deviation = FormatFixed(deviation, oneDecimal ? 2 : 1, decimalSeparator);
    }
    return spread;
}

std::vector<std::string> RecordRow(long recordNumber, const RecordTextFields& fields,
                                   std::size_t readingColumns, char decimalSeparator,
                                   const RecordCsvTexts& texts) {
    const RecordView view = RecordViewFromFields(fields);
    const RecordStatistics& stats = view.Statistics;
    std::string scale = texts.NameOf(QT_TRANSLATE_NOOP("CodeTables", "强度"));
    if (view.Settings.StrengthMode == 0) {
        scale = ScaleText(view.Settings);
        while (!scale.empty() && scale.back() == ' ') {
            scale.pop_back();
        }
    }
    std::vector<std::string> row = {
        std::to_string(recordNumber),
        view.DateText,
        texts.NameOf(MaterialText(view.Settings)),
        scale,
        ImpactDeviceText(view.Settings),
        texts.NameOf(ImpactDirectionText(view.Settings.ImpactDirection)),
        std::to_string(view.ImpactCount)};
    const bool oneDecimal = view.OneDecimal;
    for (std::size_t k = 0; k < readingColumns; ++k) {
        row.push_back(k < fields.Readings.size()
                          ? CsvValueText(fields.Readings[k], oneDecimal, decimalSeparator)
                          : std::string());
    }
    const Spread spread = SpreadOf(fields.Readings, oneDecimal, decimalSeparator);
    const bool any = stats.Count() > 0;
    row.push_back(CsvValueText(any ? std::optional(stats.Max()) : std::nullopt, oneDecimal,
                               decimalSeparator));
    row.push_back(CsvValueText(any ? std::optional(stats.Min()) : std::nullopt, oneDecimal,
                               decimalSeparator));
    // The panel's mean without the "%4d" blanks.
    row.push_back(CsvValueText(any ? std::optional(stats.RoundedMean()) : std::nullopt, oneDecimal,
                               decimalSeparator));
    row.push_back(spread.Deviation);
    row.push_back(spread.Range);
    return row;
}

}  // namespace

std::string RecordCsvTexts::ReadingHeader(std::size_t number) const {
    std::string header = Reading;
    const std::size_t at = header.find("%1");
    const std::string digits = std::to_string(number);
    return at == std::string::npos ? header + digits : header.replace(at, 2, digits);
}

std::string ImpactDirectionText(int impactDirection) {
    // Shown translated under "CodeTables" where a language is chosen.
    static constexpr std::array<const char*, 5> Texts = {
        QT_TRANSLATE_NOOP("CodeTables", "垂直向下"), QT_TRANSLATE_NOOP("CodeTables", "45°向下"),
        QT_TRANSLATE_NOOP("CodeTables", "水平"), QT_TRANSLATE_NOOP("CodeTables", "45°向上"),
        QT_TRANSLATE_NOOP("CodeTables", "垂直向上")};
    if (impactDirection < 0 || impactDirection >= static_cast<int>(Texts.size())) {
        return UnknownCodeText(impactDirection);
    }
    return Texts[static_cast<std::size_t>(impactDirection)];
}

std::string CsvValueText(std::optional<double> value, bool oneDecimal, char decimalSeparator) {
    if (!value) {
        return "-";
    }
    // Only a value that has one decimal gets it written out; anything finer, from a file
    // written by hand, keeps every digit it has.
    const double tenths = *value * 10.0;
    if (oneDecimal && std::fabs(tenths - RoundHalfEven(tenths)) < 1e-6) {
        return FormatFixed(RoundHalfEven(tenths) / 10.0, 1, decimalSeparator);
    }
    return FormatGeneral(*value, decimalSeparator);
}

RecordCsvRows::RecordCsvRows(const RecordCsvOptions& options, std::size_t readingColumns)
    : options_(options),
      readingColumns_(std::max(readingColumns, MinReadingColumns)),
      fieldSeparator_(options.DecimalSeparator == ',' ? ';' : ',') {}

void RecordCsvRows::AppendHeader(std::string& out) const {
    out += "\xEF\xBB\xBF";
    std::vector<std::string> header = HeaderRow(readingColumns_, options_.Texts);
    for (std::string& name : QualityCsvHeader(options_.Quality, options_.Texts)) {
        header.push_back(std::move(name));
    }
    AppendRow(out, header, fieldSeparator_);
}

void RecordCsvRows::AppendRecord(std::string& out, std::size_t lineIndex,
                                 const RecordTextFields& fields) const {
    const std::vector<long>& numbers = options_.RecordNumbers;
    const long number =
        lineIndex - 1 < numbers.size() ? numbers[lineIndex - 1] : static_cast<long>(lineIndex);
    const char separator = options_.DecimalSeparator;
    std::vector<std::string> row =
        RecordRow(number, fields, readingColumns_, separator, options_.Texts);
    for (std::string& field :
         QualityCsvFields(fields, options_.Quality, separator, options_.Texts)) {
        row.push_back(std::move(field));
    }
    AppendRow(out, row, fieldSeparator_);
}

std::string FormatRecordCsv(const RecordLines& lines, const RecordCsvOptions& options) {
    std::vector<std::size_t> chosen = options.Records;
    if (chosen.empty()) {
        for (std::size_t r = 1; r < lines.size(); ++r) {
            chosen.push_back(r);
        }
    }
    // Every line is read before anything is formatted: the reading columns must fit the
    // longest record.
    std::vector<RecordTextFields> records;
    records.reserve(chosen.size());
    std::size_t readingColumns = RecordCsvRows::MinReadingColumns;
    for (const std::size_t r : chosen) {
        if (r == 0 || r >= lines.size()) {
            throw ConversionError("record " + std::to_string(r) + " is not in the record file");
        }
        try {
            records.push_back(ParseRecordLine(lines[r], options.DecimalSeparator));
        } catch (const ConversionError& error) {
            // Users count file lines from 1, and line 1 is the file header.
            const std::string message = "line " + std::to_string(r + 1) + " (record " +
                                        std::to_string(r) + "): " + error.what();
            if (error.Fault()) {
                throw ConversionError(message, *error.Fault());
            }
            throw ConversionError(message);
        }
        readingColumns = std::max(readingColumns, records.back().Readings.size());
    }
    const RecordCsvRows table(options, readingColumns);
    std::string out;
    table.AppendHeader(out);
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        table.AppendRecord(out, chosen[i], records[i]);
    }
    return out;
}

void WriteRecordCsv(const std::string& path, const RecordLines& lines,
                    const RecordCsvOptions& options) {
    ReplaceFileContent(path, FormatRecordCsv(lines, options));
}

}  // namespace leeb
