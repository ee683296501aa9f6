#pragma once
// A control chart: points joined in their order, the points that signal drawn red over them,
// and labelled horizontal lines (centre and control limits). A click on a point reports the
// record it stands for. The individuals and the moving-range chart are both of this kind.

#include <qcustomplot.h>

#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "TrendChartStyle.h"

namespace leeb {

struct ControlLine {
    QString Label;
    double Value = 0.0;
    QPen Pen;
};

struct ControlChartContent {
    std::vector<double> Keys;     // ascending
    std::vector<double> Values;   // one per key
    std::vector<int64_t> Ids;     // the record of each point
    std::vector<std::size_t> Signals;  // indices into Values, ascending
    std::vector<ControlLine> Lines;
    int Decimals = 1;         // of the value axis' labels
    bool FromZero = false;    // the value axis starts at 0 (ranges are never negative)
};

class ControlChart : public QCustomPlot {
  public:
    explicit ControlChart(const QString& title, QWidget* parent = nullptr);

    void Show(ControlChartContent content);
    void Clear();
    // Called with the record's id when the user clicks one of its points.
    void SetPointClickHandler(std::function<void(int64_t id)> handler);

    // What the plot shows, read back from it (for checks): the values of the joined points,
    // the indices of the red ones, each line's label and value, a point's pixel position.
    std::vector<double> PlottedValues() const;
    std::vector<std::size_t> SignalPoints() const;
    std::vector<std::pair<QString, double>> LinesShown() const;
    QPointF PointPixel(std::size_t index) const;
    QCPTextElement* Title() const { return title_; }

  private:
    void RemoveLines();
    void ReportClick(QCPAbstractPlottable* plottable, int dataIndex);

    QCPTextElement* title_;
    QCPGraph* points_;
    QCPGraph* signals_;
    std::vector<LabelledLine> lines_;
    ControlChartContent content_;
    std::function<void(int64_t)> clickHandler_;
};

}  // namespace leeb
