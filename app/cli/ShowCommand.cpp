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
#include "RecordView.h"

namespace leeb::cli {

namespace {

// A word of the window, in the language chosen (Chinese when none: no translator is installed).
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
};

ShownRecord ShowLine(const std::string& line, std::size_t lineIndex, char decimalSeparator) {
    const RecordTextFields fields = ParseRecordLine(line, decimalSeparator);
    ShownRecord shown;
    // The record node names its line: the line index is the record number.
    shown.RecordNumber = std::to_string(lineIndex);
    shown.Node = "存储记录" + shown.RecordNumber;  // as the JSON gives it, in any language
    for (const double reading : fields.Readings) {
        shown.Readings.push_back(ReadingText(reading, decimalSeparator));
    }
    shown.View = RecordViewFromFields(fields);
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

void PrintText(const ShownRecord& shown, char decimalSeparator, bool first) {
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
    out += "  " + Panel("测量日期") + ": " + view.DateText + "\n";
    out += "  " + Panel("最大值") + ": " + statistics.MaxText(decimalSeparator) + "\n";
    out += "  " + Panel("最小值") + ": " + statistics.MinText(decimalSeparator) + "\n";
    out += "  " + Panel("平均值") + ": " + statistics.PanelMeanText(decimalSeparator) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QJsonObject JsonRecord(const ShownRecord& shown, char decimalSeparator) {
    const RecordView& view = shown.View;
    QJsonArray readings;
    for (const std::string& reading : shown.Readings) {
        readings.append(Text(reading));
    }
    return QJsonObject{
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
}

void PrintJson(const QJsonArray& records) {
    const QByteArray json = QJsonDocument(records).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
}

}  // namespace

int RunShow(const CommandArguments& arguments) {
    const char decimalSeparator = DecimalSeparator();
    // A chosen language needs the translator, and that an application object; the default
    // output is the window's Chinese and needs neither.
    std::optional<CliTranslation> translation;
    if (Language())
        translation.emplace(*Language());
    const RecordLines lines = LoadRecordFile(*arguments.Input);

    // Records before a line that does not convert are still printed (a complete JSON array of
    // them), then the failure is reported.
    QJsonArray records;
    std::string failure;
    for (std::size_t r = 1; r < lines.size(); ++r) {
        ShownRecord shown;
        try {
            shown = ShowLine(lines[r], r, decimalSeparator);
        } catch (const ConversionError& error) {
            failure = ConversionMessage(r, error);
            break;
        }
        if (arguments.Json) {
            records.append(JsonRecord(shown, decimalSeparator));
        } else {
            PrintText(shown, decimalSeparator, r == 1);
        }
    }
    if (arguments.Json)
        PrintJson(records);
    if (!failure.empty())
        throw CliFailure(failure);
    return ExitSuccess;
}

}  // namespace leeb::cli
