#pragma once
// The bar chart of the record shown. One bar series (the reading bars) in RGB(0,128,255), one
// bar per reading in ascending X, each bar topped by a mark with its value in "#,##0.###"
// joined to the bar by a 20-pixel arrow whose head sits on the bar.
//
// A full record of 32 readings must stay readable in the window's 647x311 pixels, so the
// chart lays itself out again whenever its size or its points change (see updateLayout):
// - each mark stays inside its bar's column, so it can meet neither another mark nor another
//   bar's arrow: upright when the widest mark fits the column, otherwise turned to read
//   upwards, in a smaller face if even that is too wide;
// - the value axis starts at a round value below the lowest reading, so the spread shows, and
//   ends where the highest mark still fits above its bar.
// Everything is drawn by the plot's own painter, so a printer gets the same chart as vectors.

#include <qcustomplot.h>

#include <QPointF>
#include <QString>
#include <vector>

#include "RecordEvaluation.h"

namespace leeb {

// The lab's limits as the chart shows them: a dashed line per limit and the readings marked
// other than Valid drawn in another colour. Empty: the plain chart.
struct ChartLimitMarks {
    ToleranceLimits Limits;
    std::vector<ReadingMark> Marks;  // by bar, in X order
};

class BarChart : public QCustomPlot {
  public:
    static constexpr int ArrowLength = 20;

    explicit BarChart(QWidget* parent = nullptr);
    ~BarChart() override;

    void Clear();
    // Keeps the points ordered by ascending X; a point with the X of an existing one goes
    // after it.
    void AddPoint(double x, double y);
    // Clear() and AddPoint() for each point, in one update.
    void SetPoints(std::vector<QPointF> points);

    const std::vector<QPointF>& Points() const { return points_; }
    QCPBars* ReadingBars() const { return readingBars_; }
    QCPTextElement* Title() const { return title_; }

    // What the chart shows, read back from its plot (for checks): the mark texts in bar order,
    // the x-axis labels in axis order, the outline of mark i and the line of its arrow from
    // the bar top to the mark, in widget pixels.
    std::vector<QString> MarkTexts() const;
    std::vector<QString> XLabels() const;
    QRectF MarkRect(int i) const;
    QLineF ArrowLine(int i) const;

    // Lays out and draws the chart for the current size now (otherwise done on the next
    // event-loop pass after a change).
    void UpdateMarks();

    // Until the next Clear() or SetPoints().
    void SetLimitMarks(ChartLimitMarks marks);
    const ChartLimitMarks& LimitMarks() const { return limitMarks_; }
    // Pixel y of the limit lines drawn, lower limit first (for checks).
    std::vector<double> LimitLineYs() const;

  protected:
    void updateLayout() override;

  private:
    struct Mark {
        QCPItemLine* Arrow;
        QCPItemText* Text;
    };

    void RebuildSeries(bool queueReplot = true);
    // Fits marks and value range to the current plot rectangle; true when the value range
    // changed, which may change the axis' label width and so the plot rectangle.
    bool ArrangeMarks();
    QFont ChartFont(int pixelSize, bool bold = false) const;

    QCPBars* readingBars_;
    QCPTextElement* title_;
    QSharedPointer<QCPAxisTickerText> xTicker_;
    QSharedPointer<QCPAxisTickerFixed> yTicker_;
    std::vector<QPointF> points_;
    std::vector<Mark> marks_;
    ChartLimitMarks limitMarks_;
    QCPBars* marked_;  // the readings outside the limits or failed, over their reading bars
    std::vector<QCPItemStraightLine*> limitLines_;
};

}  // namespace leeb
