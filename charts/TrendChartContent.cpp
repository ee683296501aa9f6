#include "TrendChartContent.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

#include "TrendHistogram.h"

namespace leeb {

namespace {


QPen CentrePen() {
    return QPen(TrendCentreColour, 1.2);
}

QPen ControlPen() {
    return QPen(TrendControlColour, 1.2, Qt::DashLine);
}

}  // namespace

ControlChartContent IndividualsContent(const TrendSeries& series, const TrendFigures& figures,
                                       const TrendNumberFormat& format) {
    ControlChartContent content;
    content.Decimals = format.ValueDecimals;
    if (!figures.Charted()) {
        return content;
    }
    for (std::size_t i = 0; i < series.Points.size(); ++i) {
        content.Keys.push_back(static_cast<double>(i + 1));
        content.Values.push_back(series.Points[i].Value);
        content.Ids.push_back(series.Points[i].Id);
    }
    std::merge(figures.Rule1.begin(), figures.Rule1.end(), figures.Rule2.begin(),
               figures.Rule2.end(), std::back_inserter(content.Signals));
    content.Signals.erase(std::unique(content.Signals.begin(), content.Signals.end()),
                          content.Signals.end());
    content.Lines = {
        {QStringLiteral("UCL ") + format.Value(figures.Ucl), *figures.Ucl, ControlPen()},
        {QStringLiteral("x̄ ") + format.Value(figures.Mean), *figures.Mean, CentrePen()},
        {QStringLiteral("LCL ") + format.Value(figures.Lcl), *figures.Lcl, ControlPen()},
    };
    return content;
}

ControlChartContent MovingRangeContent(const TrendSeries& series, const TrendFigures& figures,
                                       const TrendNumberFormat& format) {
    ControlChartContent content;
    content.Decimals = format.ValueDecimals;
    content.FromZero = true;
    if (!figures.Charted()) {
        return content;
    }
    // The range between points i and i + 1 is drawn under point i + 1, the later record.
    for (std::size_t i = 0; i < figures.MovingRanges.size(); ++i) {
        content.Keys.push_back(static_cast<double>(i + 2));
        content.Values.push_back(figures.MovingRanges[i]);
        content.Ids.push_back(series.Points[i + 1].Id);
    }
    content.Lines = {
        {QStringLiteral("UCL ") + format.Value(figures.MrUcl), *figures.MrUcl, ControlPen()},
        {QStringLiteral("MR̄ ") + format.Value(figures.MrBar), *figures.MrBar, CentrePen()},
    };
    return content;
}

TrendCharts TrendCharts::Create(QWidget* parent) {
    TrendCharts charts{new ControlChart(QCoreApplication::translate("TrendCharts", "单值图"), parent),
                       new ControlChart(QCoreApplication::translate("TrendCharts", "移动极差图"), parent),
                       new HistogramChart(parent)};
    charts.Individuals->setObjectName(QStringLiteral("IndividualsChart"));
    charts.MovingRanges->setObjectName(QStringLiteral("MovingRangeChart"));
    charts.Histogram->setObjectName(QStringLiteral("HistogramChart"));
    return charts;
}

void TrendCharts::Show(const TrendSeries& series, const TrendFigures& figures,
                       const ToleranceLimits& limits) {
    const TrendNumberFormat format = TrendNumberFormat::For(series.Kind);
    Individuals->Show(IndividualsContent(series, figures, format));
    MovingRanges->Show(MovingRangeContent(series, figures, format));
    Histogram->Show(figures.Charted() ? ComputeTrendHistogram(series.Values(), limits)
                                      : TrendHistogram{});
}

}  // namespace leeb
