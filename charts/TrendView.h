#pragma once
// The trend of a set of records on screen: the individuals chart over the moving-range chart,
// the histogram beside them with the figures table, the signals and the notes below it. Records
// that cannot make a trend (different kinds, fewer than two points) show why instead.

#include <QLabel>
#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "TrendChartContent.h"
#include "TrendPoints.h"
#include "TrendStatistics.h"

namespace leeb {

class TrendView : public QWidget {
  public:
    explicit TrendView(QWidget* parent = nullptr);

    // The trend of `records` with the lab's exclusion setting and its limits for their scale.
    void ShowRecords(std::vector<TrendRecord> records, const QualitySettings& quality);
    void Show(const TrendSeries& series, const TrendFigures& figures,
              const ToleranceLimits& limits);
    // Called with a record's archive id when one of its points is clicked, on either chart.
    void SetPointClickHandler(std::function<void(int64_t id)> handler);

    const TrendCharts& Charts() const { return charts_; }
    QTableWidget* FiguresTable() const { return figures_; }
    // What the charts show (the trend to print); an empty series when they show nothing.
    const TrendSeries& ShownSeries() const { return shownSeries_; }
    const TrendFigures& ShownFigures() const { return shownFigures_; }
    const ToleranceLimits& ShownLimits() const { return shownLimits_; }
    bool Charted() const { return shownFigures_.Charted(); }
    // Why there is no chart; empty when there is one.
    QString Message() const { return message_->text(); }
    QString Notes() const { return notes_->text(); }
    QString Signals() const { return signals_->text(); }

  private:
    void ShowMessage(const QString& message);

    TrendSeries shownSeries_;
    TrendFigures shownFigures_;
    ToleranceLimits shownLimits_;
    TrendCharts charts_;
    QTableWidget* figures_;
    QLabel* message_;
    QLabel* notes_;
    QLabel* signals_;
};

}  // namespace leeb
