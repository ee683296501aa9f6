#include "ControlChart.h"

#include <algorithm>

namespace leeb {

namespace {

constexpr double PointSize = 5.0;
constexpr double SignalSize = 7.0;
// Beyond this many points the discs merge into a band and only cost drawing time: the line
// alone shows them (signals keep their red discs; clicks still find the nearest point).
constexpr std::size_t MostDiscs = 2000;
// Share of the value span left free above and below, so no point sits on the frame.
constexpr double ValueMargin = 0.08;

QVector<double> ToVector(const std::vector<double>& values) {
    return QVector<double>(values.begin(), values.end());
}

// The moving ranges' axis reaches a little below zero, so that a range of zero is drawn whole
// and can be clicked rather than lying on the frame; no tick names a negative range.
class NonNegativeTicker : public QCPAxisTicker {
  protected:
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override {
        QVector<double> ticks = QCPAxisTicker::createTickVector(tickStep, range);
        ticks.removeIf([tickStep](double tick) { return tick < -1e-9 * tickStep; });
        return ticks;
    }
};

}  // namespace

ControlChart::ControlChart(const QString& title, QWidget* parent)
    : QCustomPlot(parent),
      title_(SetUpTrendPlot(*this, title)),
      points_(addGraph()),
      signals_(addGraph()) {
    points_->setObjectName(QStringLiteral("Points"));
    points_->setPen(QPen(TrendPointColour, 1));
    signals_->setObjectName(QStringLiteral("Signals"));
    signals_->setLineStyle(QCPGraph::lsNone);
    signals_->setPen(QPen(TrendSignalColour));
    signals_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDisc, TrendSignalColour, TrendSignalColour, SignalSize));
    xAxis->grid()->setVisible(false);
    connect(this, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int dataIndex, QMouseEvent*) {
                ReportClick(plottable, dataIndex);
            });
}

void ControlChart::SetPointClickHandler(std::function<void(int64_t)> handler) {
    clickHandler_ = std::move(handler);
}

void ControlChart::ReportClick(QCPAbstractPlottable* plottable, int dataIndex) {
    if (!clickHandler_ || dataIndex < 0) {
        return;
    }
    auto index = static_cast<std::size_t>(dataIndex);
    if (plottable == signals_) {
        if (index >= content_.Signals.size()) {
            return;
        }
        index = content_.Signals[index];
    } else if (plottable != points_) {
        return;
    }
    if (index < content_.Ids.size()) {
        clickHandler_(content_.Ids[index]);
    }
}

void ControlChart::RemoveLines() {
    for (const LabelledLine& line : lines_) {
        removeItem(line.Line);
        removeItem(line.Label);
    }
    lines_.clear();
}

void ControlChart::Clear() {
    Show({});
}

void ControlChart::Show(ControlChartContent content) {
    content_ = std::move(content);
    RemoveLines();
    points_->setData(ToVector(content_.Keys), ToVector(content_.Values), true);
    points_->setScatterStyle(QCPScatterStyle(
        content_.Keys.size() > MostDiscs ? QCPScatterStyle::ssNone : QCPScatterStyle::ssDisc,
        PointSize));
    QVector<double> signalKeys;
    QVector<double> signalValues;
    for (const std::size_t i : content_.Signals) {
        signalKeys << content_.Keys[i];
        signalValues << content_.Values[i];
    }
    signals_->setData(signalKeys, signalValues, true);

    double low = 0.0;
    double high = 1.0;
    if (!content_.Values.empty()) {
        const auto [min, max] = std::minmax_element(content_.Values.begin(), content_.Values.end());
        low = *min;
        high = *max;
    }
    for (const ControlLine& line : content_.Lines) {
        lines_.push_back(AddHorizontalLine(*this, line.Value, line.Pen, line.Label));
        low = std::min(low, line.Value);
        high = std::max(high, line.Value);
    }
    if (content_.FromZero) {
        low = 0.0;
    }
    // A flat chart (all points and lines alike) still gets a span to draw in.
    const double span = high > low ? high - low : std::max(1.0, std::abs(high) * 0.01);
    yAxis->setRange(low - ValueMargin * span, high + ValueMargin * span);
    if (content_.FromZero)
        yAxis->setTicker(QSharedPointer<NonNegativeTicker>::create());
    else
        yAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    yAxis->setNumberPrecision(content_.Decimals);
    const double first = content_.Keys.empty() ? 0.0 : content_.Keys.front();
    const double last = content_.Keys.empty() ? 1.0 : content_.Keys.back();
    xAxis->setRange(first - 0.5, last + 0.5);
    replot(rpQueuedReplot);
}

std::vector<double> ControlChart::PlottedValues() const {
    std::vector<double> values;
    for (const QCPGraphData& point : *points_->data()) {
        values.push_back(point.value);
    }
    return values;
}

std::vector<std::size_t> ControlChart::SignalPoints() const {
    std::vector<std::size_t> indices;
    for (const QCPGraphData& point : *signals_->data()) {
        const auto at = std::lower_bound(content_.Keys.begin(), content_.Keys.end(), point.key);
        indices.push_back(static_cast<std::size_t>(at - content_.Keys.begin()));
    }
    return indices;
}

std::vector<std::pair<QString, double>> ControlChart::LinesShown() const {
    std::vector<std::pair<QString, double>> shown;
    for (const LabelledLine& line : lines_) {
        shown.emplace_back(line.Label->text(), line.Line->point1->coords().y());
    }
    return shown;
}

QPointF ControlChart::PointPixel(std::size_t index) const {
    const auto data = points_->data();
    if (index >= static_cast<std::size_t>(data->size())) {
        return {};
    }
    const QCPGraphData& point = *(data->constBegin() + static_cast<int>(index));
    return {xAxis->coordToPixel(point.key), yAxis->coordToPixel(point.value)};
}

}  // namespace leeb
