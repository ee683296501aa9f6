// show: every record of a record file as the window shows it when the record is selected:
// the record node, its reading nodes and the detail panel's texts.

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CliLanguage.h"
#include "CliSupport.h"
#include "CodeTableText.h"
#include "Commands.h"
#include "LocaleDecimalSeparator.h"
#include "RecordCsv.h"
#include "RecordEvaluation.h"
#include "RecordView.h"

namespace leeb::cli {

namespace {

// A word of the window in the language --lang chose (Chinese when none: no translator).
std::string Word(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

std::string Panel(const char* source) {
    return Word("DetailPanel", source);
}

struct ShownRecord {
    std::string Node;
    std::string RecordNumber;
    std::vector<std::string> Readings;
    RecordView View;
    EvaluationOptions Options;  // the record's limits and handling of invalid readings
    RecordEvaluation Evaluation;
};

ShownRecord ShowRecord(const RecordTextFields& fields, std::size_t lineIndex, char decimalSeparator,
                       const QualitySettings& quality) {
    ShownRecord shown;
    // The record node names its line: the line index is the record number.
    shown.RecordNumber = std::to_string(lineIndex);
    shown.Node = "存储记录" + shown.RecordNumber;
    for (const double reading : fields.Readings) {
        shown.Readings.push_back(ReadingText(reading, decimalSeparator));
    }
    shown.View = RecordViewFromFields(fields);
    shown.Options = quality.For(shown.View.Settings);
    shown.Evaluation = EvaluateRecord(fields.Readings, shown.View.OneDecimal, shown.Options);
    return shown;
}

std::string ScaleLabel(const RecordView& view) {
    return view.Settings.StrengthMode == 1 ? "强度" : "硬度制";
}

std::string DirectionText(int code) {
    const std::string text = CodeTableText(ImpactDirectionText(code)).toStdString();
    // A code without a pictogram has no name either; the code alone says it.
    if (text.starts_with("?"))
        return std::to_string(code);
    return std::to_string(code) + " " + text;
}

// A line of the panel's additions: its label in the language --lang chose, then the value.
std::string LabLine(const char* label, const std::string& value) {
    return "  " + Word("CliShow", label) + ": " + value + "\n";
}

// The panel's additions when limits or the handling of invalid readings are set.
std::string QualityText(const ShownRecord& shown, char decimalSeparator) {
    const RecordEvaluation& e = shown.Evaluation;
    std::string out;
    if (shown.Options.ExcludeInvalid) {
        out += LabLine(QT_TRANSLATE_NOOP("CliShow", "统计次数"), std::to_string(e.Used.Count()));
        out +=
            LabLine(QT_TRANSLATE_NOOP("CliShow", "有效最大值"), e.Used.MaxText(decimalSeparator));
        out +=
            LabLine(QT_TRANSLATE_NOOP("CliShow", "有效最小值"), e.Used.MinText(decimalSeparator));
        out += LabLine(QT_TRANSLATE_NOOP("CliShow", "有效平均值"),
                       e.Used.PanelMeanText(decimalSeparator));
    }
    out += LabLine(QT_TRANSLATE_NOOP("CliShow", "无效读数"), std::to_string(e.InvalidCount));
    out += LabLine(QT_TRANSLATE_NOOP("CliShow", "标准偏差"), e.DeviationText(decimalSeparator));
    out += LabLine(QT_TRANSLATE_NOOP("CliShow", "极差"), e.RangeText(decimalSeparator));
    if (shown.Options.Limits.Any()) {
        out += LabLine(QT_TRANSLATE_NOOP("CliShow", "下限"),
                       LimitText(shown.Options.Limits.Lower, decimalSeparator));
        out += LabLine(QT_TRANSLATE_NOOP("CliShow", "上限"),
                       LimitText(shown.Options.Limits.Upper, decimalSeparator));
        out += LabLine(QT_TRANSLATE_NOOP("CliShow", "判定"),
                       CodeTableText(VerdictText(e.MeanVerdict)).toStdString());
    }
    return out;
}

void PrintText(const ShownRecord& shown, char decimalSeparator, bool first, bool quality) {
    const RecordView& view = shown.View;
    const RecordStatistics& statistics = view.Statistics;
    // In strength mode the panel shows the sigma-b picture in place of a scale name.
    const std::string scale = view.Settings.StrengthMode == 1 ? "σb" : ScaleText(view.Settings);
    std::string out = first ? "" : "\n";
    out += Word("RecordTreeModel", "存储记录") + shown.RecordNumber + "\n";
    for (const std::string& reading : shown.Readings) {
        out += "    " + reading + "\n";
    }
    out += "  " + Panel("记录号: ") + shown.RecordNumber + "\n";
    out += "  " + Panel("测量材料") + ": " +
           CodeTableText(MaterialText(view.Settings)).toStdString() + "\n";
    out += "  " + Panel(ScaleLabel(view).c_str()) + ": " + scale + "\n";
    out += "  " + Panel("冲击装置") + ": " + ImpactDeviceText(view.Settings) + "\n";
    out += "  " + Panel("冲击方向") + ": " + DirectionText(view.Settings.ImpactDirection) + "\n";
    out += "  " + Panel("冲击次数") + ": " + std::to_string(view.ImpactCount) + "\n";
    out += "  " + Panel("测量日期") + ": " + TerminalSafe(view.DateText) + "\n";
    out += "  " + Panel("最大值") + ": " + statistics.MaxText(decimalSeparator) + "\n";
    out += "  " + Panel("最小值") + ": " + statistics.MinText(decimalSeparator) + "\n";
    out += "  " + Panel("平均值") + ": " + statistics.PanelMeanText(decimalSeparator) + "\n";
    if (quality) {
        out += QualityText(shown, decimalSeparator);
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString MarkName(ReadingMark mark) {
    switch (mark) {
        case ReadingMark::FailedImpact:
            return QStringLiteral("failed");
        case ReadingMark::BelowLower:
            return QStringLiteral("below");
        case ReadingMark::AboveUpper:
            return QStringLiteral("above");
        case ReadingMark::Valid:
            break;
    }
    return QStringLiteral("valid");
}

QString VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return QStringLiteral("pass");
        case Verdict::Fail:
            return QStringLiteral("fail");
        case Verdict::NoMean:
            return QStringLiteral("no-mean");
        case Verdict::NotJudged:
            break;
    }
    return QStringLiteral("not-judged");
}

void AddQuality(QJsonObject& record, const ShownRecord& shown, char decimalSeparator) {
    const RecordEvaluation& e = shown.Evaluation;
    QJsonArray marks;
    for (const ReadingMark mark : e.Marks) {
        marks.append(MarkName(mark));
    }
    record.insert("marks", marks);
    record.insert("invalid", e.InvalidCount);
    record.insert("used_count", e.Used.Count());
    record.insert("used_max", Text(e.Used.MaxText(decimalSeparator)));
    record.insert("used_min", Text(e.Used.MinText(decimalSeparator)));
    record.insert("used_mean", Text(e.Used.PanelMeanText(decimalSeparator)));
    record.insert("std_dev", Text(e.DeviationText(decimalSeparator)));
    record.insert("range", Text(e.RangeText(decimalSeparator)));
    if (shown.Options.Limits.Any()) {
        record.insert("lower", Text(LimitText(shown.Options.Limits.Lower, decimalSeparator)));
        record.insert("upper", Text(LimitText(shown.Options.Limits.Upper, decimalSeparator)));
        record.insert("verdict", VerdictName(e.MeanVerdict));
        record.insert("verdict_text", Text(VerdictText(e.MeanVerdict)));
    }
}

QJsonObject JsonRecord(const ShownRecord& shown, char decimalSeparator, bool quality) {
    const RecordView& view = shown.View;
    QJsonArray readings;
    for (const std::string& reading : shown.Readings) {
        readings.append(Text(reading));
    }
    QJsonObject record{
        {"node", Text(shown.Node)},
        {"readings", readings},
        {"material", Text(MaterialText(view.Settings))},
        {"scale_label", Text(ScaleLabel(view))},
        {"scale", Text(ScaleText(view.Settings))},
        {"device", Text(ImpactDeviceText(view.Settings))},
        {"direction", view.Settings.ImpactDirection},
        {"count", view.ImpactCount},
        {"date", Text(view.DateText)},
        {"max", Text(view.Statistics.MaxText(decimalSeparator))},
        {"min", Text(view.Statistics.MinText(decimalSeparator))},
        {"mean", Text(view.Statistics.PanelMeanText(decimalSeparator))},
    };
    if (quality) {
        AddQuality(record, shown, decimalSeparator);
    }
    return record;
}

// The records as one JSON array, printed one record at a time in the layout of an indented
// document, so that no file, however large, is held whole.
class JsonArrayPrinter {
  public:
    void Print(const QJsonObject& record) {
        const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Indented);
        std::string out = count_ == 0 ? "[\n" : ",\n";
        // Each line of the object indented one level, as inside the array; no final newline.
        qsizetype start = 0;
        while (start < json.size()) {
            qsizetype end = json.indexOf('\n', start);
            if (end < 0) {
                end = json.size();
            }
            if (start != 0) {
                out += '\n';
            }
            out += "    ";
            out.append(json.constData() + start, static_cast<std::size_t>(end - start));
            start = end + 1;
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        ++count_;
    }
    bool Started() const { return count_ > 0; }
    void Finish() {
        const char* end = count_ == 0 ? "[\n]\n" : "\n]\n";
        std::fputs(end, stdout);
    }

  private:
    std::size_t count_ = 0;
};

// --records: the file is read whole first, so that a list past its last record is refused
// before anything is printed.
int ShowChosen(const CommandArguments& arguments, const QualitySettings& quality,
               char decimalSeparator) {
    const RecordLines lines = LoadRecordFile(*arguments.Input, decimalSeparator);
    JsonArrayPrinter json;
    bool first = true;
    for (const std::size_t r : ChosenRecords(arguments.Lab, lines)) {
        const ShownRecord shown =
            ShowRecord(ParseRecordLine(lines[r], decimalSeparator), r, decimalSeparator, quality);
        if (arguments.Json) {
            json.Print(JsonRecord(shown, decimalSeparator, quality.Active()));
        } else {
            PrintText(shown, decimalSeparator, first, quality.Active());
        }
        first = false;
    }
    if (arguments.Json) {
        json.Finish();
    }
    return ExitSuccess;
}

}  // namespace

int RunShow(const CommandArguments& arguments) {
    std::optional<CliTranslation> translation;
    if (arguments.Language)
        translation.emplace(*arguments.Language);
    const char decimalSeparator = DecimalSeparator();
    const QualitySettings quality = QualityOf(arguments.Lab);
    if (arguments.Lab.Records) {
        return ShowChosen(arguments, quality, decimalSeparator);
    }
    // Each record is printed as soon as its line is read. Records before a line that does not
    // convert are printed (a complete JSON array of them), then the failure is reported.
    JsonArrayPrinter json;
    try {
        ReadRecordFileRecords(
            *arguments.Input, decimalSeparator,
            [&](std::size_t r, std::string_view, const RecordTextFields& fields) {
                const ShownRecord shown = ShowRecord(fields, r, decimalSeparator, quality);
                if (arguments.Json) {
                    json.Print(JsonRecord(shown, decimalSeparator, quality.Active()));
                } else {
                    PrintText(shown, decimalSeparator, r == 1, quality.Active());
                }
            });
    } catch (const RecordFileError& failure) {
        // A file that is no record file at all prints no array; one with a record file's
        // header prints the array of the records read.
        if (arguments.Json && (json.Started() || failure.LineNumber() >= 2)) {
            json.Finish();
        }
        throw CliFailure(ReadFailureMessage(failure));
    }
    if (arguments.Json) {
        json.Finish();
    }
    return ExitSuccess;
}

}  // namespace leeb::cli
