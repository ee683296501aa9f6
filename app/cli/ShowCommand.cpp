// show: every record of a record file as the window shows it when the record is selected:
// the record node, its reading nodes and the detail panel's texts.

#include <QCoreApplication>
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
#include "RecordFileScan.h"
#include "RecordView.h"
#include "ShowJson.h"
#include "ShownRecord.h"

namespace leeb::cli {

namespace {

// A word of the window in the language --lang chose (Chinese when none: no translator).
std::string Word(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

std::string Panel(const char* source) {
    return Word("DetailPanel", source);
}

ShownRecord ShowRecord(const RecordTextFields& fields, std::size_t lineIndex,
                       const QualitySettings& quality) {
    ShownRecord shown;
    // The record node names its line: the line index is the record number.
    shown.RecordNumber = std::to_string(lineIndex);
    shown.Node = "存储记录" + shown.RecordNumber;
    shown.Readings = fields.Readings;
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
                       CodeTableText(VerdictText(e.RecordVerdict)).toStdString());
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
    for (const double reading : shown.Readings) {
        out += "    " + ReadingText(reading, decimalSeparator) + "\n";
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

// --records: the file is read whole first, so that a list past its last record is refused
// before anything is printed.
int ShowChosen(const CommandArguments& arguments, char decimalSeparator) {
    const RecordLines lines = LoadRecordFile(*arguments.Input, decimalSeparator);
    const std::vector<std::size_t> chosen =
        ChosenRecords(arguments.Lab, lines.empty() ? 0 : lines.size() - 1);
    const QualitySettings quality = QualityOf(
        arguments.Lab, arguments.Lab.Limits.Any() ? ScalesOf(lines, chosen, decimalSeparator)
                                                  : std::set<std::string>{});
    JsonRecordPrinter json;
    bool first = true;
    for (const std::size_t r : chosen) {
        const ShownRecord shown =
            ShowRecord(ParseRecordLine(lines[r], decimalSeparator), r, quality);
        if (arguments.Json) {
            json.Print(shown, quality.Active());
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
    if (arguments.Lab.Records) {
        return ShowChosen(arguments, decimalSeparator);
    }
    // --lower and --upper need the file's scales before the first record is printed.
    const QualitySettings quality = QualityOf(
        arguments.Lab, arguments.Lab.Limits.Any()
                           ? ScanRecordFile(*arguments.Input, decimalSeparator, true).ScalesOf({})
                           : std::set<std::string>{});
    // Each record is printed as soon as its line is read. Records before a line that does not
    // convert are printed (a complete JSON array of them), then the failure is reported.
    JsonRecordPrinter json;
    try {
        ReadRecordFileRecords(*arguments.Input, decimalSeparator,
                              [&](std::size_t r, std::string_view, const RecordTextFields& fields) {
                                  const ShownRecord shown = ShowRecord(fields, r, quality);
                                  if (arguments.Json) {
                                      json.Print(shown, quality.Active());
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
