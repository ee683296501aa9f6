#include "ShowJson.h"

#include <QString>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

namespace leeb::cli {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

void AppendString(std::string& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : Trimmed(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    out += '"';
}

// A text from the record file (the date): bytes that are no UTF-8 become U+FFFD, so that the
// output stays valid JSON.
void AppendFileText(std::string& out, const std::string& bytes) {
    AppendString(out, QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                          .toUtf8()
                          .toStdString());
}

// The shortest text that reads back as the same double.
void AppendNumber(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0.0 ? 0.0 : value);
    out.append(buffer, result.ptr);
}

void AppendNumber(std::string& out, const std::optional<double>& value) {
    if (value) {
        AppendNumber(out, *value);
    } else {
        out += "null";
    }
}

// Members inside an array element: eight blanks, as an indented document has them.
class Members {
  public:
    explicit Members(std::string& out) : out_(out) {}
    std::string& Key(const char* name) {
        out_ += first_ ? "        \"" : ",\n        \"";
        first_ = false;
        out_ += name;
        out_ += "\": ";
        return out_;
    }

  private:
    std::string& out_;
    bool first_ = true;
};

std::optional<double> Present(bool present, double value) {
    return present ? std::optional<double>(value) : std::nullopt;
}

const char* MarkName(ReadingMark mark) {
    switch (mark) {
        case ReadingMark::FailedImpact:
            return "failed";
        case ReadingMark::BelowLower:
            return "below";
        case ReadingMark::AboveUpper:
            return "above";
        case ReadingMark::Valid:
            break;
    }
    return "valid";
}

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return "pass";
        case Verdict::Fail:
            return "fail";
        case Verdict::NoValidReading:
            return "no-valid-reading";
        case Verdict::NotJudged:
            break;
    }
    return "not-judged";
}

}  // namespace

void JsonRecordPrinter::Print(const ShownRecord& shown, bool quality) {
    const RecordView& view = shown.View;
    const RecordStatistics& all = view.Statistics;
    const RecordEvaluation& e = shown.Evaluation;
    const RecordStatistics& used = e.Used;
    const bool judged = quality && shown.Options.Limits.Any();
    std::string& out = out_;
    out.assign(count_ == 0 ? "[\n    {\n" : ",\n    {\n");
    Members m(out);
    // In the order of the names, as the output has always had them.
    m.Key("count") += std::to_string(view.ImpactCount);
    AppendFileText(m.Key("date"), view.DateText);
    AppendString(m.Key("device"), ImpactDeviceText(view.Settings));
    m.Key("direction") += std::to_string(view.Settings.ImpactDirection);
    if (quality) {
        m.Key("invalid") += std::to_string(e.InvalidCount);
    }
    if (judged) {
        AppendNumber(m.Key("lower"), shown.Options.Limits.Lower);
    }
    if (quality) {
        std::string& marks = m.Key("marks");
        marks += '[';
        for (std::size_t i = 0; i < e.Marks.size(); ++i) {
            marks += i == 0 ? "\"" : ", \"";
            marks += MarkName(e.Marks[i]);
            marks += '"';
        }
        marks += ']';
    }
    AppendString(m.Key("material"), MaterialText(view.Settings));
    AppendNumber(m.Key("max"), Present(all.Count() > 0, all.Max()));
    AppendNumber(m.Key("mean"), Present(all.Count() > 0, all.Mean()));
    AppendNumber(m.Key("min"), Present(all.Count() > 0, all.Min()));
    AppendString(m.Key("node"), shown.Node);
    if (quality) {
        AppendNumber(m.Key("range"), e.Range);
    }
    std::string& readings = m.Key("readings");
    readings += '[';
    for (std::size_t i = 0; i < shown.Readings.size(); ++i) {
        if (i != 0) {
            readings += ", ";
        }
        AppendNumber(readings, shown.Readings[i]);
    }
    readings += ']';
    AppendString(m.Key("scale"), ScaleText(view.Settings));
    AppendString(m.Key("scale_label"), view.Settings.StrengthMode == 1 ? "强度" : "硬度制");
    if (quality) {
        AppendNumber(m.Key("std_dev"), e.StandardDeviation);
    }
    if (judged) {
        AppendNumber(m.Key("upper"), shown.Options.Limits.Upper);
    }
    if (quality) {
        m.Key("used_count") += std::to_string(used.Count());
        AppendNumber(m.Key("used_max"), Present(used.Count() > 0, used.Max()));
        AppendNumber(m.Key("used_mean"), Present(used.Count() > 0, used.Mean()));
        AppendNumber(m.Key("used_min"), Present(used.Count() > 0, used.Min()));
    }
    if (judged) {
        AppendString(m.Key("verdict"), VerdictName(e.RecordVerdict));
        AppendString(m.Key("verdict_text"), VerdictText(e.RecordVerdict));
    }
    out += "\n    }";
    std::fwrite(out.data(), 1, out.size(), stdout);
    ++count_;
}

void JsonRecordPrinter::Finish() {
    std::fputs(count_ == 0 ? "[\n]\n" : "\n]\n", stdout);
}

}  // namespace leeb::cli
