#pragma once
// What the three trend charts share: colours, fonts in pixels (so a printer scales them with
// the chart, as the bar chart's do) and the horizontal lines they draw.

#include <QColor>
#include <QFont>
#include <QString>
#include <qcustomplot.h>

namespace leeb {

inline const QColor TrendPointColour(0, 128, 255);  // the bar chart's series colour
inline const QColor TrendSignalColour(220, 0, 0);
inline const QColor TrendCentreColour(0, 140, 0);
inline const QColor TrendControlColour(200, 0, 0);
inline const QColor TrendToleranceColour(120, 0, 160);

QFont TrendChartFont(const QFont& base, int pixelSize, bool bold = false);

// A white plot with a bold title row, no legend and pixel-sized fonts.
QCPTextElement* SetUpTrendPlot(QCustomPlot& plot, const QString& title);

// A horizontal line at `value` across the axis rect, with `label` at its right end.
struct LabelledLine {
    QCPItemStraightLine* Line = nullptr;
    QCPItemText* Label = nullptr;
};
LabelledLine AddHorizontalLine(QCustomPlot& plot, double value, const QPen& pen,
                               const QString& label);

}  // namespace leeb
