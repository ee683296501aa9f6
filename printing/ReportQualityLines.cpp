#include "ReportQualityLines.h"

#include <algorithm>

#include <QCoreApplication>

#include "CodeTableText.h"
#include "GbkText.h"
#include "ReportLabels.h"
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

void AddPair(std::vector<std::string>& lines, const std::string& leftLabel, const std::string& left,
             const std::string& rightLabel, const std::string& right) {
    if (left.empty() && right.empty()) {
        return;
    }
    std::string line = left.empty() ? std::string() : leftLabel + left;
    if (!right.empty()) {
        line = FillTo(line, SecondColumn - 1) + " " + rightLabel + right;
    }
    lines.push_back(line);
}

// Drops the last UTF-8 character: its continuation bytes, then its first byte.
void PopCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

// At most maxLines lines; a longer text ends in "……" so the block never pushes the first
// record off page 1.
void AddWrapped(std::vector<std::string>& lines, const std::string& label, const std::string& text,
                std::size_t maxLines) {
    if (text.empty()) {
        return;
    }
    const int indent = Length(label);
    std::vector<std::string> pieces = WrapGbk(text, LineWidth - indent);
    if (pieces.size() > maxLines) {
        pieces.resize(maxLines);
        const std::string ellipsis = "……";
        std::string& last = pieces.back();
        while (!last.empty() && Length(last + ellipsis) > LineWidth - indent) {
            PopCharacter(last);
        }
        last += ellipsis;
    }
    bool first = true;
    for (const std::string& piece : pieces) {
        lines.push_back((first ? label : Blanks(indent)) + piece);
        first = false;
    }
}

}  // namespace

std::vector<std::string> WrapGbk(const std::string& text, int width) {
    std::vector<std::string> pieces;
    std::string piece;
    const QString all = QString::fromStdString(text);
    for (qsizetype i = 0; i < all.size(); ++i) {
        qsizetype length = all.at(i).isHighSurrogate() && i + 1 < all.size() ? 2 : 1;
        const std::string character = all.mid(i, length).toStdString();
        i += length - 1;
        if (character == "\n" || character == "\r") {
            pieces.push_back(piece);
            piece.clear();
            continue;
        }
        if (!piece.empty() && Length(piece + character) > width) {
            pieces.push_back(piece);
            piece.clear();
        }
        piece += character;
    }
    if (!piece.empty() || pieces.empty()) {
        pieces.push_back(piece);
    }
    return pieces;
}

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
               details.Standard, 1);
    AddWrapped(lines, ReportLabel(QT_TRANSLATE_NOOP("ReportGenerator", "备注: ")), details.Remarks,
               3);
    if (quality.Active()) {
        QString legend = QCoreApplication::translate(
            "ReportGenerator", "读数标记: * 冲击无效(888)   ↑ 高于上限   ↓ 低于下限");
        if (quality.ExcludeInvalid) {
            legend += QCoreApplication::translate("ReportGenerator", "   统计不含无效读数");
        }
        // Which verdict the lab reads: of the mean, or of every valid reading.
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
