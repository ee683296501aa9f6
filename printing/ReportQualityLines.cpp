#include "ReportQualityLines.h"

#include <algorithm>

#include <QCoreApplication>

#include "CodeTableText.h"
#include "GbkText.h"
#include "ReportLabels.h"
#include "ReportWrap.h"
#include "TranslationMarks.h"

namespace leeb {

namespace {

// A body line holds 82 GBK bytes between the band edges (6.9 in at 12 pt, half an em each).
constexpr int LineWidth = 80;
constexpr int SecondColumn = 42;

std::string FillTo(const std::string& text, int width) {
    return text + Blanks(width - static_cast<int>(GbkLength(text)));
}

int Length(const std::string& text) {
    return static_cast<int>(GbkLength(text));
}

// A field on lines of its own: the value wrapped under itself, never cut.
void AddWrapped(std::vector<std::string>& lines, const std::string& label, const std::string& text) {
    if (text.empty()) {
        return;
    }
    const int indent = Length(label);
    bool first = true;
    for (const std::string& piece : WrapGbk(text, std::max(1, LineWidth - indent))) {
        lines.push_back((first ? label : Blanks(indent)) + piece);
        first = false;
    }
}

// Two fields on one line while each fits its half; else each on lines of its own, so a long
// value neither runs past the margin nor covers its neighbour.
void AddPair(std::vector<std::string>& lines, const std::string& leftLabel, const std::string& left,
             const std::string& rightLabel, const std::string& right) {
    if (left.empty() && right.empty()) {
        return;
    }
    const bool leftFits = left.empty() || Length(leftLabel + left) <= SecondColumn - 1;
    const bool rightFits = right.empty() || Length(rightLabel + right) <= LineWidth - SecondColumn;
    if (!leftFits || !rightFits) {
        AddWrapped(lines, leftLabel, left);
        AddWrapped(lines, rightLabel, right);
        return;
    }
    std::string line = left.empty() ? std::string() : leftLabel + left;
    if (!right.empty()) {
        line = FillTo(line, SecondColumn - 1) + " " + rightLabel + right;
    }
    lines.push_back(line);
}

}  // namespace

std::vector<std::string> DetailsBlockLines(const ReportDetails& details,
                                           const QualitySettings& quality) {
    std::vector<std::string> lines;
    // Labels in the interface language, each as wide as its Chinese source (ReportLabel).
    AddPair(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "单位名称: ")), details.Company,
            ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "报告编号: ")), details.ReportNumber);
    AddPair(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "工件/试样: ")), details.Part,
            ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "批号/炉号: ")), details.Lot);
    AddPair(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "检验人员: ")),
            details.Operator, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "仪器型号/编号: ")),
            details.Instrument);
    AddWrapped(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "检测标准: ")),
               details.Standard);
    AddWrapped(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "备注: ")), details.Remarks);
    if (quality.Active()) {
        QString legend = QCoreApplication::translate(
            "ReportGenerator", "读数标记: * 冲击无效(888)   ↑ 高于上限   ↓ 低于下限");
        if (quality.ExcludeInvalid) {
            legend += QCoreApplication::translate("ReportGenerator", "   统计不含无效读数");
        }
        // Which verdict the lab reads: of the mean alone, or of the mean and each reading in use.
        if (quality.EachReading) {
            legend += QCoreApplication::translate("ReportGenerator", "   逐点判定");
        }
        lines.push_back(legend.toStdString());
    }
    return lines;
}

std::string ReadingCell(const std::string& text, ReadingMark mark) {
    const char* sign = "";
    switch (mark) {
        case ReadingMark::FailedImpact:
            sign = "*";
            break;
        case ReadingMark::AboveUpper:
            sign = "↑";
            break;
        case ReadingMark::BelowLower:
            sign = "↓";
            break;
        case ReadingMark::Valid:
            return text + Blanks(5 - Length(text)) + "   ";
    }
    const std::string marked = text + sign;
    // At least one blank keeps the next reading apart even after a five-character text.
    return marked + Blanks(std::max(1, 8 - Length(marked)));
}

std::string SpreadLine(const RecordEvaluation& evaluation, bool excluding, int impactCount,
                       char decimalSeparator) {
    std::string line = ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "标准差:  ")) +
                       FillTo16(evaluation.DeviationText(decimalSeparator)) +
                       ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "极差:    ")) +
                       evaluation.RangeText(decimalSeparator);
    if (excluding) {
        line = FillTo(line, 50) + ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "有效数: ")) +
               std::to_string(evaluation.Used.Count()) + "/" + std::to_string(impactCount);
    }
    return line;
}

std::string LimitsLine(const ToleranceLimits& limits, Verdict verdict, char decimalSeparator) {
    return ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "下限:    ")) +
           FillTo16(LimitText(limits.Lower, decimalSeparator)) +
           ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "上限:    ")) +
           FillTo16(LimitText(limits.Upper, decimalSeparator)) +
           ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "判定:   ")) +
           CodeTableText(VerdictText(verdict)).toStdString();
}

std::string SignatureLine() {
    return QCoreApplication::translate(
               "ReportGenerator",
               "检验: ________________        审核: ________________        日期: ____________")
        .toStdString();
}

QString PageLabelOf(int page, int totalPages) {
    if (totalPages <= 0) {
        return PageLabel(page);
    }
    return PageLabel(page) +
           QCoreApplication::translate("ReportLabels", " / 共  %1  页").arg(totalPages);
}

}  // namespace leeb
