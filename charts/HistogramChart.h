#pragma once
// The histogram of a trend's points: one bar per bin, the tolerance limits as labelled
// vertical lines; the value axis spans the bins and the limits.

#include <qcustomplot.h>

#include <vector>

#include "TrendHistogram.h"

namespace leeb {

class HistogramChart : public QCustomPlot {
  public:
    explicit HistogramChart(QWidget* parent = nullptr);

    void Show(const TrendHistogram& histogram);

    // Read back from the plot (for checks): the bars' counts in order, their edges, and the x
    // of each limit line drawn, lower first.
    std::vector<double> BarCounts() const;
    std::vector<double> BarEdges() const;
    std::vector<double> LimitLineXs() const;
    QCPTextElement* Title() const { return title_; }

  private:
    QCPTextElement* title_;
    QCPBars* bars_;
    std::vector<QCPItemStraightLine*> limitLines_;
    std::vector<QCPItemText*> limitLabels_;
};

}  // namespace leeb
