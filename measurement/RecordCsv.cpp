#include "RecordCsv.h"

#include <QtGlobal>
#include <array>
#include <cmath>
#include <cstdint>

#include "AtomicFileWrite.h"
#include "RecordView.h"

namespace leeb {

namespace {

constexpr int CsvReadingColumns = 32;

std::string CsvField(const std::string& text, char fieldSeparator) {
    if (text.find_first_of(std::string{fieldSeparator, '"', '\r', '\n'}) == std::string::npos) {
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

std::vector<std::string> HeaderRow() {
    std::vector<std::string> row = {"记录号",   "测量日期", "测量材料", "硬度制/强度",
                                    "冲击装置", "冲击方向", "冲击次数"};
    for (int i = 1; i <= CsvReadingColumns; ++i) {
        row.push_back("读数" + std::to_string(i));
    }
    for (const char* name : {"最大值", "最小值", "平均值", "标准偏差", "极差"}) {
        row.emplace_back(name);
    }
    return row;
}

// Standard deviation (sample, n - 1) and range, computed from the readings in whole units
// (tenths on a one-decimal scale) so that equal readings give exactly 0. Reading fields are
// at most five characters, so the integer sums cannot overflow.
struct Spread {
    std::string Deviation = "-";
    std::string Range = "-";
};

Spread SpreadOf(const std::vector<double>& readings, bool oneDecimal, char decimalSeparator) {
    Spread spread;
    if (readings.empty()) {
        return spread;
    }
    const int scale = oneDecimal ? 10 : 1;
    int64_t sum = 0;
    int64_t sumSquares = 0;
    int64_t low = 0;
    int64_t high = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const auto units = static_cast<int64_t>(RoundHalfEven(readings[i] * scale));
        sum += units;
        sumSquares += units * units;
        low = i == 0 ? units : std::min(low, units);
        high = i == 0 ? units : std::max(high, units);
    }
    spread.Range = FormatGeneral(static_cast<double>(high - low) / scale, decimalSeparator);
    const auto n = static_cast<int64_t>(readings.size());
    if (n >= 2) {
        // One decimal more than the readings carry.
        const double variance =
            static_cast<double>(n * sumSquares - sum * sum) / static_cast<double>(n * (n - 1));
        const double shown = scale * 10;
        const double deviation = RoundHalfEven(std::sqrt(variance) / scale * shown) / shown;
        spread.Deviation = FormatGeneral(deviation, decimalSeparator);
    }
    return spread;
}

std::vector<std::string> RecordRow(std::size_t recordNumber, const RecordTextFields& fields,
                                   char decimalSeparator) {
    const RecordView view = RecordViewFromFields(fields);
    const RecordStatistics& stats = view.Statistics;
    std::string scale = "强度";
    if (view.Settings.StrengthMode == 0) {
        scale = ScaleText(view.Settings);
        while (!scale.empty() && scale.back() == ' ') {
            scale.pop_back();
        }
    }
    std::vector<std::string> row = {
        std::to_string(recordNumber),    view.DateText,
        MaterialText(view.Settings),     scale,
        ImpactDeviceText(view.Settings), ImpactDirectionText(view.Settings.ImpactDirection),
        std::to_string(view.ImpactCount)};
    for (int i = 0; i < CsvReadingColumns; ++i) {
        const auto k = static_cast<std::size_t>(i);
        row.push_back(k < fields.Readings.size() ? ReadingText(fields.Readings[k], decimalSeparator)
                                                 : std::string());
    }
    const Spread spread = SpreadOf(fields.Readings, view.OneDecimal, decimalSeparator);
    row.push_back(stats.MaxText(decimalSeparator));
    row.push_back(stats.MinText(decimalSeparator));
    row.push_back(stats.ReportMeanText(decimalSeparator));  // the panel's "%4d" without blanks
    row.push_back(spread.Deviation);
    row.push_back(spread.Range);
    return row;
}

}  // namespace

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

std::string FormatRecordCsv(const RecordLines& lines, char decimalSeparator) {
    const char fieldSeparator = decimalSeparator == ',' ? ';' : ',';
    std::string out = "\xEF\xBB\xBF";
    AppendRow(out, HeaderRow(), fieldSeparator);
    for (std::size_t r = 1; r < lines.size(); ++r) {
        RecordTextFields fields;
        try {
            fields = ParseRecordLine(lines[r], decimalSeparator);
        } catch (const ConversionError& error) {
            // Users count file lines from 1, and line 1 is the file header.
            throw error.AtLine(static_cast<int>(r), "line " + std::to_string(r + 1) + " (record " +
                                                        std::to_string(r) + "): " + error.what());
        }
        AppendRow(out, RecordRow(r, fields, decimalSeparator), fieldSeparator);
    }
    return out;
}

void WriteRecordCsv(const std::string& path, const RecordLines& lines, char decimalSeparator) {
    ReplaceFileContent(path, FormatRecordCsv(lines, decimalSeparator));
}

}  // namespace leeb
