#pragma once
// The report generator run against the recording writer, and the look-ups its tests share.

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <iterator>
#include <vector>

#include "RecordFile.h"
#include "RecordingPageWriter.h"
#include "ReportGenerator.h"

namespace leeb::testing {

inline const QString ReportPrintDate = QStringLiteral("2024/3/5");

struct RecordedReport {
    using Kind = RecordedOperation::Kind;

    RecordingPageWriter writer;

    explicit RecordedReport(const RecordLines& lines, char separator = '.',
                            const ReportContent& content = {}) {
        PrintReportBody(writer, lines, separator, ReportPrintDate, content);
    }
    const std::vector<RecordedOperation>& Ops() const { return writer.Operations(); }
    std::vector<RecordedOperation> Of(Kind kind) const {
        std::vector<RecordedOperation> out;
        std::copy_if(Ops().begin(), Ops().end(), std::back_inserter(out),
                     [kind](const RecordedOperation& op) { return op.Type == kind; });
        return out;
    }
    std::vector<QString> Texts() const {
        std::vector<QString> out;
        for (const auto& op : Of(Kind::Text)) {
            out.push_back(op.Text);
        }
        return out;
    }
    // The text op whose text starts with prefix, the n-th such (0-based).
    RecordedOperation Text(const QString& prefix, int n = 0) const {
        for (const auto& op : Of(Kind::Text)) {
            if (op.Text.startsWith(prefix) && n-- == 0) {
                return op;
            }
        }
        ADD_FAILURE() << "no text " << prefix.toStdString();
        return {};
    }
    int Pages() const { return static_cast<int>(Of(Kind::NewPage).size()) + 1; }
    double D10() const { return writer.DescentFor(10); }
    double D12() const { return writer.DescentFor(12); }
};

}  // namespace leeb::testing
