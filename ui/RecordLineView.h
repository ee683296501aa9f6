#pragma once
// A record line read back for the detail panel and the chart: the fields of the line with its
// decoded settings and statistics.

#include <QPointF>
#include <vector>

#include "RecordFile.h"
#include "RecordView.h"

namespace leeb {

struct RecordLineView {
    RecordView View;
    std::vector<QPointF> Bars;  // (reading number, value), reading number from 1
};

// Throws ConversionError for a line that does not convert.
RecordLineView ReadRecordLineView(std::string_view line, char decimalSeparator);

}  // namespace leeb
