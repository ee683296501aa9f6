#pragma once
// The lines the extended report adds to the plain one: the details block of page 1, the marks
// on readings, the spread and limits lines of each record, the signature lines, and the page
// label that also names the page count. Columns follow the plain report's grid (GBK bytes):
// labels at 0, 25 and 50, values at 9, 34 and 58.

#include <QString>
#include <string>
#include <vector>

#include "RecordEvaluation.h"
#include "ReportContent.h"

namespace leeb {

// Filled fields two to a line (a value too long for its half on lines of its own), the
// standard and the remarks on lines of their own, every value wrapped whole, and a legend of
// the reading marks when `quality` is active. Empty fields are left out; no details at all
// gives no lines.
std::vector<std::string> DetailsBlockLines(const ReportDetails& details,
                                           const QualitySettings& quality);

// A reading's 8 character cells: the text, its mark ("*" a failed impact, "↑" above the upper
// limit, "↓" below the lower), blanks. Unmarked it is the plain report's cell.
std::string ReadingCell(const std::string& text, ReadingMark mark);

// "标准差:" sd, "极差:" range and, when invalid readings are excluded, "有效数: used/count".
std::string SpreadLine(const RecordEvaluation& evaluation, bool excluding, int impactCount,
                       char decimalSeparator);

// "下限:" lower, "上限:" upper, "判定:" the verdict of the mean.
std::string LimitsLine(const ToleranceLimits& limits, Verdict verdict, char decimalSeparator);

std::string SignatureLine();

// The page label of the plain report followed by " / 共  M  页"; totalPages 0 leaves it plain.
QString PageLabelOf(int page, int totalPages);

}  // namespace leeb
