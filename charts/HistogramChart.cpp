#include "HistogramChart.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>

#include "TrendChartStyle.h"

namespace leeb {

namespace {
constexpr int LabelPixels = 10;
constexpr double RangeMargin = 0.05;
}  // namespace

HistogramChart::HistogramChart(QWidget* parent)
    : QCustomPlot(parent),
      title_(SetUpTrendPlot(*this, QCoreApplication::translate("TrendCharts", "直方图"))),
      bars_(new QCPBars(xAxis, yAxis)) {
    bars_->setObjectName(QStringLiteral("Bins"));
    bars_->setWidthType(QCPBars::wtPlotCoords);
    bars_->setBrush(TrendPointColour.lighter(150));
    bars_->setPen(QPen(TrendPointColour.darker(130)));
    xAxis->grid()->setVisible(false);
    yAxis->setNumberFormat(QStringLiteral("f"));
    yAxis->setNumberPrecision(0);
    // Counts are whole: no tick between 0 and 1.
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1.0);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    yAxis->setTicker(ticker);
    // The lines' labels stand above the plot, not at its right.
    axisRect()->setAutoMargins(QCP::msAll);
}

void HistogramChart::Show(const TrendHistogram& histogram) {
    for (QCPItemStraightLine* line : limitLines_) {
        removeItem(line);
    }
    for (QCPItemText* label : limitLabels_) {
        removeItem(label);
    }
    limitLines_.clear();
    limitLabels_.clear();

    QVector<double> keys;
    QVector<double> counts;
    double highest = 1.0;
    for (std::size_t bin = 0; bin < histogram.Counts.size(); ++bin) {
        keys << histogram.Edge(bin) + histogram.Width / 2;
        counts << static_cast<double>(histogram.Counts[bin]);
        highest = std::max(highest, counts.back());
    }
    bars_->setWidth(histogram.Width);
    bars_->setData(keys, counts, true);

    double low = histogram.Counts.empty() ? 0.0 : histogram.Start;
    double high = histogram.Counts.empty() ? 1.0 : histogram.Edge(histogram.Counts.size());
    const std::pair<std::optional<double>, QString> limits[] = {
        {histogram.Limits.Lower, QStringLiteral("LSL")},
        {histogram.Limits.Upper, QStringLiteral("USL")}};
    for (const auto& [limit, name] : limits) {
        if (!limit) {
            continue;
        }
        auto* line = new QCPItemStraightLine(this);
        line->setPen(QPen(TrendToleranceColour, 1.5, Qt::DashLine));
        line->point1->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->point1->setCoords(*limit, 0.0);
        line->point2->setTypeY(QCPItemPosition::ptAxisRectRatio);
        line->point2->setCoords(*limit, 1.0);
        limitLines_.push_back(line);
        auto* label = new QCPItemText(this);
        label->setText(name);
        label->setColor(TrendToleranceColour);
        label->setFont(TrendChartFont(font(), LabelPixels));
        // Each label on the inner side of its line, so neither runs off the plot.
        const bool lower = name == QStringLiteral("LSL");
        label->setPositionAlignment((lower ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop);
        label->setPadding(lower ? QMargins(3, 0, 0, 0) : QMargins(0, 0, 3, 0));
        label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        label->position->setCoords(*limit, 0.0);
        limitLabels_.push_back(label);
        low = std::min(low, *limit);
        high = std::max(high, *limit);
    }
    const double span = high > low ? high - low : 1.0;
    xAxis->setRange(low - RangeMargin * span, high + RangeMargin * span);
    yAxis->setRange(0.0, highest * 1.15);
    replot(rpQueuedReplot);
}

std::vector<double> HistogramChart::BarCounts() const {
    std::vector<double> counts;
    for (const QCPBarsData& bar : *bars_->data()) {
        counts.push_back(bar.value);
    }
    return counts;
}

std::vector<double> HistogramChart::BarEdges() const {
    std::vector<double> edges;
    for (const QCPBarsData& bar : *bars_->data()) {
        edges.push_back(bar.key - bars_->width() / 2);
    }
    if (!bars_->data()->isEmpty()) {
        edges.push_back((bars_->data()->constEnd() - 1)->key + bars_->width() / 2);
    }
    return edges;
}

std::vector<double> HistogramChart::LimitLineXs() const {
    std::vector<double> xs;
    for (const QCPItemStraightLine* line : limitLines_) {
        xs.push_back(line->point1->coords().x());
    }
    return xs;
}

}  // namespace leeb
