#pragma once
// Chart1: the bar chart of the record shown. One bar series (Series1) in RGB(0,128,255), one
// bar per reading at X = 1..N in ascending X, each bar topped by a mark with its value in
// "#,##0.###" joined to the bar by a 20-pixel arrow. Qt Charts draws no such arrows, so the
// marks and arrows are items of the chart's scene, placed again whenever the plot moves.

#include <QChartView>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "RecordEvaluation.h"

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QGraphicsItemGroup;
class QGraphicsLineItem;
class QValueAxis;

namespace leeb {

// The lab's limits as the chart shows them: a dashed line per limit and the readings marked
// other than Valid drawn in another colour. Empty: the plain chart.
struct ChartLimitMarks {
    ToleranceLimits Limits;
    std::vector<ReadingMark> Marks;  // by bar, in X order
};

class BarChart : public QChartView {
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
    QBarSeries* Series1() const { return series_; }
    // The texts of the value marks, in bar order.
    std::vector<QString> MarkTexts() const;
    // Scene geometry of mark i's arrow: from the bar top to the mark (for checks).
    QLineF ArrowLine(int i) const;

    // Places the marks and arrows for the current plot area now (also done on every change).
    void UpdateMarks();

    // Until the next Clear() or SetPoints().
    void SetLimitMarks(ChartLimitMarks marks);
    const ChartLimitMarks& LimitMarks() const { return limitMarks_; }
    // Scene y of the limit lines drawn, lower first (for checks).
    std::vector<double> LimitLineYs() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void RebuildSeries();
    void ScheduleMarkUpdate();

    QBarSeries* series_;
    QBarSet* set_;
    QBarCategoryAxis* axisX_;
    QValueAxis* axisY_;
    std::vector<QPointF> points_;
    std::vector<QGraphicsItemGroup*> marks_;
    std::vector<QLineF> arrows_;
    bool updatePending_ = false;
    ChartLimitMarks limitMarks_;
    std::vector<QGraphicsLineItem*> limitLines_;
};

}  // namespace leeb
